#pragma once
// Programs started in memory: companions that open windows on the desktop,
// untracked programs recorded with their show states, and console programs
// with scripted output. Every started program counts its handles until it is
// released, so a command that leaks one fails its test.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "support/HeadlessDesktop.h"

namespace headless {

// A program's life is a series of steps, one at each wait of the capture. At
// each step the next read of each stream arrives; a stream ends at the step
// after its last read, so streams with more reads end later.
struct ScriptedRun {
    std::vector<std::string> outputReads; // each as one read returns it
    std::vector<std::string> errorReads;
    bool keepsPipesOpen = false;        // a program it started holds the pipes: they never end by themselves
    int exitsAtStep = 0;                // the program ends at this step (0: at the step its last stream ends),
                                        // also before its streams end, with reads still in the pipes
    bool runsForever = false;           // it never ends, unless it is ended; its reads still arrive
    std::function<void()> whileRunning; // happens at every wait while the program runs
};

class ScriptedProcesses : public platform::ProcessService {
public:
    explicit ScriptedProcesses(ScriptedDesktop& desktop) : desktop_(desktop) {}
    std::unique_ptr<platform::StartedProgram> startCompanion(const std::string& commandLine,
                                                             uint32_t& errorCode) override;
    std::unique_ptr<platform::StartedProgram> startUntracked(const std::string& commandLine,
                                                             platform::ShowState show) override;
    std::unique_ptr<platform::ConsoleChild> startConsole(const std::string& commandLine, uint32_t& errorCode) override;
    std::string systemErrorText(uint32_t code) override;
    uint32_t tickCount() override { return clock; }

    struct Companions {
        std::map<std::string, int> windowsOf;     // top-level windows a program opens (by its path), else one
        std::map<std::string, uint32_t> failures; // programs that cannot start, with the error code
        std::vector<std::string> started;         // command lines
        std::vector<int> idleWaits;               // of every started program, untracked ones too
        std::function<void()> whileGettingReady;  // happens once, at the next program's wait until it is ready
        std::function<void(const std::string&)> onStart;
    } companions;

    struct Untracked {
        struct Start {
            std::string commandLine;
            platform::ShowState show;
            bool operator==(const Start&) const = default;
        };
        std::vector<Start> started;
        std::function<void(const std::string&)> onStart;
        bool starts = true; // false: no program can be started
    } untracked;

    // Console programs.
    ScriptedRun run;                          // what every started program does
    std::map<std::string, uint32_t> failures; // command lines that cannot start, with the error code
    std::vector<std::string> started;         // command lines, in order
    std::vector<std::string> inputs;          // what each program received on its input
    int running = 0;
    int mostRunningAtOnce = 0;
    int endedTrees = 0; // programs ended with everything they started
    uint32_t clock = 0;

    int openHandles = 0; // of every started program, until released

private:
    ScriptedDesktop& desktop_;
    uint32_t nextProcessId_ = 100;
};

} // namespace headless
