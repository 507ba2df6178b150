// platex.exe for Wine: hands a compile to the Linux pTeX and behaves like the
// Windows compiler towards its caller. A Windows program cannot capture a Unix
// program's streams directly (Wine gives it its own), so this console program
// saves its standard input to a file, runs platex through /bin/sh with the
// streams redirected to files, waits for the exit code to appear, and copies
// the output back to its own standard output and error.
#include <windows.h>

#include <string>
#include <vector>

#include "WinePaths.h"

using bridge::shellQuoted;
using bridge::unixPath;

namespace {
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

void removeFolder(const std::string& folder) {
    for (const char* name : {"in", "out", "err", "rc"})
        DeleteFileA((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
}
} // namespace

int main() {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string work = std::string("Z:\\tmp\\velumo-platex-") + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount());
    CreateDirectoryA(work.c_str(), nullptr);
    writeFile(work + "\\in", readAll(GetStdHandle(STD_INPUT_HANDLE)));

    const std::string unixWork = unixPath(work);
    std::string command = "cd " + shellQuoted(unixPath(current)) + " && PTEX_KANJI_ENC=sjis exec platex";
    for (const std::string& argument : arguments())
        command += " " + shellQuoted(argument);
    const std::string script = "(" + command + ") <" + shellQuoted(unixWork + "/in") + " >" +
                               shellQuoted(unixWork + "/out") + " 2>" + shellQuoted(unixWork + "/err") + "; echo $? >" +
                               shellQuoted(unixWork + "/rc.part") + " && mv " + shellQuoted(unixWork + "/rc.part") +
                               " " + shellQuoted(unixWork + "/rc");

    std::string commandLine = "\"/bin/sh\" -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        writeAll(GetStdHandle(STD_ERROR_HANDLE), "platex.exe: cannot start /bin/sh\r\n");
        removeFolder(work);
        return 1;
    }
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);

    // Wine returns no handle to wait on for a Unix program: the exit code file
    // appearing (moved into place whole) says that platex has ended.
    const std::string rcPath = work + "\\rc";
    while (GetFileAttributesA(rcPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        Sleep(10);

    writeAll(GetStdHandle(STD_OUTPUT_HANDLE), readFile(work + "\\out"));
    writeAll(GetStdHandle(STD_ERROR_HANDLE), readFile(work + "\\err"));
    const int exitCode = atoi(readFile(rcPath).c_str());
    removeFolder(work);
    return exitCode;
}
