// platex.exe for Wine: hands a compile to the Linux pTeX and behaves like the
// Windows compiler towards its caller. A Windows program cannot capture a Unix
// program's streams directly (Wine gives it its own), so this console program
// saves its standard input to a file, runs platex through /bin/sh with the
// streams redirected to files, waits for the exit code to appear, and copies
// the output back to its own standard output and error.
//
// Wine returns no handle to wait on for a Unix program, so the shell first
// leaves its own process id: the bridge watches that process through Wine's
// view of /proc and gives up, instead of waiting forever, when the shell never
// starts or ends without leaving the exit code (killed, crashed).
//
// The other way round, the shell watches the bridge by its Unix process id:
// when the bridge is ended in any way (TerminateProcess included, which runs
// none of its code), the shell kills platex with all it started and removes
// the work folder.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "FileNames.h"
#include "WinePaths.h"

using bridge::shellQuoted;
using bridge::unixPath;

namespace {
// The shell leaves its process id within this time, or it is taken as never started.
constexpr DWORD shellStartLimitMs = 5000;
// How often the wait for the exit code looks whether the shell still runs.
constexpr DWORD shellCheckIntervalMs = 200;

// The arguments after the program name, split as the C runtime does.
std::vector<std::string> arguments() {
    std::vector<std::string> result;
    const char* line = GetCommandLineA();
    bool first = true;
    while (*line) {
        while (*line == ' ' || *line == '\t')
            ++line;
        if (!*line) break;
        std::string argument;
        bool quoted = false;
        for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line) {
            if (*line == '"')
                quoted = !quoted;
            else
                argument += *line;
        }
        if (!first) result.push_back(argument);
        first = false;
    }
    return result;
}

std::string readAll(HANDLE file) {
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    return content;
}

std::string readFile(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string content = readAll(file);
    CloseHandle(file);
    return content;
}

void writeFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

void writeAll(HANDLE handle, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A Unix process's /proc/<process>/stat line, through Wine's view of the
// Unix root; empty when there is no such process.
std::string unixProcessStat(const std::string& process) { return readFile("Z:\\proc\\" + process + "\\stat"); }

// Whether a Unix process runs: the state letter of its stat line follows the
// name in parentheses, which may itself hold spaces. An ended process stays a
// zombie until its parent collects it, and the shell's parent (the init
// process that adopts it) may never do so.
bool unixProcessRunning(unsigned long processId) {
    const std::string stat = unixProcessStat(std::to_string(processId));
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 >= stat.size()) return false;
    const char state = stat[nameEnd + 2];
    return state != 'Z' && state != 'X';
}

// The same test for the shell: `running <process id>`.
constexpr const char* runningFunction =
    "running() { read -r s </proc/$1/stat && s=${s##*') '} && case ${s%% *} in Z|X) false;; esac; }";

// This program's own Unix process id; 0 when not found. Wine opens files in
// its server, so Z:\proc\self would be the server there, but it looks up
// whether a file exists in the calling process: /proc/self/task then holds
// this program's threads, and of them only the first, whose id is the
// process id, is also listed in /proc.
unsigned long ownUnixProcessId() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned long own = 0;
    do {
        const unsigned long id = std::strtoul(found.cFileName, nullptr, 10);
        if (id != 0 && fileExists("Z:\\proc\\self\\task\\" + std::to_string(id))) own = id;
    } while (own == 0 && FindNextFileA(search, &found));
    FindClose(search);
    return own;
}

