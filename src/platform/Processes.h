#pragma once
// Starting other programs, in the three ways the program starts them: a
// companion (the editor or the viewer) whose window is looked for afterwards;
// a program started and left to itself with a show state (the editor of an
// error jump, the viewer's DDE server); and a console program run hidden with
// its standard streams on pipes (the compile).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// How a started program shows its first window.
enum class ShowState {
    Normal,        // shown and activated as it is
    MinNoActivate, // minimised, the active window staying active
};

// A program that startCompanion or startUntracked started. It owns the
// process's and its first thread's handles and closes them when destroyed;
// the program runs on.
class StartedProgram {
public:
    virtual ~StartedProgram() = default;
    virtual uint32_t processId() const = 0;
    // Waits until the program waits for input, or the time has passed: true
    // then. False as soon as a message for this program's own windows is
    // waiting, so that the caller can handle it and wait on.
    virtual bool waitForInputIdle(int milliseconds) = 0;
};

// A console program running hidden, its standard input, output and error on
// pipes of which this process keeps only its own ends: the child inherits
// exactly its three. The output is read on the thread that uses the object,
// while it waits in waitForActivity. Destroying the object gives up the
// streams as abandonStreams does and closes every handle it holds; it never
// ends the child.
class ConsoleChild {
public:
    virtual ~ConsoleChild() = default;
    // Writes the bytes in one write, then closes the input, so a child that
    // reads on sees the end of its input instead of waiting for more.
    virtual void writeInputAndClose(const std::string& bytes) = 0;
    // Returns once there is news for the caller, or once the time has passed
    // (-1: no limit). News is: reads not yet taken; a stream's end or the
    // child's end that neither a query nor an earlier return of this wait has
    // reported; a window message in the queue. It returns at once while there
    // is news, and never for news already collected, except that reads which
    // keep coming are let gather for up to about ten milliseconds first.
    virtual void waitForActivity(int milliseconds) = 0;
    // The reads made since the last call, each as one read returned it
    // (at most 1024 bytes), in the stream's order.
    virtual std::vector<std::string> takeOutputReads() = 0;
    virtual std::vector<std::string> takeErrorReads() = 0;
    // The pipe has ended (every write end closed) and every read has been taken.
    virtual bool outputEnded() = 0;
    virtual bool errorEnded() = 0;
    // The child has ended.
    virtual bool exited() = 0;
    // Stops reading, so a program that inherited the write ends and still runs
    // no longer holds up the capture: both streams end once their reads are
    // taken, including what was read before the streams were given up.
    // Returns at once.
    virtual void abandonStreams() = 0;
    // Ends the child and every program it started since, then gives up the
    // streams as abandonStreams does. Returns once the child has ended.
    virtual void endTree() = 0;
};

class ProcessService {
public:
    virtual ~ProcessService() = default;
    // Starts a companion's command line with the default show state, no
    // inherited handles and the default error mode, in the current folder.
    // Null with the system's error code when refused.
    [[nodiscard]] virtual std::unique_ptr<StartedProgram> startCompanion(const std::string& commandLine,
                                                                         uint32_t& errorCode) = 0;
    // Starts a command line whose window nothing looks for afterwards, its
    // first window shown as asked, nothing inherited, in the current folder.
    // Null when it cannot be started.
    [[nodiscard]] virtual std::unique_ptr<StartedProgram> startUntracked(const std::string& commandLine,
                                                                         ShowState show) = 0;
    // Starts the command line hidden, without a console window, in the current
    // folder. On failure: null, with the system's error code in errorCode, no
    // handle left open and no program left running (a child that started
    // before the capture could be set up has been ended).
    virtual std::unique_ptr<ConsoleChild> startConsole(const std::string& commandLine, uint32_t& errorCode) = 0;
    // The system's text for an error code.
    virtual std::string systemErrorText(uint32_t code) = 0;
    // A clock in milliseconds.
    virtual uint32_t tickCount() = 0;
};

} // namespace platform
