#pragma once
// A control window as its form sees it: the form creates it from its layout
// record, routes the window's notifications to it by control id, and lays it out.
#include <windows.h>

#include <memory>

#include "platform/Toolkit.h"
#include "platform/win32/Ui.h"

namespace platform::win32 {

class ChildWindow {
public:
    explicit ChildWindow(const ControlSpec& layout) : layout_(layout) {}
    virtual ~ChildWindow() = default;
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;

    virtual Control& control() = 0;
    HWND handle() const { return window_; }
    const ControlSpec& layout() const { return layout_; }

    // A WM_COMMAND notification of the window; answers the modal result that
    // a click asks of the form (None for all but the OK and Cancel buttons).
    virtual ModalResult command(int /*notification*/) { return ModalResult::None; }
    virtual void notify(const NMHDR& /*header*/) {}
    virtual void draw(const DRAWITEMSTRUCT& /*item*/) {}
    // A push button holding the focus answers Enter instead of the default button.
    virtual bool isPushButton() const { return false; }
    // Enter while the control holds the focus and the form has no default button.
    virtual void enterPressed() {}

    // A control of one of this program's own window classes hears of its
    // window's first and last message (see ownedWindowProc).
    void windowCreated(HWND window) { window_ = window; }
    void windowDestroyed() { window_ = nullptr; }

protected:
    ControlSpec layout_;
    HWND window_ = nullptr;
};

// Joins a control interface to the window that implements it.
template <class Interface> class ChildOf : public Interface, public ChildWindow {
public:
    using ChildWindow::ChildWindow;
    const ControlSpec& layout() const override { return layout_; }
    Control& control() override { return *this; }
};

// Bounds at 96 dots per inch as pixels of this display.
Bounds scaled(const Bounds& bounds, const Ui& ui);

// Creates a visible child window over bounds (display pixels), in the form's font.
HWND createControlWindow(const char* className, const std::string& text, DWORD style, DWORD extendedStyle,
                         const Bounds& bounds, HWND parent, int id, const Ui& ui, void* creationData = nullptr);

// The window of any control but a tab page (see PageControlWindow::addPage).
std::unique_ptr<ChildWindow> createChildWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);

} // namespace platform::win32
