#include "platform/win32/ConsoleChild.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {
namespace {

constexpr DWORD outputPipeSize = 4096;
constexpr DWORD inputPipeSize = 65536;
constexpr DWORD errorPipeSize = 4096;
constexpr DWORD readSize = 1024;
constexpr DWORD gatherMilliseconds = 10;
// How long giving up both streams waits, in all, for the cancelled reads to
// finish: the close of the program waits for it.
constexpr DWORD cancelMilliseconds = 200;
constexpr DWORD terminateMilliseconds = 5000;

bool reached(DWORD tick) { return static_cast<int32_t>(GetTickCount() - tick) >= 0; }

// Milliseconds until tick, none once it has passed.
DWORD timeUntil(DWORD tick) {
    return static_cast<DWORD>(std::max<int32_t>(static_cast<int32_t>(tick - GetTickCount()), 0));
}

// What a read in flight writes into: it belongs to the system until the read
// has finished, so it lives on the heap, apart from its owner.
struct ReadInFlight {
    OVERLAPPED overlapped{};
    char buffer[readSize];
};

// One output pipe, read with overlapped reads started on the thread that owns
// the child. A read that finds data finishes at once and the next one starts;
// a read that has to wait for the child is left in flight, and its event is
// signalled when it has finished. A read returning nothing or failing ends
// the stream.
class PipeReader {
public:
    explicit PipeReader(OwnedHandle readEnd) : readEnd_(std::move(readEnd)) {}
    ~PipeReader() {
        cancel();
        giveUp(GetTickCount() + cancelMilliseconds);
    }
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

    // False, with the reason in GetLastError, when the event cannot be made.
    bool prepare() {
        read_ = std::make_unique<ReadInFlight>();
        event_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        return static_cast<bool>(event_);
    }

    // Takes the read in flight if it has finished, then reads on until a read
    // has to wait, the pipe ends, or the time for this round is up.
    void readAvailable(DWORD stopTick) {
        while (readEnd_) {
            if (inFlight_) {
                if (!HasOverlappedIoCompleted(&read_->overlapped)) return;
                inFlight_ = false;
                DWORD count = 0;
                const BOOL ok = GetOverlappedResult(readEnd_.get(), &read_->overlapped, &count, FALSE);
                if (!keep(ok, count)) return;
            }
            if (reached(stopTick)) return;
            read_->overlapped = OVERLAPPED{};
            read_->overlapped.hEvent = event_.get();
            DWORD count = 0;
            if (ReadFile(readEnd_.get(), read_->buffer, readSize, &count, &read_->overlapped)) {
                if (!keep(TRUE, count)) return;
            } else if (GetLastError() == ERROR_IO_PENDING) {
                inFlight_ = true;
            } else {
                keep(FALSE, 0);
                return;
            }
        }
    }

    // The event to wait for, or null when no read is in flight.
    HANDLE waitable() const { return inFlight_ ? event_.get() : nullptr; }

    std::vector<std::string> take() { return std::exchange(reads_, {}); }

    bool ended() {
        const bool ended = !readEnd_ && reads_.empty();
        if (ended) endReported_ = true;
        return ended;
    }

    // Reads not yet taken.
    bool hasReads() const { return !reads_.empty(); }
    // An end that was neither given up nor reported yet.
    bool hasNewEnd() const { return !readEnd_ && !givenUp_ && !endReported_; }

    // The caller is about to look at everything: an end seen now is reported.
    void noteReported() {
        if (!readEnd_) endReported_ = true;
    }

    // Asks the system to finish the read in flight at once.
    void cancel() {
        if (readEnd_ && inFlight_) CancelIoEx(readEnd_.get(), &read_->overlapped);
    }

