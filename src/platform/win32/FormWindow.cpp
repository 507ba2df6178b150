#include "platform/win32/FormWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cassert>

#include "platform/win32/Controls.h"
#include "platform/win32/Win32Toolkit.h"
#include "platform/win32/WindowProcedure.h"
#include "platform/win32/WindowTimer.h"

namespace platform::win32 {

namespace {
// Ids of controls and of menu commands never meet each other, nor IDOK and
// IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr int firstControlId = 100;
constexpr int firstMenuId = 1000;

DWORD styleOf(const FormSpec& form) {
    if (form.border == FormBorder::Dialog) return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
}

DWORD extendedStyleOf(const FormSpec& form) {
    return WS_EX_CONTROLPARENT | (form.border == FormBorder::Dialog ? WS_EX_DLGMODALFRAME : 0);
}

// The outer size: given as it is, or made from the client size it must hold.
// Shown once its form is: the window and every container up to the form are visible.
bool shownWithin(HWND form, HWND control) {
    for (HWND window = control; window && window != form; window = GetParent(window))
        if (!(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) return false;
    return true;
}

SIZE outerSize(const FormSpec& form, bool hasMenu, const Ui& ui) {
    RECT bounds{0, 0, ui.scale(form.bounds.width), ui.scale(form.bounds.height)};
    if (form.sizeIsClient) AdjustWindowRectEx(&bounds, styleOf(form), hasMenu, extendedStyleOf(form));
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}
} // namespace

FormWindow::FormWindow(Win32Toolkit& toolkit, const FormSpec& form, const std::vector<MenuItemSpec>& menu)
    : toolkit_(toolkit), layout_(form), menu_(menu, firstMenuId) {
    const SIZE size = outerSize(form, menu_.handle() != nullptr, toolkit.ui());
    FormWindow* mainForm = toolkit.mainForm();
    // Every later form belongs to the main window, so it stays above it.
    HWND owner = mainForm ? mainForm->handle() : nullptr;
    const char* className = ownedWindowClass<FormWindow>("VelumoForm", ClassIcon::Program);
    CreateWindowExA(extendedStyleOf(form), className, form.caption.c_str(), styleOf(form), form.bounds.left,
                    form.bounds.top, size.cx, size.cy, owner, menu_.handle(), GetModuleHandleA(nullptr), this);
    if (!window_) throw EOSError(GetLastError(), "ウィンドウを作成できません: " + form.name);
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(toolkit.ui().font()), FALSE);
    toolkit_.addForm(*this);
}

FormWindow::~FormWindow() {
    for (auto& [id, timer] : timers_)
        timer->ownerGone();
    toolkit_.removeForm(*this);
    window_.reset();
}

// Controls are created in the order they are added, which makes it their tab
// order too. Whatever depends on the controls before it is settled as each
// one comes: the default and Cancel buttons, its tooltip, the aligned layout.
Control& FormWindow::addControl(ControlSpec control) {
    const int id = firstControlId + static_cast<int>(children_.size());
    std::unique_ptr<ChildWindow> created = createChild(control, id);
    ChildWindow& child = *created;
    children_.push_back(std::move(created));
    byName_[control.name] = &child;
    if (control.isDefault && !defaultButton_) defaultButton_ = &child;
    if (control.kind == ControlKind::CancelButton && !cancelButton_) cancelButton_ = &child;
    if (control.showHint) addTooltip(child);
    if (control.parent.empty() && control.align != Align::None) arrangeAlignedControls();
    return child.control();
}

// A layout table names a control's container, and a page's page control,
// before the control itself: a table that does not is the program's fault.
std::unique_ptr<ChildWindow> FormWindow::createChild(const ControlSpec& control, int id) {
    if (control.kind == ControlKind::TabPage) {
        auto found = byName_.find(control.parent);
        auto* pages = found != byName_.end() ? dynamic_cast<PageControlWindow*>(found->second) : nullptr;
        assert(pages && "a tab page's parent is a page control made before it");
        if (pages) return pages->addPage(control, id);
    }
    return createChildWindow(control, containerOf(control), id, toolkit_.ui());
}

HWND FormWindow::containerOf(const ControlSpec& control) {
    if (control.parent.empty()) return window_;
    auto found = byName_.find(control.parent);
    assert(found != byName_.end() && "a control's container is made before it");
    return found != byName_.end() ? found->second->handle() : window_;
}

// Only a control whose hint is meant to be shown gets a tooltip; the form's
// one tooltip window is made for the first of them.
void FormWindow::addTooltip(const ChildWindow& child) {
    if (!tooltip_) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        if (!tooltip_) return;
        SendMessageA(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(toolkit_.ui().font()), FALSE);
    }
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(child.handle());
    tool.uId = reinterpret_cast<UINT_PTR>(child.handle());
    tool.lpszText = const_cast<char*>(child.layout().hint.c_str());
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Controls of the form itself aligned to the top stack downwards at full
// width; the one aligned to the client area takes what is left.
void FormWindow::arrangeAlignedControls() {
    RECT area;
    GetClientRect(window_, &area);
    for (Align pass : {Align::Top, Align::Client}) {
        for (const auto& child : children_) {
            const ControlSpec& control = child->layout();
            if (!control.parent.empty() || control.align != pass) continue;
            const int height =
                pass == Align::Top ? toolkit_.ui().scale(control.bounds.height) : std::max(0L, area.bottom - area.top);
            MoveWindow(child->handle(), area.left, area.top, area.right - area.left, height, TRUE);
            area.top += height;
        }
    }
}

std::string FormWindow::caption() const { return windowText(window_); }

void FormWindow::setCaption(const std::string& caption) { SetWindowTextA(window_, caption.c_str()); }

RECT FormWindow::outerRect() const {
    RECT outer{};
    GetWindowRect(window_, &outer);
    return outer;
}

int FormWindow::left() const { return outerRect().left; }

int FormWindow::top() const { return outerRect().top; }

void FormWindow::setPosition(int left, int top) {
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int FormWindow::width() const { return outerRect().right - outerRect().left; }

int FormWindow::height() const { return outerRect().bottom - outerRect().top; }

// What the window's style puts above its client area, the menu bar left out.
int FormWindow::titleBarHeight() const {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, GetWindowLongA(window_, GWL_STYLE), FALSE, GetWindowLongA(window_, GWL_EXSTYLE));
    return -frame.top;
}

MenuItem& FormWindow::menuItem(const std::string& name) {
    MenuItem* item = menu_.itemByName(name);
    if (!item) throw Exception("メニュー項目がありません: " + name);
    return *item;
}

// A centred form is placed anew each time it is shown, kept inside the screen.
void FormWindow::placeOnScreen() {
    if (layout_.position == FormPosition::Stored) return;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT screen = area;
    FormWindow* mainForm = toolkit_.mainForm();
    if (layout_.position == FormPosition::MainFormCenter && mainForm && mainForm != this)
        GetWindowRect(mainForm->handle(), &area);

    RECT outer;
    GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    int left = (area.left + area.right - width) / 2, top = (area.top + area.bottom - height) / 2;
    left = std::max<int>(screen.left, std::min<int>(left, screen.right - width));
    top = std::max<int>(screen.top, std::min<int>(top, screen.bottom - height));
    setPosition(left, top);
}

void FormWindow::makeVisible() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
}

