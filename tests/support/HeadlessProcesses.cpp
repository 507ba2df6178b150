#include "support/HeadlessProcesses.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace headless {
namespace {
class ScriptedChild : public platform::ConsoleChild {
public:
    ScriptedChild(ScriptedProcesses& owner, ScriptedRun run) : owner_(owner), run_(std::move(run)) {
        owner_.openHandles += 4; // three pipe ends and the process
        owner_.mostRunningAtOnce = std::max(owner_.mostRunningAtOnce, ++owner_.running);
    }
    ~ScriptedChild() override { owner_.openHandles -= 4; }

    void writeInputAndClose(const std::string& bytes) override { owner_.inputs.push_back(bytes); }
    // Each wait is a step of the program's life: at the first it closes its
    // streams, and it ends waitsAfterStreams steps later.
    void waitForActivity(int milliseconds) override {
        if (exited_) {
            if (milliseconds > 0) owner_.clock += static_cast<uint32_t>(milliseconds);
            return;
        }
        if (run_.whileRunning) run_.whileRunning();
        if (run_.runsForever) {
            if (++waitsForever_ > 10000) throw std::logic_error("a program that runs for ever was never ended");
            return;
        }
        if (!streamsClosed_) {
            streamsClosed_ = true;
        } else {
            --run_.waitsAfterStreams;
        }
        if (run_.waitsAfterStreams <= 0 || run_.keepsPipesOpen) exit();
    }
    std::vector<std::string> takeOutputReads() override { return std::exchange(run_.outputReads, {}); }
    std::vector<std::string> takeErrorReads() override { return std::exchange(run_.errorReads, {}); }
    bool outputEnded() override { return streamsEnded() && run_.outputReads.empty(); }
    bool errorEnded() override { return streamsEnded() && run_.errorReads.empty(); }
    bool exited() override { return exited_; }
    void abandonStreams() override { abandoned_ = true; }
    void endTree() override {
        ++owner_.endedTrees;
        abandoned_ = true;
        if (!exited_) exit();
    }

private:
    bool streamsEnded() const { return abandoned_ || (streamsClosed_ && !run_.keepsPipesOpen); }
    void exit() {
        exited_ = true;
        --owner_.running;
    }

    ScriptedProcesses& owner_;
    ScriptedRun run_;
    bool streamsClosed_ = false;
    bool exited_ = false;
    bool abandoned_ = false;
    int waitsForever_ = 0;
};
} // namespace

std::unique_ptr<platform::ConsoleChild> ScriptedProcesses::startConsole(const std::string& commandLine,
                                                                        uint32_t& errorCode) {
    started.push_back(commandLine);
    auto failure = failures.find(commandLine);
    if (failure != failures.end()) {
        errorCode = failure->second;
        return nullptr;
    }
    return std::make_unique<ScriptedChild>(*this, run);
}

std::string ScriptedProcesses::systemErrorText(uint32_t code) {
    return code == 2 ? "指定されたファイルが見つかりません。" : "エラー " + std::to_string(code);
}

} // namespace headless
