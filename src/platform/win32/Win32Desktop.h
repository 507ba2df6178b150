#pragma once
#include <windows.h>

#include "platform/Desktop.h"

namespace platform::win32 {

class Win32Desktop : public Desktop {
public:
    void enumWindows(EnumWindowsCallback callback, intptr_t value) override;
    uint32_t windowProcessId(WindowHandle window) override;
    bool isWindowEnabled(WindowHandle window) override;
    void setForegroundWindow(WindowHandle window) override;
    void setActiveWindow(WindowHandle window) override;
    bool pause(int milliseconds) override;
    bool onAnyMonitor(const ScreenRect& area) override;
    ScreenRect nearestWorkArea(const ScreenRect& area) override;
};

} // namespace platform::win32
