#pragma once
// The mouse as a window of ours that reacts to it sees it: whether the pointer
// is over the window, and the capture that brings the release of a button
// pressed on it back to the window, wherever the button is let go.
#include <windows.h>

namespace platform::win32 {

// Whether the position of a mouse message lies in the window's client area.
bool pointerOver(HWND window, LPARAM position);

class PointerTracker {
public:
    // Follows WM_MOUSEMOVE and WM_MOUSELEAVE; answers whether the pointer came
    // in or went out with the message. The first move over the window is its
    // entry, after which Windows reports the leaving once; while the mouse is
    // captured, a move outside is the leaving.
    bool follow(HWND window, UINT message, LPARAM position);
    bool inside() const { return inside_; }

    // A button went down on the window: the mouse is the window's until every
    // button is up again (buttonsHeld: the wParam of the button-up message).
    static void buttonDown(HWND window);
    static void buttonUp(HWND window, WPARAM buttonsHeld);

private:
    bool inside_ = false;
};

} // namespace platform::win32
