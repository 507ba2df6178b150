#include "platform/win32/ConsoleChild.h"

#include <windows.h>

#include <atomic>
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
constexpr DWORD gatherMilliseconds = 1;

// Drains one pipe on a thread of its own into a queue of reads. Each read
// that finds the queue empty signals the activity event; a reader that has
// finished signals it too. A read returning nothing or failing ends the stream.
class StreamReader {
public:
    StreamReader(OwnedHandle readEnd, HANDLE activity) : readEnd_(std::move(readEnd)), activity_(activity) {}
    ~StreamReader() { abandon(); }
    StreamReader(const StreamReader&) = delete;
    StreamReader& operator=(const StreamReader&) = delete;

    // False (with the thread's error as the last error) when no thread could start.
    bool start() {
        thread_.reset(CreateThread(nullptr, 0, &StreamReader::run, this, 0, nullptr));
        return static_cast<bool>(thread_);
    }

    std::vector<std::string> take() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(reads_, {});
    }

    bool hasReads() {
        std::lock_guard<std::mutex> lock(mutex_);
        return !reads_.empty();
    }

    // Finished is read before the queue: every read was queued before it was set.
    bool ended() { return finished_.load() && !hasReads(); }

    // A synchronous ReadFile blocked on a pipe whose write end another program
    // still holds only returns when cancelled, and a cancel that arrives just
    // before the thread enters ReadFile is lost, so it is repeated until the
    // thread has ended. The read end is closed only after that: closing it
    // under a blocked read does not wake the read.
    void abandon() {
        if (thread_) {
            stopping_ = true;
            while (true) {
                CancelSynchronousIo(thread_.get());
                if (WaitForSingleObject(thread_.get(), 10) != WAIT_TIMEOUT) break;
            }
            thread_.reset();
        }
        readEnd_.reset();
        finished_ = true;
    }

private:
    static DWORD WINAPI run(void* self) {
        static_cast<StreamReader*>(self)->readUntilEnd();
        return 0;
    }

    void readUntilEnd() noexcept {
        try {
            char buffer[readSize];
            while (!stopping_) {
                DWORD count = 0;
                if (!ReadFile(readEnd_.get(), buffer, readSize, &count, nullptr) || count == 0) break;
                bool wasEmpty;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    wasEmpty = reads_.empty();
                    reads_.emplace_back(buffer, count);
                }
                if (wasEmpty) SetEvent(activity_);
            }
        } catch (...) {
            // Out of memory: the stream ends with the reads queued so far.
        }
        finished_ = true;
        SetEvent(activity_);
    }

    OwnedHandle readEnd_;
    HANDLE activity_; // owned by the ConsoleChild, which outlives this reader
    OwnedHandle thread_;
    std::mutex mutex_;
    std::vector<std::string> reads_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> stopping_{false};
};

class Win32ConsoleChild final : public ConsoleChild {
public:
    Win32ConsoleChild(OwnedHandle process, OwnedHandle inputWrite, OwnedHandle outputRead, OwnedHandle errorRead,
                      OwnedHandle activity)
        : process_(std::move(process)), input_(std::move(inputWrite)), activity_(std::move(activity)),
          output_(std::move(outputRead), activity_.get()), error_(std::move(errorRead), activity_.get()) {}

    bool startReading() { return output_.start() && error_.start(); }

    void writeInputAndClose(const std::string& bytes) override {
        if (!input_) return;
        DWORD written = 0;
        // A child that has already ended makes this fail; there is nothing to do about it.
        WriteFile(input_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        input_.reset();
    }

    void waitForActivity(int milliseconds) override {
        // Reads not yet taken count as arrived output.
        if (output_.hasReads() || error_.hasReads()) return;
        // The process handle stays signalled once the child has ended; waiting
        // on it again would return at once every time.
        const HANDLE handles[2] = {activity_.get(), process_.get()};
        const DWORD count = exitSeen_ ? 1 : 2;
        const DWORD timeout = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
        const DWORD result = MsgWaitForMultipleObjectsEx(count, handles, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 + 1) exitSeen_ = true;
        // Each wake-up on output costs a signal and a wait, both round trips
        // to the Wine server; waking once per 1024-byte read cost about
        // 40% of the throughput here. Letting a millisecond of reads gather
        // keeps wake-ups to about a thousand a second.
        if (result == WAIT_OBJECT_0) Sleep(gatherMilliseconds);
    }

    std::vector<std::string> takeOutputReads() override { return output_.take(); }
    std::vector<std::string> takeErrorReads() override { return error_.take(); }
    bool outputEnded() override { return output_.ended(); }
    bool errorEnded() override { return error_.ended(); }

    bool exited() override {
        if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) exitSeen_ = true;
        return exitSeen_;
    }

    void abandonStreams() override {
        output_.abandon();
        error_.abandon();
    }

    void waitForExit() override { WaitForSingleObject(process_.get(), INFINITE); }

private:
    // Declared before the readers, which use the event until they are destroyed.
    OwnedHandle process_;
    OwnedHandle input_;
    OwnedHandle activity_;
    StreamReader output_;
    StreamReader error_;
    bool exitSeen_ = false;
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

class Win32ProcessService final : public ProcessService {
public:
    std::unique_ptr<ConsoleChild> startConsole(const std::string& commandLine, uint32_t& errorCode) override {
        errorCode = 0;
        OwnedHandle outputRead, outputWrite, inputRead, inputWrite, errorRead, errorWrite;
        if (!createPipe(outputRead, outputWrite, outputPipeSize, false) ||
            !createPipe(inputRead, inputWrite, inputPipeSize, true) ||
            !createPipe(errorRead, errorWrite, errorPipeSize, false)) {
            errorCode = GetLastError();
            return nullptr;
        }
        OwnedHandle activity(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        if (!activity) {
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
        // Only the child holds its ends now, so each pipe ends when the child
        // (and whatever inherited them from it) closes them.
        outputWrite.reset();
        inputRead.reset();
        errorWrite.reset();

        auto child =
            std::make_unique<Win32ConsoleChild>(std::move(process), std::move(inputWrite), std::move(outputRead),
                                                std::move(errorRead), std::move(activity));
        if (!child->startReading()) {
            errorCode = GetLastError();
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
