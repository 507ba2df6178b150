// dviout.exe for Wine: shows a DVI file in the Linux DVI viewer (pxdvi from
// xdvik-ja, which draws Japanese, else xdvi). "-unique" hands the file to a
// viewer that already runs, and the viewer reloads a DVI file that changes,
// so a preview after each compile shows the fresh document.
#include <windows.h>

#include <string>

#include "WinePaths.h"

using bridge::shellQuoted;
using bridge::unixPath;

namespace {
// The first argument: the DVI path, quoted or not.
std::string firstArgument() {
    const char* line = GetCommandLineA();
    bool quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line)
        if (*line == '"') quoted = !quoted;
    while (*line == ' ' || *line == '\t')
        ++line;
    std::string argument;
    quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line) {
        if (*line == '"')
            quoted = !quoted;
        else
            argument += *line;
    }
    return argument;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string dvi = firstArgument();
    if (dvi.size() < 2 || (dvi[1] != ':' && dvi[0] != '\\')) dvi = std::string(folder) + "\\" + dvi;
    const std::string script = "viewer=$(command -v pxdvi-xaw || command -v xdvi) && exec \"$viewer\" -unique " +
                               shellQuoted(unixPath(dvi)) + " >/dev/null 2>&1 </dev/null";
    // Inside the command line's quotes, the shell's own double quotes are escaped.
    std::string commandLine = "\"/bin/sh\" -c \"";
    for (char c : script)
        commandLine += c == '"' ? std::string("\\\"") : std::string(1, c);
    commandLine += "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 1;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    return 0;
}
