#include "support/HeadlessToolkit.h"

#include <stdexcept>

namespace headless {

void HeadlessButton::click() { form_.endModal(clickButton(*this)); }

void HeadlessEdit::replaceText(const std::string& text) {
    text_ = text;
    ++changeCount;
}

void HeadlessEdit::type(const std::string& text) {
    for (size_t length = 1; length <= text.size(); ++length)
        setText(text.substr(0, length));
}

void HeadlessListBox::setLines(const std::vector<std::string_view>& lines) {
    lines_.assign(lines.begin(), lines.end());
    selected_ = -1;
}

std::string HeadlessListBox::line(int index) const { return lines_.at(static_cast<size_t>(index)); }

void HeadlessListBox::doubleClick(int index) {
    if (index < 0 || index >= count()) return;
    selected_ = index;
    openLine(index);
}

void HeadlessLinkLabel::mouseTo(int x, int y) {
    mouse = {origin.x + x, origin.y + y};
    const bool inside = x >= 0 && y >= 0 && x < clientWidth() && y < clientHeight();
    if (inside && !inside_) fireEvent(onMouseEnter);
    if (!inside && inside_) fireEvent(onMouseLeave);
    inside_ = inside;
}

void HeadlessLinkLabel::mouseAway() { mouseTo(-100, -100); }

void HeadlessLinkLabel::press(MouseButton button) {
    const Point at = screenToClient(mouse);
    fireEvent([&] {
        if (onMouseDown) onMouseDown(button, at.x, at.y);
    });
}

void HeadlessLinkLabel::release(MouseButton button) {
    const Point at = screenToClient(mouse);
    fireEvent([&] {
        if (onMouseUp) onMouseUp(button, at.x, at.y);
    });
}

namespace {
std::unique_ptr<Control> makeControl(const ControlSpec& layout, HeadlessForm& form) {
    switch (layout.kind) {
    case ControlKind::Button:
    case ControlKind::OkButton:
    case ControlKind::CancelButton:
    case ControlKind::PushOkButton:
    case ControlKind::BrowseButton:
        return std::make_unique<HeadlessButton>(layout, form);
    case ControlKind::CheckBox:
        return std::make_unique<HeadlessCheckBox>(layout);
    case ControlKind::Edit:
        return std::make_unique<HeadlessEdit>(layout);
    case ControlKind::ListBox:
        return std::make_unique<HeadlessListBox>(layout);
    case ControlKind::PageControl:
        return std::make_unique<HeadlessPageControl>(layout);
    case ControlKind::LinkLabel:
        return std::make_unique<HeadlessLinkLabel>(layout);
    default:
        return std::make_unique<HeadlessControl>(layout);
    }
}
} // namespace

HeadlessForm::HeadlessForm(HeadlessToolkit& toolkit, FormSpec layout, const std::vector<MenuItemSpec>& menu)
    : toolkit_(toolkit), spec_(std::move(layout)), caption_(spec_.caption), menu_(menu) {
    for (const MenuItemSpec& item : menu)
        menuItems_.emplace(item.name, std::make_unique<HeadlessMenuItem>(item));
}

Control& HeadlessForm::addControl(ControlSpec layout) {
    if (!layout.parent.empty() && !controls_.count(layout.parent))
        throw std::logic_error("parent after child: " + layout.name);
    const std::string name = layout.name;
    auto [added, isNew] = controls_.emplace(name, makeControl(layout, *this));
    if (!isNew) throw std::logic_error("duplicate control: " + name);
    order_.push_back(name);
    return *added->second;
}

void HeadlessForm::setPosition(int left, int top) {
    left_ = left;
    top_ = top;
}

Control& HeadlessForm::control(const std::string& name) {
    auto found = controls_.find(name);
    if (found == controls_.end()) throw std::logic_error("no control " + name);
    return *found->second;
}

MenuItem& HeadlessForm::menuItem(const std::string& name) {
    auto found = menuItems_.find(name);
    if (found == menuItems_.end()) throw std::logic_error("no menu item " + name);
    return *found->second;
}

void HeadlessForm::addKeyCommand(const std::string& keys, EventHandler onPress) {
    keyCommands_[keys] = std::move(onPress);
}

bool HeadlessForm::pressKey(const std::string& keys) {
    const auto found = keyCommands_.find(keys);
    if (found == keyCommands_.end()) return false;
    fireEvent(found->second);
    return true;
}

ModalResult HeadlessForm::showModal() {
    ++showModalCount;
    modalShowing_ = true;
    modalResult_ = ModalResult::None;
    auto handler = toolkit_.onModal.find(spec_.name);
    ModalResult result = ModalResult::Cancel;
    if (handler != toolkit_.onModal.end() && handler->second) {
        result = handler->second(*this);
        if (modalResult_ != ModalResult::None) result = modalResult_;
    }
    modalShowing_ = false;
    return result;
}

void HeadlessForm::show() {
    fireEvent(onShow);
    visible_ = true;
}

bool HeadlessOpenDialog::execute() {
    toolkit_.openDialogStarts.push_back(fileName_);
    if (toolkit_.openDialogAnswers.empty()) return false;
    const std::optional<std::string> answer = toolkit_.openDialogAnswers.front();
    toolkit_.openDialogAnswers.pop_front();
    if (!answer) return false;
    fileName_ = *answer;
    return true;
}

std::unique_ptr<Form> HeadlessToolkit::createForm(const FormSpec& form, const std::vector<MenuItemSpec>& menu) {
    auto created = std::make_unique<HeadlessForm>(*this, form, menu);
    forms[form.name] = created.get();
    return created;
}

std::unique_ptr<Timer> HeadlessToolkit::createTimer(Form&) {
    auto created = std::make_unique<HeadlessTimer>();
    timers.push_back(created.get());
    return created;
}

std::unique_ptr<OpenDialog> HeadlessToolkit::createOpenDialog(const OpenDialogSpec& layout) {
    return std::make_unique<HeadlessOpenDialog>(*this, layout);
}

void HeadlessToolkit::record(const ShownMessage& message) {
    messages.push_back(message);
    if (onMessage) onMessage(message);
}

void HeadlessToolkit::showMessage(const std::string& title, const std::string& text) {
    record({MessageKind::Plain, title, text});
}

ModalResult HeadlessToolkit::messageDialog(const std::string& text, MessageType type, unsigned buttons) {
    record({MessageKind::Typed, "", text, type, buttons});
    if (!messageAnswers.empty()) {
        const ModalResult answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return defaultAnswer(buttons);
}

void HeadlessToolkit::showErrorBox(const std::string& title, const std::string& text) {
    record({MessageKind::ErrorBox, title, text, MessageType::Error});
}

void HeadlessToolkit::processMessages() {
    while (!postedEvents.empty()) {
        auto event = std::move(postedEvents.front());
        postedEvents.pop_front();
        fireEvent(event);
    }
}

void HeadlessToolkit::run() {
    while (!terminated && !postedEvents.empty())
        processMessages();
}

} // namespace headless
