#include "support/HeadlessProcesses.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace headless {
namespace {
// The program of a quoted program call: the text between the first two quotes.
std::string programOf(const std::string& commandLine) {
    if (commandLine.empty() || commandLine[0] != '"') return commandLine;
    return commandLine.substr(1, commandLine.find('"', 1) - 1);
}

// Holds the process's and the thread's handle.
class ScriptedProgram : public platform::StartedProgram {
public:
    ScriptedProgram(ScriptedProcesses& owner, uint32_t processId) : owner_(owner), processId_(processId) {
        owner_.openHandles += 2;
    }
    ~ScriptedProgram() override { owner_.openHandles -= 2; }
    ScriptedProgram(const ScriptedProgram&) = delete;
    ScriptedProgram& operator=(const ScriptedProgram&) = delete;
    uint32_t processId() const override { return processId_; }
    // Ready at once, unless something is to happen meanwhile: it happens,
    // and the wait returns as for a message that came first.
    bool waitForInputIdle(int milliseconds) override {
        owner_.companions.idleWaits.push_back(milliseconds);
        if (!owner_.companions.whileGettingReady) return true;
        std::exchange(owner_.companions.whileGettingReady, nullptr)();
        return false;
    }

private:
    ScriptedProcesses& owner_;
    uint32_t processId_;
};

class ScriptedChild : public platform::ConsoleChild {
public:
    ScriptedChild(ScriptedProcesses& owner, const ScriptedRun& run)
        : owner_(owner), run_(run), output_(run.outputReads), error_(run.errorReads) {
        owner_.openHandles += 4; // three pipe ends and the process
        owner_.mostRunningAtOnce = std::max(owner_.mostRunningAtOnce, ++owner_.running);
    }
    ~ScriptedChild() override { owner_.openHandles -= 4; }

    void writeInputAndClose(const std::string& bytes) override { owner_.inputs.push_back(bytes); }
    // Each wait is a step of the program's life. Once the program has ended,
    // a wait at which nothing happens lasts as long as it may.
    void waitForActivity(int milliseconds) override {
        if (!exited_) {
            if (run_.whileRunning) run_.whileRunning();
            if (++step_ > 10000) throw std::logic_error("a program that runs for ever was never ended");
        }
        const bool heldOpen = run_.keepsPipesOpen || run_.runsForever;
        const bool stalled = heldOpen && exited_;
        const bool happened = output_.step(heldOpen, stalled) | error_.step(heldOpen, stalled);
        if (exited_) {
            if (!happened && milliseconds > 0) owner_.clock += static_cast<uint32_t>(milliseconds);
            return;
        }
        if (run_.runsForever) return;
        const bool streamsDone = output_.done(heldOpen) && error_.done(heldOpen);
        if (run_.exitsAtStep > 0 ? step_ >= run_.exitsAtStep : streamsDone) exit();
    }
    std::vector<std::string> takeOutputReads() override { return std::exchange(output_.arrived, {}); }
    std::vector<std::string> takeErrorReads() override { return std::exchange(error_.arrived, {}); }
    bool outputEnded() override { return output_.ended(); }
    bool errorEnded() override { return error_.ended(); }
    bool exited() override { return exited_; }
    void abandonStreams() override {
        output_.giveUp();
        error_.giveUp();
    }
    void endTree() override {
        ++owner_.endedTrees;
        abandonStreams();
        if (!exited_) exit();
    }

private:
    // A stream's reads arrive one a step. Held open by a program that the
    // ended program started, a stream stalls with a read in flight, which
    // arrives only when the stream is given up.
    struct Stream {
        explicit Stream(std::vector<std::string> reads) : script(std::move(reads)) {}
        std::vector<std::string> script; // still to come
        std::vector<std::string> arrived;
        bool closed = false;
        // True when a read arrived or the stream closed.
        bool step(bool heldOpen, bool stalled) {
            if (closed || stalled) return false;
            if (!script.empty()) {
                arrived.push_back(script.front());
                script.erase(script.begin());
                return true;
            }
            closed = !heldOpen;
            return closed;
        }
        // Closed, or all written into pipes that something else holds open.
        bool done(bool heldOpen) const { return closed || (heldOpen && script.empty()); }
        bool ended() const { return closed && arrived.empty(); }
        void giveUp() {
            if (!closed && !script.empty()) arrived.push_back(script.front());
            script.clear();
            closed = true;
        }
    };

    void exit() {
        exited_ = true;
        --owner_.running;
    }

    ScriptedProcesses& owner_;
    ScriptedRun run_;
    Stream output_;
    Stream error_;
    int step_ = 0;
    bool exited_ = false;
};
} // namespace

std::unique_ptr<platform::StartedProgram> ScriptedProcesses::startCompanion(const std::string& commandLine,
                                                                            uint32_t& errorCode) {
    companions.started.push_back(commandLine);
    if (companions.onStart) companions.onStart(commandLine);
    const std::string program = programOf(commandLine);
    if (companions.failures.count(program)) {
        errorCode = companions.failures[program];
        return nullptr;
    }
    const uint32_t processId = nextProcessId_++;
    desktop_.openWindows(processId, companions.windowsOf.count(program) ? companions.windowsOf[program] : 1);
    return std::make_unique<ScriptedProgram>(*this, processId);
}

std::unique_ptr<platform::StartedProgram> ScriptedProcesses::startUntracked(const std::string& commandLine,
                                                                            platform::ShowState show) {
    untracked.started.push_back({commandLine, show});
    if (untracked.onStart) untracked.onStart(commandLine);
    if (!untracked.starts) return nullptr;
    return std::make_unique<ScriptedProgram>(*this, nextProcessId_++);
}

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
