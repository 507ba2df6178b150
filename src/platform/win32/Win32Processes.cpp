#include "platform/win32/Win32Processes.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "platform/win32/Clock.h"
#include "platform/win32/ConsoleChild.h"
#include "platform/win32/JobObject.h"
#include "platform/win32/MessageWait.h"
#include "platform/win32/OwnedHandle.h"
#include "platform/win32/Pipes.h"
#include "platform/win32/SystemErrorText.h"

namespace platform::win32 {
namespace {

constexpr DWORD outputPipeSize = 4096;
constexpr DWORD errorPipeSize = 4096;
// WaitForInputIdle cannot be woken by the caller's own messages: it is asked
// in slices this long, with a look at the message queue after each.
constexpr DWORD idleSliceMilliseconds = 20;

class Win32StartedProgram : public StartedProgram {
public:
    explicit Win32StartedProgram(const PROCESS_INFORMATION& started)
        : process_(started.hProcess), thread_(started.hThread), processId_(started.dwProcessId) {}
    uint32_t processId() const override { return processId_; }
    // A program without a message queue fails the wait at once, which ends it too.
    bool waitForInputIdle(int milliseconds) override {
        const DWORD deadline = GetTickCount() + static_cast<DWORD>(milliseconds);
        while (WaitForInputIdle(process_.get(), std::min(timeUntil(deadline), idleSliceMilliseconds)) == WAIT_TIMEOUT) {
            if (reached(deadline)) return true;
            if (messageWithin(0)) return false;
        }
        return true;
    }

private:
    OwnedHandle process_;
    OwnedHandle thread_; // declared last, so closed first
    DWORD processId_;
};

// Null, with the system's error code, when the program cannot be started.
std::unique_ptr<StartedProgram> startProgram(const std::string& commandLine, STARTUPINFOA& startup, DWORD flags,
                                             uint32_t& errorCode) {
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string writable = commandLine; // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                        &process)) {
        errorCode = GetLastError();
        return nullptr;
    }
    return std::make_unique<Win32StartedProgram>(process);
}

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
        return startProgram(commandLine, startup, CREATE_DEFAULT_ERROR_MODE, errorCode);
    }

    // The start that WinExec makes, without its wait until the program is
    // ready for input (up to half a minute), which no close could cut short:
    // the caller waits with its window answering.
    std::unique_ptr<StartedProgram> startUntracked(const std::string& commandLine, ShowState show) override {
        STARTUPINFOA startup{};
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommandOf(show));
        uint32_t errorCode = 0;
        return startProgram(commandLine, startup, 0, errorCode);
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