// A fresh folder under /tmp for the files shared with the shell, removed with
// all it holds however the bridge ends.
class WorkFolder {
public:
    WorkFolder()
        : path_("Z:\\tmp\\velumo-platex-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount())) {
        CreateDirectoryA(path_.c_str(), nullptr);
        unixPath_ = unixPath(path_);
    }
    ~WorkFolder() {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(file(found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    std::string unixFolder() const { return shellQuoted(unixPath_); }
    std::string unixFile(const std::string& name) const { return shellQuoted(unixPath_ + "/" + name); }

    // A shell command that writes what `producer` prints to the named file
    // and moves it into place whole, so the bridge never reads half of it.
    std::string publish(const std::string& producer, const std::string& name) const {
        const std::string part = unixFile(name + ".part");
        return producer + " >" + part + " && mv " + part + " " + unixFile(name);
    }

private:
    std::string path_;
    std::string unixPath_;
};

// The shell runs platex in its own session, so that a kill reaches all it
// starts, beside a watcher of the bridge, and waits for platex: a compile that
// ends costs no polling delay. Once the bridge is gone, the watcher kills
// platex and the shell removes the work folder (the bridge may also be ended
// after the exit code is out but before it removed the folder itself). An
// ended process may stay a zombie, so `running` reads its state rather than
// trusting kill -0. The shell keeps none of Wine's streams: it outlives the
// bridge by a moment, and a caller reading Wine's output through a pipe would
// wait for it.
std::string shellScript(const WorkFolder& work, const std::string& folder, unsigned long bridgeId) {
    const std::string bridgeRuns = "running " + std::to_string(bridgeId);
    std::string compile = "cd " + shellQuoted(unixPath(folder)) + " && PTEX_KANJI_ENC=sjis exec setsid platex";
    for (const std::string& argument : arguments())
        compile.append(" ").append(shellQuoted(argument));
    const std::string streams = " <" + work.unixFile("in") + " >" + work.unixFile("out") + " 2>" + work.unixFile("err");
    const std::string watcher = "(while " + bridgeRuns + "; do sleep 0.2; done; kill -KILL -$platex $platex)";
    const std::vector<std::string> statements = {
        "exec </dev/null >/dev/null 2>&1",
        runningFunction,
        work.publish("echo $$", "pid") + " || exit",
        "(" + compile + ")" + streams + " & platex=$!",
        watcher + " & wait $platex; code=$?",
        bridgeRuns + " && " + work.publish("echo $code", "rc"),
        "while " + bridgeRuns + "; do sleep 0.2; done; rm -rf " + work.unixFolder(),
    };
    std::string script;
    for (const std::string& statement : statements)
        script.append(script.empty() ? "" : "; ").append(statement);
    return script;
}

bool startShell(const std::string& script) {
    std::string commandLine = "\"/bin/sh\" -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    return true;
}

enum class ShellEnd { LeftExitCode, NeverStarted, EndedWithoutExitCode };

// Waits until the exit code file appears (moved into place whole), watching
// the shell by the process id it leaves first.
ShellEnd waitForShell(const WorkFolder& work) {
    const std::string rcPath = work.file("rc");
    const DWORD started = GetTickCount();
    DWORD lastCheck = started;
    unsigned long shellId = 0;
    while (!fileExists(rcPath)) {
        const DWORD now = GetTickCount();
        if (shellId == 0) {
            shellId = std::strtoul(readFile(work.file("pid")).c_str(), nullptr, 10);
            if (shellId == 0 && now - started >= shellStartLimitMs) return ShellEnd::NeverStarted;
        } else if (now - lastCheck >= shellCheckIntervalMs) {
            lastCheck = now;
            // The shell moves the exit code into place before it ends: look once more.
            if (!unixProcessRunning(shellId))
                return fileExists(rcPath) ? ShellEnd::LeftExitCode : ShellEnd::EndedWithoutExitCode;
        }
        Sleep(10);
    }
    return ShellEnd::LeftExitCode;
}

int fail(const std::string& message) {
    writeAll(GetStdHandle(STD_ERROR_HANDLE), "platex.exe: " + message + "\r\n");
    return 1;
}
} // namespace

int main() {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    const unsigned long bridgeId = ownUnixProcessId();
    if (bridgeId == 0) return fail("cannot find its own process in Z:\\proc");
    const WorkFolder work;
    writeFile(work.file("in"), readAll(GetStdHandle(STD_INPUT_HANDLE)));
    if (!startShell(shellScript(work, current, bridgeId))) return fail("cannot start /bin/sh");

    const ShellEnd end = waitForShell(work);
    // Whatever platex wrote before a failure still helps to see what happened.
    writeAll(GetStdHandle(STD_OUTPUT_HANDLE), bridge::fileNamesInCodePage(readFile(work.file("out"))));
    writeAll(GetStdHandle(STD_ERROR_HANDLE), readFile(work.file("err")));
    switch (end) {
    case ShellEnd::LeftExitCode:
        return std::atoi(readFile(work.file("rc")).c_str());
    case ShellEnd::NeverStarted:
        return fail("/bin/sh did not start within " + std::to_string(shellStartLimitMs / 1000) + " seconds");
    case ShellEnd::EndedWithoutExitCode:
        break;
    }
    return fail("the shell ended without an exit code");
}