// onShow runs before anything is drawn; a command it runs may end the program,
// and then the window is never shown.
void FormWindow::show() {
    placeOnScreen();
    fireEvent(onShow);
    if (!toolkit_.terminated() && window_) makeVisible();
}

// The other forms are disabled for as long as this one is shown, and enabled
// again before it hides, so that the window below becomes active again.
ModalResult FormWindow::showModal() {
    if (toolkit_.terminated()) return ModalResult::Cancel;
    placeOnScreen();
    fireEvent(onShow);
    const std::vector<HWND> disabled = toolkit_.disableFormsExcept(*this);
    modal_ = true;
    modalResult_ = ModalResult::None;
    makeVisible();
    while (modalResult_ == ModalResult::None && !toolkit_.terminated())
        toolkit_.handleNextMessage();
    const ModalResult result = toolkit_.terminated() ? ModalResult::Cancel : modalResult_;
    modal_ = false;
    for (HWND form : disabled)
        EnableWindow(form, TRUE);
    if (window_) ShowWindow(window_, SW_HIDE);
    return result;
}

void FormWindow::endModal(ModalResult result) {
    if (modal_ && result != ModalResult::None) modalResult_ = result;
}

void FormWindow::addKeyCommand(const std::string& keys, EventHandler onPress) {
    ACCEL key;
    if (!parseShortcut(keys, key)) throw Exception("キーを解釈できません: " + keys);
    keyCommands_.push_back({key, std::move(onPress)});
}

