#pragma once
// A form: a top-level window with the controls of its layout table, added one
// at a time, an optional menu bar, its timers, and the modal loop of showModal.
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/Toolkit.h"
#include "platform/win32/ChildWindow.h"
#include "platform/win32/MenuBar.h"
#include "platform/win32/OwnedWindow.h"

namespace platform::win32 {

class Win32Toolkit;
class WindowTimer;

class FormWindow : public Form {
public:
    FormWindow(Win32Toolkit& toolkit, const FormSpec& form, const std::vector<MenuItemSpec>& menu);
    ~FormWindow() override;

    const FormSpec& layout() const override { return layout_; }
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    int left() const override;
    int top() const override;
    void setPosition(int left, int top) override;
    int width() const override;
    int height() const override;
    int titleBarHeight() const override;
    MenuItem& menuItem(const std::string& name) override;
    void addKeyCommand(const std::string& keys, EventHandler onPress) override;
    ModalResult showModal() override;
    void show() override;

    HWND handle() const { return window_; }
    // Turns a key of one of the menu's shortcuts, or of the form's key
    // commands, into its command.
    bool translateShortcut(MSG& message);
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the form's page control.
    bool translatePageKey(const MSG& message);
    UINT_PTR addTimer(WindowTimer& timer);
    void removeTimer(UINT_PTR id);

    // The form's window procedure (see ownedWindowProc).
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void windowCreated(HWND window) { window_.attach(window); }
    void windowDestroyed() { window_.forget(); }

protected:
    Control& addControl(ControlSpec control) override;

private:
    RECT outerRect() const; // in screen pixels
    std::unique_ptr<ChildWindow> createChild(const ControlSpec& control, int id);
    HWND containerOf(const ControlSpec& control);
    void addTooltip(const ChildWindow& child);
    void arrangeAlignedControls();
    void placeOnScreen();
    void makeVisible();

    void command(int id, int notification, HWND source);
    void notify(const NMHDR& header);
    LRESULT defaultButtonId();
    bool modalShowing() const override { return modal_; }
    void endModal(ModalResult result) override;
    void activated(bool active);
    ChildWindow* childById(int id);

    Win32Toolkit& toolkit_;
    FormSpec layout_;
    MenuBar menu_;
    std::vector<std::unique_ptr<ChildWindow>> children_; // in tab order; the id tells the index
    std::map<std::string, ChildWindow*> byName_;         // for the controls that name one as their parent
    HWND tooltip_ = nullptr;                             // made with the first control that shows its hint
    ChildWindow* defaultButton_ = nullptr;
    ChildWindow* cancelButton_ = nullptr;
    HWND focus_ = nullptr; // the control that gets the focus back when the form is active again
    std::map<UINT_PTR, WindowTimer*> timers_;
    struct KeyCommand {
        ACCEL key;
        EventHandler onPress;
    };
    std::vector<KeyCommand> keyCommands_;
    UINT_PTR nextTimerId_ = 1;
    bool modal_ = false;
    ModalResult modalResult_ = ModalResult::None;
    // Last, so that it goes first, however the form ends (a constructor that
    // throws too): the window and the controls' windows in it go before the
    // objects behind them.
    OwnedWindow window_;
};

} // namespace platform::win32
