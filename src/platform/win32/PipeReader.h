#pragma once
// Reading one output pipe of a console child with overlapped reads.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Clock.h"
#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

constexpr DWORD readSize = 1024;
// How long giving up both streams waits, in all, for the cancelled reads to
// finish: the close of the program waits for it.
constexpr DWORD cancelMilliseconds = 200;

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

} // namespace platform::win32
