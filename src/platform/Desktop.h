#pragma once
// Other programs' top-level windows: finding a program's window, bringing
// windows forward; the monitors; a pause.
#include <cstdint>

namespace platform {

using WindowHandle = uintptr_t; // a top-level window; 0 is none

// A rectangle of the screen in pixels: right and bottom lie just outside it.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The window enumeration callback: true goes on, false stops.
using EnumWindowsCallback = bool (*)(WindowHandle window, intptr_t value);

class Desktop {
public:
    virtual ~Desktop() = default;
    // Every top-level window, from the top of the Z order down, until the callback says stop.
    virtual void enumWindows(EnumWindowsCallback callback, intptr_t value) = 0;
    virtual uint32_t windowProcessId(WindowHandle window) = 0;
    virtual bool isWindowEnabled(WindowHandle window) = 0; // false for none and for a window that is gone
    virtual void setForegroundWindow(WindowHandle window) = 0;
    virtual void setActiveWindow(WindowHandle window) = 0;
    // Waits for the time: true then. False as soon as a message for this
    // program's own windows is waiting, so that the caller can handle it.
    virtual bool pause(int milliseconds) = 0;

    // Whether some monitor shows a part of the rectangle.
    virtual bool onAnyMonitor(const ScreenRect& area) = 0;
    // The work area (the monitor less its task bars) of the monitor that shows
    // the largest part of the rectangle, or, when none shows any, of the
    // monitor nearest to it.
    virtual ScreenRect nearestWorkArea(const ScreenRect& area) = 0;
};

} // namespace platform
