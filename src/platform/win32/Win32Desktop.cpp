#include "platform/win32/Win32Desktop.h"

#include <shellapi.h>

#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

namespace {
class Win32StartedProgram : public StartedProgram {
public:
    explicit Win32StartedProgram(const PROCESS_INFORMATION& started)
        : process_(started.hProcess), thread_(started.hThread), processId_(started.dwProcessId) {}
    uint32_t processId() const override { return processId_; }
    void waitForInputIdle(int milliseconds) override {
        WaitForInputIdle(process_.get(), static_cast<DWORD>(milliseconds));
    }

private:
    OwnedHandle process_;
    OwnedHandle thread_; // declared last, so closed first
    DWORD processId_;
};
} // namespace

std::unique_ptr<StartedProgram> Win32Desktop::createProcess(const std::string& commandLine, uint32_t& errorCode) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string writable = commandLine;
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                        &startup, &process)) {
        errorCode = GetLastError();
        return nullptr;
    }
    return std::make_unique<Win32StartedProgram>(process);
}

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

void Win32Desktop::sleep(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

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

namespace {
int showCommandOf(ShowState show) {
    switch (show) {
    case ShowState::Normal:
        return SW_SHOW;
    case ShowState::MinNoActivate:
        return SW_SHOWMINNOACTIVE;
    }
    return SW_SHOW;
}
} // namespace

// WinExec answers 32 or more when the program started, else an error code.
bool Win32Launcher::winExec(const std::string& commandLine, ShowState show) {
    return WinExec(commandLine.c_str(), static_cast<UINT>(showCommandOf(show))) >= 32;
}

// The shell reports a failure in its own way; the result tells nothing more.
void Win32Launcher::shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                              const std::string& directory, ShowState show) {
    ShellExecuteA(nullptr, operation.c_str(), file.c_str(), parameters.c_str(), directory.c_str(), showCommandOf(show));
}

} // namespace platform::win32
