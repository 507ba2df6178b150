#pragma once
// A toolkit without windows: controls keep their state in memory, modal forms,
// message boxes and the open dialog are answered from a script, and the pump
// runs queued events, so commands (nested ones too) can be driven as a user would.
#include <deque>
#include <functional>
#include <map>
#include <optional>

#include "platform/Toolkit.h"

namespace headless {

using namespace platform;

// A control of the given interface that keeps its creation record.
template <class Interface> class WithSpec : public Interface {
public:
    explicit WithSpec(ControlSpec layout) : spec_(std::move(layout)) {}
    const ControlSpec& layout() const override { return spec_; }

private:
    ControlSpec spec_;
};

using HeadlessControl = WithSpec<Control>;

class HeadlessForm;

class HeadlessButton : public WithSpec<Button> {
public:
    HeadlessButton(ControlSpec layout, HeadlessForm& form) : WithSpec(std::move(layout)), form_(form) {}
    // The user clicks: onClick runs, then an OK or Cancel button ends its modal form.
    void click();

private:
    HeadlessForm& form_;
};

class HeadlessCheckBox : public WithSpec<CheckBox> {
public:
    using WithSpec::WithSpec;
    bool checked() const override { return checked_; }
    void setChecked(bool checked) override { checked_ = checked; }

private:
    bool checked_ = false;
};

class HeadlessEdit : public WithSpec<Edit> {
public:
    using WithSpec::WithSpec;
    std::string text() const override { return text_; }
    // The user types: each prefix of the text appears in turn, as keystrokes would make it.
    void type(const std::string& text);
    int changeCount = 0;

private:
    void replaceText(const std::string& text) override;

    std::string text_;
};

class HeadlessListBox : public WithSpec<ListBox> {
public:
    using WithSpec::WithSpec;
    void setLines(const std::vector<std::string_view>& lines) override;
    int count() const override { return static_cast<int>(lines_.size()); }
    std::string line(int index) const override;
    void addLine(const std::string& line) override { lines_.push_back(line); }
    int selectedIndex() const override { return selected_; }
    void select(int index) override { selected_ = index; }
    void redraw() override { ++redraws; }
    const std::vector<std::string>& lines() const { return lines_; }
    // How the line is drawn now.
    LineTint tint(int index) const { return tintOf ? tintOf(index) : LineTint::Plain; }
    int redraws = 0;
    // The user double-clicks a line (the first click selects it), or presses Enter.
    void doubleClick(int index);
    void pressEnter() {
        if (selected_ >= 0) openLine(selected_);
    }

private:
    std::vector<std::string> lines_;
    int selected_ = -1;
};

class HeadlessPageControl : public WithSpec<PageControl> {
public:
    using WithSpec::WithSpec;
    int activePage() const override { return page_; }
    void setActivePage(int index) override { page_ = index; }

private:
    int page_ = 0;
};

class HeadlessLinkLabel : public WithSpec<LinkLabel> {
public:
    using WithSpec::WithSpec;
    std::string caption() const override { return layout().caption; }
    uint32_t textColor() const override { return colour_; }
    void setTextColor(uint32_t colour) override { colour_ = colour; }
    void repaint() override { ++repaints; }
    void setCursor(int cursorIndex) override { cursor = cursorIndex; }
    Point cursorPos() const override { return mouse; }
    Point screenToClient(Point screen) const override { return {screen.x - origin.x, screen.y - origin.y}; }
    int clientWidth() const override { return layout().bounds.width; }
    int clientHeight() const override { return layout().bounds.height; }

    // The user moves the mouse to a point of the label (client coordinates) or away from it.
    void mouseTo(int x, int y);
    void mouseAway();
    void press(MouseButton button = MouseButton::Left);
    void release(MouseButton button = MouseButton::Left);

    int repaints = 0;
    int cursor = 0;
    Point origin{500, 300}; // where the label's client area stands on the screen
    Point mouse{0, 0};

private:
    uint32_t colour_ = 0; // black
    bool inside_ = false;
};

class HeadlessMenuItem : public MenuItem {
public:
    explicit HeadlessMenuItem(MenuItemSpec layout) : spec_(std::move(layout)) {}
    const MenuItemSpec& layout() const override { return spec_; }
    void click() { fireEvent(onClick); }

private:
    MenuItemSpec spec_;
};

class HeadlessToolkit;

class HeadlessForm : public Form {
public:
    HeadlessForm(HeadlessToolkit& toolkit, FormSpec layout, const std::vector<MenuItemSpec>& menu);
    const FormSpec& layout() const override { return spec_; }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& caption) override { caption_ = caption; }
    int left() const override { return left_; }
    int top() const override { return top_; }
    void setPosition(int left, int top) override;
    // The layout's size, as at 96 dots per inch, under a title bar of a common height.
    int width() const override { return spec_.bounds.width; }
    int height() const override { return spec_.bounds.height; }
    int titleBarHeight() const override { return 26; }
    MenuItem& menuItem(const std::string& name) override;
    void addKeyCommand(const std::string& keys, EventHandler onPress) override;
    ModalResult showModal() override;
    void show() override;
    // The user presses a key ("F4", "Shift+F4") in the form; false when it runs no command.
    bool pressKey(const std::string& keys);

