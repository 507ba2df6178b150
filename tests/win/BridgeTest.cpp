// The platex.exe bridge (built beside the tests) with a stand-in pTeX that each
// test writes. Wine gives a Unix program the PATH of its own Unix environment,
// never the Windows one, so the stand-in is put first on PATH by starting the
// bridge through /bin/sh and wine, as from a Unix terminal; the bridge's
// streams and exit code come back in files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "../../bridges/WinePaths.h"
#include "TempFolder.h"

using bridge::shellQuoted;
using bridge::unixPath;

namespace {

// Long enough for Wine to start the bridge on a busy machine; the bridge
// that waits forever never gets there.
constexpr DWORD hangLimitMs = 20000;

std::string besideTests(const std::string& name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.erase(folder.find_last_of('\\') + 1) + name;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Starts a Unix shell command; Wine gives no handle to wait on.
void startShell(const std::string& script) {
    std::string commandLine = "\"/bin/sh\" -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
}

template <typename Condition> bool waitUntil(Condition condition, DWORD limitMs) {
    const DWORD started = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - started >= limitMs) return false;
        Sleep(50);
    }
    return true;
}

bool waitForFile(const std::string& path, DWORD limitMs) {
    return waitUntil([&] { return exists(path); }, limitMs);
}

struct BridgeRun {
    bool ended = false;
    std::string exitCode; // as the shell printed it
    std::string output;
    std::string error;
};

// A document folder whose bin\platex is the stand-in pTeX.
class BridgeWorld {
public:
    explicit BridgeWorld(const std::string& standIn) {
        CreateDirectoryA(folder_.file("bin").c_str(), nullptr);
        writeFile(folder_.file("bin\\platex"), standIn);
    }

    std::string file(const std::string& name) const { return folder_.file(name); }

    BridgeRun run(const std::string& arguments, const std::string& input, DWORD limitMs) {
        start(arguments, input);
        return waitForEnd(limitMs);
    }

    // Starts platex.exe in the document folder with `arguments` (shell words) and `input`.
    void start(const std::string& arguments, const std::string& input) {
        writeFile(file("input"), input);
        const std::string bridge = shellQuoted(unixPath(besideTests("platex.exe")));
        // In the document folder: the physical path of bin, since a "c:" in PATH would split it.
        startShell("cd " + folder() + " && chmod +x bin/platex && PATH=$(pwd -P)/bin:$PATH && export PATH && { wine " +
                   bridge + " " + arguments +
                   " <input >output 2>error & echo $! >wine.pid; wait $!; echo $? >rc.part; mv rc.part rc; }");
    }

    // Waits until the bridge ends; one still running after `limitMs` is killed.
    BridgeRun waitForEnd(DWORD limitMs) {
        BridgeRun run;
        run.ended = waitForFile(file("rc"), limitMs);
        if (!run.ended) {
            startShell("cd " + folder() + " && kill -KILL $(cat wine.pid)");
            waitForFile(file("rc"), 10000); // before the folder goes
            return run;
        }
        run.exitCode = readFile(file("rc"));
        run.output = readFile(file("output"));
        run.error = readFile(file("error"));
        return run;
    }

private:
    std::string folder() const { return shellQuoted(unixPath(folder_.path())); }

    TempFolder folder_;
};

