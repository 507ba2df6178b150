#include "platform/win32/Win32Desktop.h"

#include "platform/win32/MessageWait.h"

namespace platform::win32 {

namespace {
struct Enumeration {
    EnumWindowsCallback callback;
    intptr_t value;
};

BOOL CALLBACK enumerateWindow(HWND window, LPARAM parameter) {
    const auto* enumeration = reinterpret_cast<const Enumeration*>(parameter);
    return enumeration->callback(reinterpret_cast<WindowHandle>(window), enumeration->value) ? TRUE : FALSE;
}

HWND windowOf(WindowHandle window) { return reinterpret_cast<HWND>(window); }
} // namespace

void Win32Desktop::enumWindows(EnumWindowsCallback callback, intptr_t value) {
    Enumeration enumeration{callback, value};
    EnumWindows(enumerateWindow, reinterpret_cast<LPARAM>(&enumeration));
}

uint32_t Win32Desktop::windowProcessId(WindowHandle window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(windowOf(window), &processId);
    return processId;
}

bool Win32Desktop::isWindowEnabled(WindowHandle window) { return window && IsWindowEnabled(windowOf(window)); }

void Win32Desktop::setForegroundWindow(WindowHandle window) { SetForegroundWindow(windowOf(window)); }

void Win32Desktop::setActiveWindow(WindowHandle window) { SetActiveWindow(windowOf(window)); }

bool Win32Desktop::pause(int milliseconds) { return !messageWithin(static_cast<DWORD>(milliseconds)); }

namespace {
RECT rectOf(const ScreenRect& area) { return {area.left, area.top, area.right, area.bottom}; }
} // namespace

bool Win32Desktop::onAnyMonitor(const ScreenRect& area) {
    const RECT rect = rectOf(area);
    return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

// Should the monitor's facts be refused, the primary monitor's work area stands in.
ScreenRect Win32Desktop::nearestWorkArea(const ScreenRect& area) {
    const RECT rect = rectOf(area);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT work;
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        work = monitor.rcWork;
    else if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {work.left, work.top, work.right, work.bottom};
}

} // namespace platform::win32
