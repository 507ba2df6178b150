#pragma once
// Other programs' processes and top-level windows: starting a companion
// program, finding its window, bringing windows forward.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

using WindowHandle = uintptr_t; // a top-level window; 0 is none

// A program that createProcess started. It owns the process's and its first
// thread's handles and closes them when destroyed; the program runs on.
class StartedProgram {
public:
    virtual ~StartedProgram() = default;
    virtual uint32_t processId() const = 0;
    // Waits until the program waits for input, or the time has passed.
    virtual void waitForInputIdle(int milliseconds) = 0;
};

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
    // Starts a command line with default show state, no inherited handles and
    // the default error mode, in the current folder. Null with the system's
    // error code when refused.
    [[nodiscard]] virtual std::unique_ptr<StartedProgram> createProcess(const std::string& commandLine,
                                                                        uint32_t& errorCode) = 0;
    // Every top-level window, from the top of the Z order down, until the callback says stop.
    virtual void enumWindows(EnumWindowsCallback callback, intptr_t value) = 0;
    virtual uint32_t windowProcessId(WindowHandle window) = 0;
    virtual bool isWindowEnabled(WindowHandle window) = 0; // false for none and for a window that is gone
    virtual void setForegroundWindow(WindowHandle window) = 0;
    virtual void setActiveWindow(WindowHandle window) = 0;
    virtual void sleep(int milliseconds) = 0;

    // Whether some monitor shows a part of the rectangle.
    virtual bool onAnyMonitor(const ScreenRect& area) = 0;
    // The work area (the monitor less its task bars) of the monitor that shows
    // the largest part of the rectangle, or, when none shows any, of the
    // monitor nearest to it.
    virtual ScreenRect nearestWorkArea(const ScreenRect& area) = 0;
};

} // namespace platform
