#include "platform/win32/Controls.h"

#include <algorithm>

#include "platform/win32/DeviceContext.h"
#include "platform/win32/Glyphs.h"
#include "platform/win32/WindowProcedure.h"

namespace platform::win32 {

namespace {
bool hasPicture(ControlKind kind) { return kind == ControlKind::OkButton || kind == ControlKind::CancelButton; }

DWORD pushButtonStyle(const ControlSpec& layout) {
    if (hasPicture(layout.kind)) return BS_OWNERDRAW;
    return layout.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

int pictureScale(const Ui& ui) { return std::max(1, ui.scale(glyphSize) / glyphSize); }
} // namespace

PushButtonWindow::PushButtonWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui)
    : ChildOf(layout), ui_(ui) {
    window_ = createControlWindow("BUTTON", layout.caption, pushButtonStyle(layout) | WS_TABSTOP, 0,
                                  scaled(layout.bounds, ui), parent, id, ui);
}

ModalResult PushButtonWindow::command(int notification) {
    if (notification != BN_CLICKED) return ModalResult::None;
    return clickButton(*this);
}

// The picture and the caption side by side, centred together, as a bitmap
// button shows them; the default button has the dark outer frame.
void PushButtonWindow::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;

    FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
    if (layout_.isDefault || (item.itemState & ODS_FOCUS)) {
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&frame, -1, -1);
    }
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));

    const std::string caption = windowText(window_);
    const SelectedObject font(dc, ui_.font());
    RECT textBounds{0, 0, 0, 0};
    DrawTextA(dc, caption.c_str(), -1, &textBounds, DT_CALCRECT | DT_SINGLELINE);
    const int pixel = pictureScale(ui_);
    const int picture = glyphSize * pixel, spacing = ui_.scale(4);
    const int contentWidth = picture + spacing + (textBounds.right - textBounds.left);
    const int shift = pressed ? 1 : 0;
    const int left = (item.rcItem.right - item.rcItem.left - contentWidth) / 2 + shift;
    const int middle = (item.rcItem.bottom - item.rcItem.top) / 2 + shift;

    drawGlyph(dc, layout_.kind == ControlKind::OkButton ? Glyph::CheckMark : Glyph::Cross, left, middle - picture / 2,
              pixel, disabled);
    RECT textArea{left + picture + spacing, item.rcItem.top + shift, item.rcItem.right, item.rcItem.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, caption.c_str(), -1, &textArea, DT_SINGLELINE | DT_VCENTER | DT_LEFT);

    if (item.itemState & ODS_FOCUS) {
        RECT focus = frame;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

ToolButtonWindow::ToolButtonWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui)
    : ChildOf(layout), ui_(ui) {
    window_ = createControlWindow(ownedWindowClass<ToolButtonWindow>("VelumoToolButton"), layout.caption, 0, 0,
                                  scaled(layout.bounds, ui), parent, id, ui, this);
}

// Capturing the pointer makes the click count only where the button is let go
// over itself, as with any button; the keyboard focus stays where it was.
LRESULT ToolButtonWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        PointerTracker::buttonDown(window);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (pointer_.follow(window, message, lParam)) InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP: {
        const bool clicked = pressed_ && pointerOver(window, lParam);
        pressed_ = false;
        PointerTracker::buttonUp(window, wParam);
        InvalidateRect(window, nullptr, TRUE);
        if (clicked) fireEvent(onClick);
        return 0;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        PointerTracker::buttonUp(window, wParam);
        break;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_ENABLE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Flat until the pointer is over it: raised then, sunken while held down.
void ToolButtonWindow::paint() {
    const PaintDC painting(window_);
    const HDC dc = painting.get();
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    const bool enabled = IsWindowEnabled(window_);
    const bool hot = pointer_.inside();
    const bool down = enabled && pressed_ && hot;
    if (down)
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    else if (enabled && (hot || pressed_))
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);

    const int pixel = pictureScale(ui_), picture = glyphSize * pixel, shift = down ? 1 : 0;
    drawGlyph(dc, Glyph::OpenFolder, (client.right - picture) / 2 + shift, (client.bottom - picture) / 2 + shift, pixel,
              !enabled);
}

} // namespace platform::win32