// How a stand-in begins: it notes the folder of its input, the bridge's work folder.
const std::string noteWorkFolder = "#!/bin/sh\ndirname $(readlink /proc/self/fd/0) >work.txt\n";

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// The work folder noted, as a Windows path.
std::string workFolderOf(const BridgeWorld& world) {
    std::string folder = "Z:" + firstLine(readFile(world.file("work.txt")));
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

// The bridge's Windows process id, which its work folder's name begins with.
DWORD bridgeProcessIdOf(const std::string& workFolder) {
    const std::string prefix = "\\velumo-platex-";
    const size_t at = workFolder.rfind(prefix);
    return at == std::string::npos ? 0 : std::strtoul(workFolder.c_str() + at + prefix.size(), nullptr, 10);
}

// Ends a process as a job object or a task manager would, and waits until it is gone.
bool terminate(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    const bool ended = TerminateProcess(process, 1) && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// Whether a Unix process has ended: no longer listed, or a zombie that no one collects.
bool unixProcessEnded(const std::string& processId) {
    const std::string stat = readFile("Z:\\proc\\" + processId + "\\stat");
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 >= stat.size()) return true;
    return stat[nameEnd + 2] == 'Z' || stat[nameEnd + 2] == 'X';
}

// Kills a stand-in compiler that is still running when the test ends, passed or not.
class LeftoverKiller {
public:
    explicit LeftoverKiller(std::string processId) : processId_(std::move(processId)) {}
    ~LeftoverKiller() {
        if (!unixProcessEnded(processId_)) startShell("kill -KILL " + processId_);
    }
    LeftoverKiller(const LeftoverKiller&) = delete;
    LeftoverKiller& operator=(const LeftoverKiller&) = delete;

private:
    std::string processId_;
};

} // namespace

TEST(PlatexBridgeTest, OutputErrorAndExitCodeComeThroughUnchanged) {
    BridgeWorld world(noteWorkFolder + "printf '%s|' \"$PTEX_KANJI_ENC\" \"$@\"\n"
                                       "cat here.txt -\n"
                                       "printf 'a\\r\\nb\\000c\\203\\101\\n'\n"
                                       "printf 'warning\\r\\n' >&2\n"
                                       "exit 3\n");
    writeFile(world.file("here.txt"), "in the document folder\n");

    const BridgeRun run = world.run("paper.tex 'two words'", "R\n", hangLimitMs);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ("3\n", run.exitCode);
    EXPECT_EQ("sjis|paper.tex|two words|in the document folder\nR\n" + std::string("a\r\nb\0c\x83\x41\n", 9),
              run.output);
    EXPECT_EQ("warning\r\n", run.error);
    const std::string work = workFolderOf(world);
    ASSERT_NE("Z:", work);
    EXPECT_FALSE(exists(work)) << work;
}

TEST(PlatexBridgeTest, ShellKilledBeforeLeavingTheExitCodeEndsTheBridgeWithAMessage) {
    BridgeWorld world(noteWorkFolder + "echo partial\n"
                                       "kill -KILL $PPID\n");

    const BridgeRun run = world.run("paper.tex", "", hangLimitMs);
    ASSERT_TRUE(run.ended) << "the bridge still waited after " << hangLimitMs / 1000 << " s";
    EXPECT_NE("0\n", run.exitCode);
    EXPECT_EQ("partial\n", run.output);
    EXPECT_EQ("platex.exe: the shell ended without an exit code\r\n", run.error);
    const std::string work = workFolderOf(world);
    ASSERT_NE("Z:", work);
    EXPECT_FALSE(exists(work)) << work;
}

TEST(PlatexBridgeTest, EndingTheBridgeEndsTheCompilerAndRemovesTheWorkFolder) {
    BridgeWorld world(noteWorkFolder + "echo $$ >compiler.part && mv compiler.part compiler.pid\n"
                                       "while :; do sleep 0.1; done\n");
    world.start("paper.tex", "");
    ASSERT_TRUE(waitForFile(world.file("compiler.pid"), hangLimitMs)) << "the stand-in never started";
    const std::string compiler = firstLine(readFile(world.file("compiler.pid")));
    const LeftoverKiller killer(compiler);
    const std::string work = workFolderOf(world);
    ASSERT_TRUE(terminate(bridgeProcessIdOf(work))) << work;

    EXPECT_TRUE(waitUntil([&] { return unixProcessEnded(compiler); }, 5000)) << "platex still runs";
    EXPECT_TRUE(waitUntil([&] { return !exists(work); }, 5000)) << work;
    EXPECT_TRUE(world.waitForEnd(hangLimitMs).ended);
}
