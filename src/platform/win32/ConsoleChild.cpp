#include "platform/win32/ConsoleChild.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Clock.h"
#include "platform/win32/PipeReader.h"

namespace platform::win32 {
namespace {

constexpr DWORD gatherMilliseconds = 10;
constexpr DWORD terminateMilliseconds = 5000;

class Win32ConsoleChild final : public ConsoleChild {
public:
    Win32ConsoleChild(OwnedHandle process, OwnedHandle job, OwnedHandle inputWrite, OwnedHandle outputRead,
                      OwnedHandle errorRead)
        : process_(std::move(process)), job_(std::move(job)), input_(std::move(inputWrite)),
          output_(std::move(outputRead)), error_(std::move(errorRead)) {}

    bool prepare() { return output_.prepare() && error_.prepare(); }

    // Ends a child whose capture could not be set up, so it never runs on hidden.
    void end() {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), terminateMilliseconds);
        abandonStreams();
    }

    void writeInputAndClose(const std::string& bytes) override {
        if (!input_) return;
        DWORD written = 0;
        // A child that has already ended makes this fail; there is nothing to do about it.
        WriteFile(input_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        input_.reset();
    }

    // Each return costs the caller a round of taking reads and handling
    // messages, which are round trips to the Wine server that compete with
    // the child for the CPU. So once there are reads, further ones are let
    // gather for up to ten milliseconds while they keep coming; an end, a
    // window message or the time given returns at once.
    void waitForActivity(int milliseconds) override {
        const DWORD start = GetTickCount();
        bool gathering = false;
        DWORD gatherEnd = 0;
        while (true) {
            const DWORD stopTick = gathering ? gatherEnd : GetTickCount() + gatherMilliseconds;
            output_.readAvailable(stopTick);
            error_.readAvailable(stopTick);
            if (output_.hasNewEnd() || error_.hasNewEnd()) break;
            const bool hasReads = output_.hasReads() || error_.hasReads();
            if (hasReads && !gathering) {
                gathering = true;
                gatherEnd = stopTick;
            }
            if (gathering && reached(gatherEnd)) break;

            DWORD timeout = INFINITE;
            if (milliseconds >= 0) {
                const DWORD waited = GetTickCount() - start;
                if (waited >= static_cast<DWORD>(milliseconds)) break;
                timeout = static_cast<DWORD>(milliseconds) - waited;
            }
            if (gathering) timeout = std::min(timeout, timeUntil(gatherEnd));
            if (!waitOnce(timeout)) break;
        }
        output_.noteReported();
        error_.noteReported();
    }

    std::vector<std::string> takeOutputReads() override { return output_.take(); }
    std::vector<std::string> takeErrorReads() override { return error_.take(); }
    bool outputEnded() override { return output_.ended(); }
    bool errorEnded() override { return error_.ended(); }

    bool exited() override {
        if (!exitReported_ && WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) exitReported_ = true;
        return exitReported_;
    }

    // Both reads are cancelled before either is waited for, so that the two
    // together wait no longer than one.
    void abandonStreams() override {
        const DWORD deadline = GetTickCount() + cancelMilliseconds;
        output_.cancel();
        error_.cancel();
        output_.giveUp(deadline);
        error_.giveUp(deadline);
    }

    // The programs that the child started belong to its job; without a job
    // (the system refused one) only the child itself can be ended.
    void endTree() override {
        if (job_) TerminateJobObject(job_.get(), 1);
        end();
    }

private:
    // Waits for a read to finish, the child to end, a window message or the
    // time. True when a read finished or the time passed: the caller looks
    // again. The process handle stays signalled once the child has ended, so
    // it is left out once that end has been reported.
    bool waitOnce(DWORD timeout) {
        HANDLE handles[3];
        DWORD count = 0;
        for (HANDLE event : {output_.waitable(), error_.waitable()})
            if (event) handles[count++] = event;
        const DWORD processIndex = count;
        if (!exitReported_) handles[count++] = process_.get();
        const DWORD result = MsgWaitForMultipleObjectsEx(count, handles, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_TIMEOUT) return true;
        if (result >= WAIT_OBJECT_0 + count) return false; // a message, or a failed wait
        if (!exitReported_ && result == WAIT_OBJECT_0 + processIndex) {
            exitReported_ = true;
            return false;
        }
        return true;
    }

    OwnedHandle process_;
    OwnedHandle job_;
    OwnedHandle input_;
    PipeReader output_;
    PipeReader error_;
    bool exitReported_ = false;
};

} // namespace

std::unique_ptr<ConsoleChild> captureConsoleChild(OwnedHandle process, OwnedHandle job, OwnedHandle inputWrite,
                                                  OwnedHandle outputRead, OwnedHandle errorRead, uint32_t& errorCode) {
    auto child = std::make_unique<Win32ConsoleChild>(std::move(process), std::move(job), std::move(inputWrite),
                                                     std::move(outputRead), std::move(errorRead));
    if (!child->prepare()) {
        errorCode = GetLastError();
        child->end();
        return nullptr;
    }
    return child;
}

} // namespace platform::win32
