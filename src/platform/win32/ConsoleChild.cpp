#include "platform/win32/ConsoleChild.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
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
constexpr DWORD gatherStepMilliseconds = 1;
constexpr int mostGatherSteps = 10;
constexpr DWORD abandonMilliseconds = 1000;
constexpr DWORD terminateMilliseconds = 5000;

// What a reader thread shares with its owner. The thread holds a share of its
// own, so a thread that outlives its owner (a read that would not stop) still
// finds everything it uses, and frees it when it ends.
struct ReaderState {
    OwnedHandle readEnd; // used and closed by the thread once it has started
    std::shared_ptr<OwnedHandle> activity;
    std::mutex mutex;
    std::vector<std::string> reads;    // guarded by mutex
    bool finished = false;             // guarded by mutex
    std::atomic<bool> stopping{false}; // set under mutex: no read is queued after it
};

// Drains one pipe on a thread of its own into a queue of reads. Each read
// that finds the queue empty signals the activity event; a reader that has
// finished signals it too, unless it was told to stop. A read returning
// nothing or failing ends the stream.
class StreamReader {
public:
    StreamReader(OwnedHandle readEnd, std::shared_ptr<OwnedHandle> activity) : state_(std::make_shared<ReaderState>()) {
        state_->readEnd = std::move(readEnd);
        state_->activity = std::move(activity);
    }
    ~StreamReader() { abandon(); }
    StreamReader(const StreamReader&) = delete;
    StreamReader& operator=(const StreamReader&) = delete;

    // False (with the thread's error as the last error) when no thread could start.
    bool start(ThreadStarter startThread) {
        auto threadsShare = std::make_unique<std::shared_ptr<ReaderState>>(state_);
        thread_.reset(startThread(&StreamReader::run, threadsShare.get()));
        if (!thread_) return false;
        threadsShare.release(); // the thread owns it now
        return true;
    }

    std::vector<std::string> take() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return std::exchange(state_->reads, {});
    }

    bool ended() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        const bool ended = (state_->finished || abandoned_) && state_->reads.empty();
        if (ended) endReported_ = true;
        return ended;
    }

    // Reads not yet taken.
    size_t pendingReads() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->reads.size();
    }

    // Reads not yet taken, or an end not yet reported.
    bool hasNews() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return !state_->reads.empty() || (state_->finished && !endReported_ && !abandoned_);
    }

    // The caller is about to look at everything: an end seen now is reported.
    void noteReported() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->finished) endReported_ = true;
    }

    // A synchronous ReadFile blocked on a pipe whose write end another program
    // still holds only returns when cancelled, and a cancel that arrives just
    // before the thread enters ReadFile is lost, so it is repeated for a
    // while. A thread that still has not ended is left to end on its own: it
    // keeps its share of the state and closes the read end then (closing it
    // here, under a blocked read, would not wake the read anyway).
    void abandon() {
        if (abandoned_) return;
        abandoned_ = true;
        {
            std::lock_guard<std::mutex> lock(state_->mutex);
            state_->stopping = true;
        }
        if (!thread_) return;
        const DWORD start = GetTickCount();
        do {
            CancelSynchronousIo(thread_.get());
            if (WaitForSingleObject(thread_.get(), 10) != WAIT_TIMEOUT) break;
        } while (GetTickCount() - start < abandonMilliseconds);
        thread_.reset();
    }

private:
    static DWORD WINAPI run(void* share) {
        const std::unique_ptr<std::shared_ptr<ReaderState>> state(static_cast<std::shared_ptr<ReaderState>*>(share));
        readUntilEnd(**state);
        return 0;
    }

    static void readUntilEnd(ReaderState& state) noexcept {
        try {
            char buffer[readSize];
            while (!state.stopping) {
                DWORD count = 0;
                if (!ReadFile(state.readEnd.get(), buffer, readSize, &count, nullptr) || count == 0) break;
                bool wasEmpty;
                {
                    std::lock_guard<std::mutex> lock(state.mutex);
                    if (state.stopping) break;
                    wasEmpty = state.reads.empty();
                    state.reads.emplace_back(buffer, count);
                }
                if (wasEmpty) SetEvent(state.activity->get());
            }
        } catch (...) {
            // Out of memory: the stream ends with the reads queued so far.
        }
        state.readEnd.reset();
        bool tell;
        {
            std::lock_guard<std::mutex> lock(state.mutex);
            state.finished = true;
            tell = !state.stopping;
        }
        if (tell) SetEvent(state.activity->get());
    }

    std::shared_ptr<ReaderState> state_;
    OwnedHandle thread_;
    bool abandoned_ = false;
    bool endReported_ = false;
};

class Win32ConsoleChild final : public ConsoleChild {
public:
    Win32ConsoleChild(OwnedHandle process, OwnedHandle job, OwnedHandle inputWrite, OwnedHandle outputRead,
                      OwnedHandle errorRead, std::shared_ptr<OwnedHandle> activity)
        : process_(std::move(process)), job_(std::move(job)), input_(std::move(inputWrite)),
          activity_(std::move(activity)), output_(std::move(outputRead), activity_),
          error_(std::move(errorRead), activity_) {}

