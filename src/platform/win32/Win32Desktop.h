#pragma once
#include <windows.h>

#include "platform/Desktop.h"
#include "platform/Os.h"

namespace platform::win32 {

class Win32Desktop : public Desktop {
public:
    std::unique_ptr<StartedProgram> createProcess(const std::string& commandLine, uint32_t& errorCode) override;
    void enumWindows(EnumWindowsCallback callback, intptr_t value) override;
    uint32_t windowProcessId(WindowHandle window) override;
    bool isWindowEnabled(WindowHandle window) override;
    void setForegroundWindow(WindowHandle window) override;
    void setActiveWindow(WindowHandle window) override;
    void sleep(int milliseconds) override;
    bool onAnyMonitor(const ScreenRect& area) override;
    ScreenRect nearestWorkArea(const ScreenRect& area) override;
};

class Win32Launcher : public Launcher {
public:
    bool winExec(const std::string& commandLine, ShowState show) override;
    void shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, ShowState show) override;
};

} // namespace platform::win32