    // A control by the name in its row, for tests that check a layout.
    Control& control(const std::string& name);
    // The user moves the window.
    void moveTo(int left, int top) { setPosition(left, top); }
    bool visible() const { return visible_; }
    bool modalShowing() const override { return modalShowing_; }
    // Closes the modal showing with this result, as its buttons do.
    void endModal(ModalResult result) override {
        if (modalShowing_ && result != ModalResult::None) modalResult_ = result;
    }
    const std::vector<std::string>& controlOrder() const { return order_; }
    HeadlessButton& button(const std::string& name) { return dynamic_cast<HeadlessButton&>(control(name)); }
    HeadlessEdit& edit(const std::string& name) { return dynamic_cast<HeadlessEdit&>(control(name)); }
    HeadlessCheckBox& checkBox(const std::string& name) { return dynamic_cast<HeadlessCheckBox&>(control(name)); }
    HeadlessMenuItem& item(const std::string& name) { return dynamic_cast<HeadlessMenuItem&>(menuItem(name)); }
    const std::vector<MenuItemSpec>& menu() const { return menu_; }
    int showModalCount = 0;

protected:
    Control& addControl(ControlSpec control) override;

private:
    HeadlessToolkit& toolkit_;
    FormSpec spec_;
    std::string caption_;
    int left_ = 0, top_ = 0;
    bool visible_ = false;
    bool modalShowing_ = false;
    ModalResult modalResult_ = ModalResult::None;
    std::map<std::string, std::unique_ptr<Control>> controls_;
    std::vector<std::string> order_;
    std::vector<MenuItemSpec> menu_;
    std::map<std::string, std::unique_ptr<HeadlessMenuItem>> menuItems_;
    std::map<std::string, EventHandler> keyCommands_;
};

class HeadlessTimer : public Timer {
public:
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    // One period has passed: the tick runs when the timer is on.
    void elapse() {
        if (enabled_) fireEvent(onTimer);
    }

private:
    bool enabled_ = enabledWhenNew;
    int interval_ = newInterval;
};

class HeadlessOpenDialog : public OpenDialog {
public:
    HeadlessOpenDialog(HeadlessToolkit& toolkit, OpenDialogSpec layout) : toolkit_(toolkit), spec_(std::move(layout)) {}
    const OpenDialogSpec& layout() const override { return spec_; }
    bool execute() override;
    std::string fileName() const override { return fileName_; }
    void setFileName(const std::string& path) override { fileName_ = path; }

private:
    HeadlessToolkit& toolkit_;
    OpenDialogSpec spec_;
    std::string fileName_;
};

enum class MessageKind { Plain, Typed, ErrorBox };

struct ShownMessage {
    MessageKind kind;
    std::string caption; // the title of a plain message or error box; empty for a typed dialog
    std::string text;
    MessageType type = MessageType::Information;
    unsigned buttons = mbOK;
};

class HeadlessToolkit : public Toolkit {
public:
    std::unique_ptr<Form> createForm(const FormSpec& form, const std::vector<MenuItemSpec>& menu) override;
    std::unique_ptr<Timer> createTimer(Form& owner) override;
    std::unique_ptr<OpenDialog> createOpenDialog(const OpenDialogSpec& layout) override;
    void registerCursor(int index, const std::string& resourceName) override {
        cursors[index] = resourceName;
        ++cursorRegistrations;
    }
    void showMessage(const std::string& title, const std::string& text) override;
    ModalResult messageDialog(const std::string& text, MessageType type, unsigned buttons) override;
    void showErrorBox(const std::string& title, const std::string& text) override;
    void beep() override { ++beeps; }
    int beeps = 0;
    void processMessages() override;
    void run() override;
    void terminate() override { terminated = true; }

    HeadlessForm& form(const std::string& name) { return *forms.at(name); }
    HeadlessTimer& timer() { return *timers.at(0); }

    // The script. A modal form runs its handler (which acts as the user and
    // returns how the form is closed; with none it is cancelled). Message
    // dialogs take the next answer (the default button when none is queued);
    // open dialogs take the next path (nullopt: cancelled; cancelled when none is queued).
    std::map<std::string, std::function<ModalResult(HeadlessForm&)>> onModal;
    std::deque<ModalResult> messageAnswers;
    std::deque<std::optional<std::string>> openDialogAnswers;
    std::function<void(const ShownMessage&)> onMessage; // runs while a message is shown
    std::deque<std::function<void()>> postedEvents;     // run by the pump

    std::vector<ShownMessage> messages;
    std::vector<std::string> openDialogStarts; // the file name each open dialog started with
    std::map<std::string, HeadlessForm*> forms;
    std::vector<HeadlessTimer*> timers;
    std::map<int, std::string> cursors;
    int cursorRegistrations = 0;
    bool terminated = false;

private:
    void record(const ShownMessage& message);
};

} // namespace headless
