#include "platform/win32/Win32Processes.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/win32/ConsoleChild.h"
#include "platform/win32/JobObject.h"
#include "platform/win32/OwnedHandle.h"
#include "platform/win32/Pipes.h"
#include "platform/win32/SystemErrorText.h"

namespace platform::win32 {
namespace {

constexpr DWORD outputPipeSize = 4096;
constexpr DWORD errorPipeSize = 4096;

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

int showCommandOf(ShowState show) {
    switch (show) {
    case ShowState::Normal:
        return SW_SHOW;
    case ShowState::MinNoActivate:
        return SW_SHOWMINNOACTIVE;
    }
    return SW_SHOW;
}

bool startHiddenConsoleProgram(const std::string& commandLine, HANDLE input, HANDLE output, HANDLE error,
                               PROCESS_INFORMATION& started) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;
    std::string writableCommandLine = commandLine; // CreateProcessA may write into it
    return CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started) != FALSE;
}

namespace {

class Win32ProcessService final : public ProcessService {
public:
    std::unique_ptr<StartedProgram> startCompanion(const std::string& commandLine, uint32_t& errorCode) override {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string writable = commandLine;
        if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                            nullptr, &startup, &process)) {
            errorCode = GetLastError();
            return nullptr;
        }
        return std::make_unique<Win32StartedProgram>(process);
    }

    // WinExec answers 32 or more when the program started, else an error code.
    bool startUntracked(const std::string& commandLine, ShowState show) override {
        return WinExec(commandLine.c_str(), static_cast<UINT>(showCommandOf(show))) >= 32;
    }

    std::unique_ptr<ConsoleChild> startConsole(const std::string& commandLine, uint32_t& errorCode) override {
        errorCode = 0;
        OwnedHandle outputRead, outputWrite, inputRead, inputWrite, errorRead, errorWrite;
        if (!createOutputPipe(outputRead, outputWrite, outputPipeSize) || !createInputPipe(inputRead, inputWrite) ||
            !createOutputPipe(errorRead, errorWrite, errorPipeSize)) {
            errorCode = GetLastError();
            return nullptr;
        }

        PROCESS_INFORMATION info{};
        if (!startHiddenConsoleProgram(commandLine, inputRead.get(), outputWrite.get(), errorWrite.get(), info)) {
            errorCode = GetLastError();
            return nullptr;
        }
        OwnedHandle process(info.hProcess), thread(info.hThread);
        OwnedHandle job = jobHolding(process.get());
        // Only the child holds its ends now, so each pipe ends when the child
        // (and whatever inherited them from it) closes them.
        outputWrite.reset();
        inputRead.reset();
        errorWrite.reset();
        return captureConsoleChild(std::move(process), std::move(job), std::move(inputWrite), std::move(outputRead),
                                   std::move(errorRead), errorCode);
    }

    std::string systemErrorText(uint32_t code) override { return textOfSystemError(code); }

    uint32_t tickCount() override { return GetTickCount(); }
};

} // namespace

std::unique_ptr<ProcessService> createWin32ProcessService() { return std::make_unique<Win32ProcessService>(); }

} // namespace platform::win32