    // Stops reading once cancel() has been asked: what the read in flight had
    // read by then is kept. Cancelling a read of this thread finishes it at
    // once; a read the system has not let go of by the deadline keeps its
    // memory and its event rather than having them freed under it.
    void giveUp(DWORD deadline) {
        if (!readEnd_) return;
        givenUp_ = true;
        if (inFlight_) {
            inFlight_ = false;
            if (WaitForSingleObject(event_.get(), timeUntil(deadline)) == WAIT_OBJECT_0) {
                DWORD count = 0;
                if (GetOverlappedResult(readEnd_.get(), &read_->overlapped, &count, FALSE) && count > 0)
                    reads_.emplace_back(read_->buffer, count);
            } else {
                (void)read_.release();
                (void)event_.release();
            }
        }
        readEnd_.reset();
    }

private:
    // Queues a finished read; false (and the pipe closed) when it ended the stream.
    bool keep(BOOL ok, DWORD count) {
        if (!ok || count == 0) {
            readEnd_.reset();
            return false;
        }
        reads_.emplace_back(read_->buffer, count);
        return true;
    }

    OwnedHandle readEnd_; // null once the stream has ended or was given up
    OwnedHandle event_;
    std::unique_ptr<ReadInFlight> read_;
    bool inFlight_ = false;
    bool givenUp_ = false;
    bool endReported_ = false;
    std::vector<std::string> reads_;
};

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

// Replaces a handle by an inheritable duplicate; the source is closed whether
// or not the duplicate is made.
bool makeInheritable(OwnedHandle& handle) {
    const HANDLE source = handle.release();
    return DuplicateHandle(GetCurrentProcess(), source, GetCurrentProcess(), handle.receive(), 0, TRUE,
                           DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS) != FALSE;
}

// The child's input: an anonymous pipe whose read end becomes the child's.
bool createInputPipe(OwnedHandle& readEnd, OwnedHandle& writeEnd) {
    return CreatePipe(readEnd.receive(), writeEnd.receive(), nullptr, inputPipeSize) && makeInheritable(readEnd);
}

// An output pipe: a pipe of one instance whose read end, this process's, is
// opened for overlapped reads, and whose write end, the child's, is opened as
// an anonymous pipe's is (synchronous, write access and the right to read its
// attributes), then made inheritable. The name is this process's own and used
// once.
bool createOutputPipe(OwnedHandle& readEnd, OwnedHandle& writeEnd, DWORD size) {
    static LONG serial = 0;
    const std::string name = "\\\\.\\pipe\\velumo-capture-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(InterlockedIncrement(&serial));
    readEnd.reset(CreateNamedPipeA(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, size, size, 0, nullptr));
    if (readEnd.get() == INVALID_HANDLE_VALUE) {
        (void)readEnd.release();
        return false;
    }
    writeEnd.reset(CreateFileA(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (writeEnd.get() == INVALID_HANDLE_VALUE) {
        (void)writeEnd.release();
        return false;
    }
    return makeInheritable(writeEnd);
}

// A job for the child, so that ending it can end whatever it started too (a
// compiler that runs other programs). The child is put into it right after its
// start, which keeps its creation flags those of a plain hidden console program.
// No job (null) when the system refuses one, for example inside a job that
// forbids nesting.
OwnedHandle jobHolding(HANDLE process) {
    OwnedHandle job(CreateJobObjectA(nullptr, nullptr));
    if (job && !AssignProcessToJobObject(job.get(), process)) job.reset();
    return job;
}

} // namespace

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
        OwnedHandle process(info.hProcess);
        CloseHandle(info.hThread);
        OwnedHandle job = jobHolding(process.get());
        // Only the child holds its ends now, so each pipe ends when the child
        // (and whatever inherited them from it) closes them.
        outputWrite.reset();
        inputRead.reset();
        errorWrite.reset();

        auto child = std::make_unique<Win32ConsoleChild>(std::move(process), std::move(job), std::move(inputWrite),
                                                         std::move(outputRead), std::move(errorRead));
        if (!child->prepare()) {
            errorCode = GetLastError();
            child->end();
            return nullptr;
        }
        return child;
    }

    std::string systemErrorText(uint32_t code) override {
        char buffer[1024];
        const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                            MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
        std::string text(buffer, length);
        const std::size_t end = text.find_last_not_of("\r\n \t");
        text.erase(end == std::string::npos ? 0 : end + 1);
        return text;
    }

    uint32_t tickCount() override { return GetTickCount(); }
};

} // namespace

std::unique_ptr<ProcessService> createWin32ProcessService() { return std::make_unique<Win32ProcessService>(); }

} // namespace platform::win32
