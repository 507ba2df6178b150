#include "features/ConsoleRedirect.h"

#include <algorithm>

#include "platform/Exception.h"
#include "text/Format.h"

using namespace platform;

namespace {
constexpr uint32_t graceAfterExitMs = 2000;

// A zero byte in the child's output is no text: it is dropped, and every
// byte after it is kept (an error line may follow it in the same read). One
// pass over each read.
void appendReads(std::string& text, const std::vector<std::string>& reads) {
    for (const std::string& read : reads)
        for (size_t at = 0; at < read.size();) {
            const size_t zero = std::min(read.find('\0', at), read.size());
            text.append(read, at, zero - at);
            at = zero + 1;
        }
}

EOSError startError(uint32_t code, const std::string& systemText) {
    if (code == 0) return EOSError(code, "OS 機能呼び出しの失敗");
    return EOSError(code, text::formatText("システムエラー。コード：" + std::to_string(code) + ".\r\n%s", systemText));
}

// The streams of one running program and what has been read from them.
struct Capture {
    ConsoleChild& child;
    CapturedOutput& captured;
    const std::function<bool()>& endRequested;

    void takeReads() {
        appendReads(captured.output, child.takeOutputReads());
        appendReads(captured.errors, child.takeErrorReads());
    }

    // Handles the window's messages; when one of them asked the program to end,
    // the compiler and all it started are ended, keeping what they wrote.
    bool handleMessagesAndEnd(Toolkit& toolkit) {
        toolkit.processMessages();
        if (!endRequested || !endRequested()) return false;
        child.endTree();
        takeReads();
        return true;
    }
};

// Collects both streams until they end. A stream still open two seconds after
// the program ended is held by a program it started; the capture stops reading
// it and keeps what came. False when the capture was ended early.
bool collectStreams(ProcessService& processes, Toolkit& toolkit, Capture& capture) {
    ConsoleChild& child = capture.child;
    bool exitSeen = false;
    uint32_t exitTick = 0;
    while (true) {
        if (capture.handleMessagesAndEnd(toolkit)) return false;
        capture.takeReads();
        if (child.outputEnded() && child.errorEnded()) return true;

        if (!exitSeen && child.exited()) {
            exitSeen = true;
            exitTick = processes.tickCount();
        }
        if (!exitSeen) {
            child.waitForActivity(-1);
            continue;
        }
        const uint32_t waited = processes.tickCount() - exitTick;
        if (waited >= graceAfterExitMs) {
            child.abandonStreams();
            capture.takeReads();
            return true;
        }
        child.waitForActivity(static_cast<int>(graceAfterExitMs - waited));
    }
}

// A program may close its streams and run on; the window stays responsive
// until it ends, however long that takes. Its streams have ended or were
// given up, and what they brought has been taken.
void waitForEnd(Toolkit& toolkit, Capture& capture) {
    while (!capture.handleMessagesAndEnd(toolkit) && !capture.child.exited())
        capture.child.waitForActivity(-1);
}
} // namespace

CapturedOutput RunConsoleRedirect(ProcessService& processes, Toolkit& toolkit, const std::string& commandLine,
                                  const std::string& inputText, const std::function<bool()>& endRequested) {
    const std::string input = inputText + '\x1A';

    uint32_t code = 0;
    std::unique_ptr<ConsoleChild> child = processes.startConsole(commandLine, code);
    if (!child) throw startError(code, processes.systemErrorText(code));

    child->writeInputAndClose(input);
    CapturedOutput captured;
    Capture capture{*child, captured, endRequested};
    if (collectStreams(processes, toolkit, capture)) waitForEnd(toolkit, capture);
    return captured;
}
