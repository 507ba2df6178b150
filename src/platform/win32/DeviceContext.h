#pragma once
// Owners of device contexts and of what is selected into them, so that every
// paint and every measurement gives back what it took on every path.
#include <windows.h>

namespace platform::win32 {

// A window's device context (the screen's for none), released when done.
class WindowDC {
public:
    explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { ReleaseDC(window_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The painting of a window between BeginPaint and EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A font, pen or brush selected into a device context for as long as this lives.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The colour of the stock DC brush, given back when done.
class KeptBrushColour {
public:
    explicit KeptBrushColour(HDC dc) : dc_(dc), previous_(GetDCBrushColor(dc)) {}
    ~KeptBrushColour() { SetDCBrushColor(dc_, previous_); }
    KeptBrushColour(const KeptBrushColour&) = delete;
    KeptBrushColour& operator=(const KeptBrushColour&) = delete;

private:
    HDC dc_;
    COLORREF previous_;
};

} // namespace platform::win32
