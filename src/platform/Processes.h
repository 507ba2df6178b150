#pragma once
// Console programs run hidden with their standard streams on pipes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A console program running hidden, its standard input, output and error on
// pipes of which this process keeps only its own ends: the child inherits
// exactly its three. Destroying the object closes every handle it still
// holds; it never ends the child.
class ConsoleChild {
public:
    virtual ~ConsoleChild() = default;
    // Writes the bytes in one write, then closes the input, so a child that
    // reads on sees the end of its input instead of waiting for more.
    virtual void writeInputAndClose(const std::string& bytes) = 0;
    // Returns once output has arrived, a stream has ended, the child has
    // ended, a window message is waiting, or the time has passed (-1: no limit).
    virtual void waitForActivity(int milliseconds) = 0;
    // The reads made since the last call, each as one read returned it
    // (at most 1024 bytes), in the stream's order.
    virtual std::vector<std::string> takeOutputReads() = 0;
    virtual std::vector<std::string> takeErrorReads() = 0;
    // The pipe has ended (every write end closed) and every read has been taken.
    virtual bool outputEnded() = 0;
    virtual bool errorEnded() = 0;
    virtual bool exited() = 0;
    // Stops reading and closes the read ends, so a program that inherited the
    // write ends and still runs no longer holds up the capture.
    virtual void abandonStreams() = 0;
    virtual void waitForExit() = 0;
};

class ProcessService {
public:
    virtual ~ProcessService() = default;
    // Starts the command line hidden, without a console window, in the current
    // folder. On failure: null, with the system's error code in errorCode and
    // no handle left open.
    virtual std::unique_ptr<ConsoleChild> startConsole(const std::string& commandLine, uint32_t& errorCode) = 0;
    // The system's text for an error code.
    virtual std::string systemErrorText(uint32_t code) = 0;
    // A clock in milliseconds.
    virtual uint32_t tickCount() = 0;
};

} // namespace platform