    bool startReading(ThreadStarter startThread) { return output_.start(startThread) && error_.start(startThread); }

    // Ends a child whose capture could not be set up, so it never runs on
    // hidden; its end closes its pipe ends, which ends a reader already started.
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

    // The activity event may stand for output that was taken without a wait,
    // or for an end already reported; a wake-up without news waits on for the
    // time that is left. Reads that keep coming are let gather before the
    // return.
    void waitForActivity(int milliseconds) override {
        const DWORD start = GetTickCount();
        while (!output_.hasNews() && !error_.hasNews()) {
            DWORD timeout = INFINITE;
            if (milliseconds >= 0) {
                const DWORD waited = GetTickCount() - start;
                if (waited >= static_cast<DWORD>(milliseconds)) break;
                timeout = static_cast<DWORD>(milliseconds) - waited;
            }
            // The process handle stays signalled once the child has ended; it
            // is left out once that end has been reported.
            const HANDLE handles[2] = {activity_->get(), process_.get()};
            const DWORD count = exitReported_ ? 1 : 2;
            const DWORD result = MsgWaitForMultipleObjectsEx(count, handles, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (result != WAIT_OBJECT_0) {
                if (count == 2 && result == WAIT_OBJECT_0 + 1) exitReported_ = true;
                break; // the child's end, a message, the time, or a failed wait
            }
        }
        gatherReads();
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

    void abandonStreams() override {
        output_.abandon();
        error_.abandon();
    }

    // The programs that the child started belong to its job; without a job
    // (the system refused one) only the child itself can be ended.
    void endTree() override {
        if (job_) TerminateJobObject(job_.get(), 1);
        end();
    }

private:
    // Each return with reads costs the caller a round of taking them and
    // handling messages, and the reader a signal at its next read: round
    // trips to the Wine server that compete with the child for the CPU.
    // Waking once per 1024-byte read cost about 40% of the throughput here.
    // So while reads keep coming, they gather a millisecond at a time, for at
    // most about ten (the readers queue without a bound, so the child never
    // waits for this); a pause in the output, or its end, returns at once.
    void gatherReads() {
        size_t pending = output_.pendingReads() + error_.pendingReads();
        for (int step = 0; pending > 0 && step < mostGatherSteps; ++step) {
            Sleep(gatherStepMilliseconds);
            const size_t now = output_.pendingReads() + error_.pendingReads();
            if (now == pending) break;
            pending = now;
        }
    }

    OwnedHandle process_;
    OwnedHandle job_;
    OwnedHandle input_;
    std::shared_ptr<OwnedHandle> activity_; // shared with the reader threads, which may outlive this object
    StreamReader output_;
    StreamReader error_;
    bool exitReported_ = false;
};

// Creates an anonymous pipe (not inheritable) and replaces the child's end by
// an inheritable duplicate, so the child inherits exactly that end.
bool createPipe(OwnedHandle& readEnd, OwnedHandle& writeEnd, DWORD size, bool childReads) {
    if (!CreatePipe(readEnd.receive(), writeEnd.receive(), nullptr, size)) return false;
    OwnedHandle& childEnd = childReads ? readEnd : writeEnd;
    // The source is closed whether or not the duplicate is made.
    const HANDLE source = childEnd.release();
    return DuplicateHandle(GetCurrentProcess(), source, GetCurrentProcess(), childEnd.receive(), 0, TRUE,
                           DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS) != FALSE;
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

HANDLE createThread(LPTHREAD_START_ROUTINE routine, void* parameter) {
    return CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
}

class Win32ProcessService final : public ProcessService {
public:
    explicit Win32ProcessService(ThreadStarter startThread) : startThread_(startThread) {}

    std::unique_ptr<ConsoleChild> startConsole(const std::string& commandLine, uint32_t& errorCode) override {
        errorCode = 0;
        OwnedHandle outputRead, outputWrite, inputRead, inputWrite, errorRead, errorWrite;
        if (!createPipe(outputRead, outputWrite, outputPipeSize, false) ||
            !createPipe(inputRead, inputWrite, inputPipeSize, true) ||
            !createPipe(errorRead, errorWrite, errorPipeSize, false)) {
            errorCode = GetLastError();
            return nullptr;
        }
        auto activity = std::make_shared<OwnedHandle>(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (!*activity) {
            errorCode = GetLastError();
            return nullptr;
        }

        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        startup.hStdInput = inputRead.get();
        startup.hStdOutput = outputWrite.get();
        startup.hStdError = errorWrite.get();
        PROCESS_INFORMATION info{};
        std::string writableCommandLine = commandLine; // CreateProcessA may write into it
        if (!CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, TRUE,
                            CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
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

        auto child =
            std::make_unique<Win32ConsoleChild>(std::move(process), std::move(job), std::move(inputWrite),
                                                std::move(outputRead), std::move(errorRead), std::move(activity));
        if (!child->startReading(startThread_)) {
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

private:
    ThreadStarter startThread_;
};

} // namespace

std::unique_ptr<ProcessService> createWin32ProcessService(ThreadStarter startThread) {
    return std::make_unique<Win32ProcessService>(startThread ? startThread : &createThread);
}

} // namespace platform::win32
