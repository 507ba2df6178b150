#include "platform/win32/Win32Toolkit.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/FileOpenDialog.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/WindowTimer.h"

namespace platform::win32 {

static_assert(static_cast<int>(ModalResult::OK) == IDOK && static_cast<int>(ModalResult::Cancel) == IDCANCEL &&
                  static_cast<int>(ModalResult::Yes) == IDYES && static_cast<int>(ModalResult::No) == IDNO,
              "a modal result is the id of the button that gives it");

namespace {
// Common controls are initialised before the first window class is registered.
bool initCommonControls() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&classes);
}

struct TypeLook {
    const char* caption;
    LPCSTR icon;
};

TypeLook lookOf(MessageType type) {
    switch (type) {
    case MessageType::Warning:
        return {"警告", IDI_WARNING};
    case MessageType::Error:
        return {"エラー", IDI_ERROR};
    case MessageType::Information:
        return {"情報", IDI_INFORMATION};
    case MessageType::Confirmation:
        return {"確認", IDI_QUESTION};
    }
    return {"", nullptr};
}
} // namespace

Win32Toolkit::Win32Toolkit() { initCommonControls(); }

Win32Toolkit::~Win32Toolkit() = default;

std::unique_ptr<Form> Win32Toolkit::createForm(const FormSpec& form, const std::vector<MenuItemSpec>& menu) {
    return std::make_unique<FormWindow>(*this, form, menu);
}

std::unique_ptr<Timer> Win32Toolkit::createTimer(Form& owner) {
    return std::make_unique<WindowTimer>(dynamic_cast<FormWindow&>(owner));
}

std::unique_ptr<OpenDialog> Win32Toolkit::createOpenDialog(const OpenDialogSpec& dialog) {
    return std::make_unique<FileOpenDialog>(*this, dialog);
}

// A cursor missing from the resources leaves the index showing the arrow.
void Win32Toolkit::registerCursor(int index, const std::string& resourceName) {
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), resourceName.c_str());
    ui_.setCursor(index, cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW));
}

void Win32Toolkit::showMessage(const std::string& title, const std::string& text) {
    MessageContent content;
    content.caption = title;
    content.text = text;
    content.buttons = {IDOK};
    messageDialogs_.run(dialogOwner(), content);
}

// Buttons in the order Yes, No, OK, Cancel; Enter and Esc answer as the
// toolkit's rules say.
ModalResult Win32Toolkit::messageDialog(const std::string& text, MessageType type, unsigned buttons) {
    const TypeLook look = lookOf(type);
    MessageContent content;
    content.caption = look.caption;
    content.text = text;
    content.icon = look.icon;
    const std::pair<MessageButton, int> order[] = {{mbYes, IDYES}, {mbNo, IDNO}, {mbOK, IDOK}, {mbCancel, IDCANCEL}};
    for (const auto& [flag, id] : order)
        if (buttons & flag) content.buttons.push_back(id);
    if (content.buttons.empty()) content.buttons.push_back(IDOK);
    // The answers are the dialog's button ids.
    content.defaultButton = static_cast<int>(defaultAnswer(buttons));
    content.escapeResult = static_cast<int>(escapeAnswer(buttons));
    return static_cast<ModalResult>(messageDialogs_.run(dialogOwner(), content));
}

void Win32Toolkit::showErrorBox(const std::string& title, const std::string& text) {
    MessageBoxA(dialogOwner(), text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void Win32Toolkit::beep() { MessageBeep(MB_OK); }

// The menu's shortcuts first, then the keyboard of the form (page turning,
// Tab, Enter, Esc, access keys), then everything else as usual.
void Win32Toolkit::dispatch(MSG& message) {
    FormWindow* form = formOf(message.hwnd);
    if (form && (form->translateShortcut(message) || form->translatePageKey(message) ||
                 IsDialogMessageA(form->handle(), &message)))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

FormWindow* Win32Toolkit::formOf(HWND window) const {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    for (FormWindow* form : forms_)
        if (root && form->handle() == root) return form;
    return nullptr;
}

void Win32Toolkit::handleNextMessage() {
    MSG message;
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
        terminated_ = true; // WM_QUIT: the session ends
        return;
    }
    dispatch(message);
}

void Win32Toolkit::processMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        dispatch(message);
    }
}

void Win32Toolkit::run() {
    while (!terminated_)
        handleNextMessage();
}

namespace {
// Under Wine, whose X11 driver manages a program's windows unless told
// otherwise, hiding a shown window waits until a window manager has withdrawn
// it: two seconds where none answers, as under Xvfb, for the main window and
// for each dialog open at a close. Once the end is requested no window needs
// hiding: one marked hidden stays on the screen until it is destroyed a moment
// later, which takes it off the X server at once. Windows hides at once, and
// its screen would keep the trace of a window so marked: there nothing changes.
BOOL CALLBACK markHiddenUnderWine(HWND window, LPARAM) {
    static const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (underWine && (style & WS_VISIBLE)) SetWindowLongA(window, GWL_STYLE, style & ~WS_VISIBLE);
    return TRUE;
}

// The system's own dialogs (the file dialogs and the error box) run loops of
// their own that know nothing of the program's end: a close request, which
// every dialog takes as Cancel, ends them.
BOOL CALLBACK closeSystemDialog(HWND window, LPARAM) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}
} // namespace

// Every loop checks the request after each message; the posted message wakes
// a loop that waits; open message dialogs end as cancelled, and so do the
// system's dialogs of this thread, none of them hidden on its way under Wine.
void Win32Toolkit::terminate() {
    terminated_ = true;
    EnumThreadWindows(GetCurrentThreadId(), markHiddenUnderWine, 0);
    messageDialogs_.cancelAll();
    EnumThreadWindows(GetCurrentThreadId(), closeSystemDialog, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

FormWindow* Win32Toolkit::mainForm() const { return forms_.empty() ? nullptr : forms_.front(); }

void Win32Toolkit::addForm(FormWindow& form) { forms_.push_back(&form); }

void Win32Toolkit::removeForm(FormWindow& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
}

std::vector<HWND> Win32Toolkit::disableFormsExcept(const FormWindow& form) {
    std::vector<HWND> disabled;
    for (FormWindow* other : forms_) {
        if (other == &form || !other->handle() || !IsWindowEnabled(other->handle())) continue;
        EnableWindow(other->handle(), FALSE);
        disabled.push_back(other->handle());
    }
    return disabled;
}

HWND Win32Toolkit::dialogOwner() const {
    HWND active = GetActiveWindow();
    if (active && IsWindowVisible(active)) return active;
    for (auto form = forms_.rbegin(); form != forms_.rend(); ++form)
        if ((*form)->handle() && IsWindowVisible((*form)->handle()) && IsWindowEnabled((*form)->handle()))
            return (*form)->handle();
    return nullptr;
}

} // namespace platform::win32
