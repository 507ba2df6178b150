#include "platform/win32/Win32Desktop.h"

#include <shellapi.h>

namespace platform::win32 {

bool Win32Desktop::createProcess(const std::string& commandLine, ProcessRecord& record, uint32_t& errorCode) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string writable = commandLine;
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                        &startup, &process)) {
        errorCode = GetLastError();
        return false;
    }
    record.process = reinterpret_cast<uintptr_t>(process.hProcess);
    record.thread = reinterpret_cast<uintptr_t>(process.hThread);
    record.processId = process.dwProcessId;
    record.threadId = process.dwThreadId;
    return true;
}

void Win32Desktop::waitForInputIdle(const ProcessRecord& record, int milliseconds) {
    WaitForInputIdle(reinterpret_cast<HANDLE>(record.process), static_cast<DWORD>(milliseconds));
}

void Win32Desktop::closeHandles(ProcessRecord& record) {
    if (record.thread) CloseHandle(reinterpret_cast<HANDLE>(record.thread));
    if (record.process) CloseHandle(reinterpret_cast<HANDLE>(record.process));
    record.thread = record.process = 0;
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

uint32_t Win32Launcher::winExec(const std::string& commandLine, int showState) {
    return WinExec(commandLine.c_str(), static_cast<UINT>(showState));
}

// The shell reports a failure in its own way; the result tells nothing more.
void Win32Launcher::shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                              const std::string& directory, int showState) {
    ShellExecuteA(nullptr, operation.c_str(), file.c_str(), parameters.c_str(), directory.c_str(), showState);
}

} // namespace platform::win32
