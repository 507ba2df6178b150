// The platex.exe bridge (built beside the tests) with a stand-in pTeX that each
// test writes. Wine gives a Unix program the PATH of its own Unix environment,
// never the Windows one, so the stand-in is put first on PATH by starting the
// bridge through /bin/sh and wine, as from a Unix terminal; the bridge's
// streams and exit code come back in files.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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

bool waitForFile(const std::string& path, DWORD limitMs) {
    const DWORD started = GetTickCount();
    while (!exists(path)) {
        if (GetTickCount() - started >= limitMs) return false;
        Sleep(50);
    }
    return true;
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

    // Runs platex.exe in the document folder with `arguments` (shell words)
    // and `input`; a bridge still running after `limitMs` is killed.
    BridgeRun run(const std::string& arguments, const std::string& input, DWORD limitMs) {
        writeFile(file("input"), input);
        const std::string bridge = shellQuoted(unixPath(besideTests("platex.exe")));
        // In the document folder: the physical path of bin, since a "c:" in PATH would split it.
        startShell("cd " + folder() + " && chmod +x bin/platex && PATH=$(pwd -P)/bin:$PATH && export PATH && { wine " +
                   bridge + " " + arguments +
                   " <input >output 2>error & echo $! >wine.pid; wait $!; echo $? >rc.part; mv rc.part rc; }");
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

// The work folder noted, as a Windows path.
std::string workFolderOf(const BridgeWorld& world) {
    std::string folder = "Z:" + readFile(world.file("work.txt"));
    while (!folder.empty() && folder.back() == '\n')
        folder.pop_back();
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

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
