#include "ConsoleRedirect.h"

#include "platform/Exception.h"
#include "text/Format.h"

using namespace platform;

namespace {
constexpr uint32_t graceAfterExitMs = 2000;

// A read's bytes up to its first zero byte, as the capture has always kept them.
void appendReads(std::string& text, const std::vector<std::string>& reads) {
    for (const std::string& read : reads)
        text.append(read.c_str());
}

EOSError startError(uint32_t code, const std::string& systemText) {
    if (code == 0) return EOSError(code, "OS 機能呼び出しの失敗");
    return EOSError(code, text::formatText("システムエラー。コード：" + std::to_string(code) + ".\r\n%s", systemText));
}

// Collects both streams until they end, handling window messages before each
// look. A stream still open two seconds after the program ended is held by a
// program it started; the capture stops reading it and keeps what came.
void collectStreams(ProcessService& processes, Toolkit& toolkit, ConsoleChild& child, std::string& outputText,
                    std::string& errorText) {
    bool exitSeen = false;
    uint32_t exitTick = 0;
    while (true) {
        toolkit.processMessages();
        appendReads(outputText, child.takeOutputReads());
        appendReads(errorText, child.takeErrorReads());
        if (child.outputEnded() && child.errorEnded()) return;

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
            appendReads(outputText, child.takeOutputReads());
            appendReads(errorText, child.takeErrorReads());
            return;
        }
        child.waitForActivity(static_cast<int>(graceAfterExitMs - waited));
    }
}

// A program may close its streams and run on; the window stays responsive
// until it ends, however long that takes.
void waitForEnd(Toolkit& toolkit, ConsoleChild& child) {
    while (true) {
        toolkit.processMessages();
        if (child.exited()) return;
        child.waitForActivity(-1);
    }
}
} // namespace

bool RunConsoleRedirect(ProcessService& processes, Toolkit& toolkit, const std::string& commandLine,
                        const std::string& inputText, std::string& outputText, std::string& errorText) {
    const std::string input = inputText + '\x1A';
    outputText.clear();
    errorText.clear();

    uint32_t code = 0;
    std::unique_ptr<ConsoleChild> child = processes.startConsole(commandLine, code);
    if (!child) throw startError(code, processes.systemErrorText(code));

    child->writeInputAndClose(input);
    collectStreams(processes, toolkit, *child, outputText, errorText);
    waitForEnd(toolkit, *child);
    return true;
}
