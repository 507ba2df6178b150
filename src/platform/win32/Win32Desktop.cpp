#include "platform/win32/Win32Desktop.h"

#include <ddeml.h>
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

namespace {
// The preview never waits for a transaction's answer: the completion of an
// asynchronous execute and a partner's disconnect are simply accepted.
HDDEDATA CALLBACK ddeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

HSZ stringOf(DdeStringHandle handle) { return reinterpret_cast<HSZ>(handle); }
HCONV conversationOf(DdeConversation conversation) { return reinterpret_cast<HCONV>(conversation); }
} // namespace

uint32_t Win32Dde::initialize() {
    const UINT result = DdeInitializeA(&instance_, ddeCallback, 0, 0);
    return result == DMLERR_NO_ERROR ? 0 : result;
}

void Win32Dde::uninitialize() {
    if (instance_) DdeUninitialize(instance_);
    instance_ = 0;
}

DdeStringHandle Win32Dde::createString(const std::string& text) {
    return reinterpret_cast<DdeStringHandle>(DdeCreateStringHandleA(instance_, text.c_str(), CP_WINANSI));
}

void Win32Dde::freeString(DdeStringHandle handle) { DdeFreeStringHandle(instance_, stringOf(handle)); }

DdeConversation Win32Dde::connect(DdeStringHandle service, DdeStringHandle topic) {
    CONVCONTEXT context{};
    context.cb = sizeof context;
    context.iCodePage = CP_WINANSI;
    return reinterpret_cast<DdeConversation>(DdeConnect(instance_, stringOf(service), stringOf(topic), &context));
}

uint32_t Win32Dde::conversationFormat(DdeConversation conversation) {
    CONVINFO info{};
    info.cb = sizeof info;
    if (!DdeQueryConvInfo(conversationOf(conversation), QID_SYNC, &info)) return 0;
    return info.wFmt;
}

DdeDataHandle Win32Dde::createData(const std::string& bytes, uint32_t format) {
    return reinterpret_cast<DdeDataHandle>(
        DdeCreateDataHandle(instance_, reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data())),
                            static_cast<DWORD>(bytes.size()), 0, nullptr, format, 0));
}

void Win32Dde::executeAsync(DdeConversation conversation, DdeDataHandle data, uint32_t format) {
    DdeClientTransaction(reinterpret_cast<LPBYTE>(data), 0xFFFFFFFF, conversationOf(conversation), nullptr, format,
                         XTYP_EXECUTE, TIMEOUT_ASYNC, nullptr);
}

void Win32Dde::disconnect(DdeConversation conversation) { DdeDisconnect(conversationOf(conversation)); }

} // namespace platform::win32
