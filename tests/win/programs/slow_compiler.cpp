// A compiler of the tests that takes its time: it notes its start and end in
// compiles.txt beside itself, so a test can see whether two runs overlapped.
// Given lines.tex it writes a line every 100 ms for 3 s; given grandchild.tex
// it starts a copy of itself that holds its streams for 30 s, and ends.
#include <windows.h>

#include <string>

namespace {
char path[MAX_PATH];

void note(const std::string& what) {
    std::string record = path;
    record = record.substr(0, record.find_last_of('\\')) + "\\compiles.txt";
    const std::string line = what + " " + std::to_string(GetCurrentProcessId()) + "\r\n";
    HANDLE file = CreateFileA(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void writeOutput(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// The copy shares this program's hidden console, and so its standard streams.
void startSleeper() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string commandLine = std::string("\"") + path + "\" sleeper";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        return;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}
} // namespace

int main(int argc, char** argv) {
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string document = argc > 1 ? argv[1] : "";
    if (document == "sleeper") {
        note("sleeper");
        Sleep(30000);
        return 0;
    }
    note("start");
    if (document == "lines.tex") {
        for (int line = 0; line < 30; ++line, Sleep(100))
            writeOutput("line " + std::to_string(line) + "\r\n");
    } else if (document == "grandchild.tex") {
        startSleeper();
    } else {
        Sleep(1500);
        writeOutput("slow compile done\r\n");
    }
    note("end");
    return 0;
}
