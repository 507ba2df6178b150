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
    bool exitSeen = false;
    uint32_t exitTick = 0;
    while (true) {
        toolkit.processMessages();
        appendReads(outputText, child->takeOutputReads());
        appendReads(errorText, child->takeErrorReads());
        if (child->outputEnded() && child->errorEnded()) break;

        if (!exitSeen && child->exited()) {
            exitSeen = true;
            exitTick = processes.tickCount();
        }
        if (exitSeen) {
            const uint32_t waited = processes.tickCount() - exitTick;
            if (waited >= graceAfterExitMs) {
                child->abandonStreams();
                appendReads(outputText, child->takeOutputReads());
                appendReads(errorText, child->takeErrorReads());
                break;
            }
            child->waitForActivity(static_cast<int>(graceAfterExitMs - waited));
        } else {
            child->waitForActivity(-1);
        }
    }
    child->waitForExit();
    return true;
}
