// A compiler of the tests that takes its time: it notes its start and end in
// compiles.txt beside itself, so a test can see whether two runs overlapped.
// lines.tex: a line every 100 ms for 3 s first; input.tex: the same, while a thread of its own
// reads the standard input to its end; grandchild.tex: a copy of it holds its streams;
// error.tex: its output ends in an error at line 1.
#include <windows.h>

#include <process.h>

#include <cstdio>
#include <string>

namespace {
DWORD WINAPI readInput(void*) {
    char byte = 0;
    DWORD count = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &count, nullptr) && count > 0) {
    }
    return 0;
}

void note(const std::string& what) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string record = path;
    record = record.substr(0, record.find_last_of('\\')) + "\\compiles.txt";
    const std::string line = what + " " + std::to_string(GetCurrentProcessId()) + "\r\n";
    HANDLE file = CreateFileA(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}
} // namespace

int main(int argc, char** argv) {
    const std::string document = argc > 1 ? argv[1] : "";
    if (document == "sleeper") {
        note("sleeper");
        Sleep(30000);
        return 0;
    }
    note("start");
    if (document == "grandchild.tex") { // the copy shares this program's streams
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        return _spawnl(_P_NOWAIT, path, path, "sleeper", nullptr) == -1;
    }
    if (document == "input.tex") CloseHandle(CreateThread(nullptr, 0, readInput, nullptr, 0, nullptr));
    for (int line = 0; (document == "lines.tex" || document == "input.tex") && line < 30; ++line) {
        std::printf("line %d\n", line);
        std::fflush(stdout);
        Sleep(100);
    }
    Sleep(1500);
    const std::string output =
        document == "error.tex" ? "! Undefined control sequence.\r\nl.1 \\x\r\n" : "slow compile done\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), output.data(), static_cast<DWORD>(output.size()), &written, nullptr);
    note("end");
    return 0;
}
