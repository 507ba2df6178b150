#pragma once
// The one owner of a window whose object rides in its GWLP_USERDATA. The
// object is detached before the window is destroyed, so no message of the
// destruction reaches an object that is itself going away. Reads as the HWND
// it holds.
#include <windows.h>

#include <utility>

namespace platform::win32 {

class OwnedWindow {
public:
    OwnedWindow() = default;
    ~OwnedWindow() { reset(); }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    operator HWND() const { return window_; }
    // Takes the window that is being created.
    void attach(HWND window) { window_ = window; }
    // The window is gone already (WM_NCDESTROY): nothing is left to destroy.
    void forget() { window_ = nullptr; }
    void reset() {
        if (!window_) return;
        HWND window = std::exchange(window_, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }

private:
    HWND window_ = nullptr;
};

} // namespace platform::win32