// A key command is a plain key down with exactly its Shift and Ctrl: Alt with
// the key comes as a system key (Alt+F4 closes the window, as always).
bool FormWindow::translateShortcut(MSG& message) {
    if (!IsWindowEnabled(window_)) return false;
    if (message.message == WM_KEYDOWN) {
        const BYTE held = (GetKeyState(VK_SHIFT) < 0 ? FSHIFT : 0) | (GetKeyState(VK_CONTROL) < 0 ? FCONTROL : 0);
        for (const KeyCommand& command : keyCommands_)
            if (command.key.key == message.wParam && (command.key.fVirt & (FSHIFT | FCONTROL | FALT)) == held) {
                fireEvent(command.onPress);
                return true;
            }
    }
    return menu_.shortcuts() && TranslateAcceleratorA(window_, menu_.shortcuts(), &message);
}

bool FormWindow::translatePageKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
    for (const auto& child : children_) {
        auto* pages = dynamic_cast<PageControlWindow*>(child.get());
        if (!pages || !IsWindowVisible(pages->handle()) || !IsWindowEnabled(pages->handle())) continue;
        pages->selectNextPage(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    return false;
}

UINT_PTR FormWindow::addTimer(WindowTimer& timer) {
    const UINT_PTR id = nextTimerId_++;
    timers_[id] = &timer;
    return id;
}

void FormWindow::removeTimer(UINT_PTR id) {
    timers_.erase(id);
    if (window_) KillTimer(window_, id);
}

LRESULT FormWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        notify(*reinterpret_cast<const NMHDR*>(lParam));
        break;
    case WM_DRAWITEM:
        if (ChildWindow* child = childById(static_cast<int>(wParam))) {
            child->draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case DM_GETDEFID:
        return defaultButtonId();
    case WM_TIMER:
        if (auto found = timers_.find(wParam); found != timers_.end()) found->second->tick();
        return 0;
    case WM_SIZE:
        arrangeAlignedControls();
        return 0;
    case WM_ACTIVATE:
        activated(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Esc arrives as IDCANCEL, Enter as the id that DM_GETDEFID answered or as
// IDOK when none, which the control holding the focus may take (a list opens
// its line); menu commands and shortcuts come without a source window.
void FormWindow::command(int id, int notification, HWND source) {
    if (id == IDCANCEL) {
        if (cancelButton_ && IsWindowEnabled(cancelButton_->handle())) endModal(cancelButton_->command(BN_CLICKED));
    } else if (id == IDOK) {
        for (const auto& child : children_)
            if (child->handle() == GetFocus()) child->enterPressed();
    } else if (ChildWindow* child = childById(id)) {
        endModal(child->command(notification));
    } else if (!source) {
        if (MenuItem* item = menu_.itemById(id)) fireEvent(item->onClick);
    }
}

void FormWindow::notify(const NMHDR& header) {
    ChildWindow* child = childById(static_cast<int>(header.idFrom));
    if (child && child->handle() == header.hwndFrom) child->notify(header);
}

// Enter presses the push button that holds the focus, else the default button.
LRESULT FormWindow::defaultButtonId() {
    ChildWindow* button = defaultButton_;
    HWND focus = GetFocus();
    for (const auto& child : children_)
        if (child->handle() == focus && child->isPushButton()) button = child.get();
    if (!button || !IsWindowEnabled(button->handle())) return 0;
    return MAKELRESULT(GetDlgCtrlID(button->handle()), DC_HASDEFID);
}

// Activation would put the focus on the form itself; it goes back to the
// control that had it when the form was left, or to the first in tab order.
void FormWindow::activated(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focus_ = focus;
        return;
    }
    HWND target = focus_;
    if (!target || !IsChild(window_, target) || !shownWithin(window_, target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(window_, nullptr, FALSE);
    SetFocus(target ? target : window_);
}

ChildWindow* FormWindow::childById(int id) {
    const int index = id - firstControlId;
    if (index < 0 || index >= static_cast<int>(children_.size())) return nullptr;
    return children_[index].get();
}

} // namespace platform::win32
