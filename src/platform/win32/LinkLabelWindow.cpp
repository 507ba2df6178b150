#include <windowsx.h>

#include "platform/win32/Controls.h"
#include "platform/win32/DeviceContext.h"
#include "platform/win32/WindowProcedure.h"

namespace platform::win32 {

LinkLabelWindow::LinkLabelWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui)
    : ChildOf(layout), ui_(ui) {
    window_ = createControlWindow(ownedWindowClass<LinkLabelWindow>("VelumoLinkLabel"), layout.caption, 0, 0,
                                  labelBounds(layout, ui), parent, id, ui, this);
}

std::string LinkLabelWindow::caption() const { return windowText(window_); }

void LinkLabelWindow::repaint() {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

Point LinkLabelWindow::cursorPos() const {
    POINT point{0, 0};
    GetCursorPos(&point);
    return {point.x, point.y};
}

Point LinkLabelWindow::screenToClient(Point screen) const {
    POINT point{screen.x, screen.y};
    ScreenToClient(window_, &point);
    return {point.x, point.y};
}

int LinkLabelWindow::clientWidth() const {
    RECT client;
    GetClientRect(window_, &client);
    return client.right - client.left;
}

int LinkLabelWindow::clientHeight() const {
    RECT client;
    GetClientRect(window_, &client);
    return client.bottom - client.top;
}

namespace {
MouseButton buttonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
        return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        return MouseButton::Middle;
    default:
        return MouseButton::Left;
    }
}
} // namespace

// The mouse is captured while any button is held, so the release arrives here
// even when the button is let go outside the label.
LRESULT LinkLabelWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // paint fills the background itself, in one go with the text
    case WM_SETCURSOR:
        if (cursorIndex_ >= 0 && LOWORD(lParam) == HTCLIENT) {
            SetCursor(ui_.cursor(cursorIndex_));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (pointer_.follow(window, message, lParam)) fireEvent(pointer_.inside() ? onMouseEnter : onMouseLeave);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        buttonDown(buttonOf(message), lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        buttonUp(buttonOf(message), wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void LinkLabelWindow::buttonDown(MouseButton button, LPARAM position) {
    PointerTracker::buttonDown(window_);
    if (onMouseDown) fireEvent([&] { onMouseDown(button, GET_X_LPARAM(position), GET_Y_LPARAM(position)); });
}

void LinkLabelWindow::buttonUp(MouseButton button, WPARAM buttonsHeld, LPARAM position) {
    PointerTracker::buttonUp(window_, buttonsHeld);
    if (onMouseUp) fireEvent([&] { onMouseUp(button, GET_X_LPARAM(position), GET_Y_LPARAM(position)); });
}

// The caption in the form's font and the label's colour over the face colour
// of the panel below, left-aligned as a label is.
void LinkLabelWindow::paint() {
    const PaintDC painting(window_);
    const HDC dc = painting.get();
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const SelectedObject font(dc, ui_.font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(textColour_));
    const std::string text = caption();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_LEFT | DT_TOP | DT_NOCLIP);
}

} // namespace platform::win32
