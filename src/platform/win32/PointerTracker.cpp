#include "platform/win32/PointerTracker.h"

#include <windowsx.h>

namespace platform::win32 {

bool pointerOver(HWND window, LPARAM position) {
    RECT client;
    GetClientRect(window, &client);
    const POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return PtInRect(&client, point);
}

bool PointerTracker::follow(HWND window, UINT message, LPARAM position) {
    const bool inside = message == WM_MOUSEMOVE && pointerOver(window, position);
    if (inside == inside_) return false;
    inside_ = inside;
    if (inside) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, window, 0};
        TrackMouseEvent(&leave);
    }
    return true;
}

void PointerTracker::buttonDown(HWND window) { SetCapture(window); }

void PointerTracker::buttonUp(HWND window, WPARAM buttonsHeld) {
    if (!(buttonsHeld & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == window) ReleaseCapture();
}

} // namespace platform::win32
