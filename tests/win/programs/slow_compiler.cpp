// A compiler of the tests that takes its time: it notes its start and end in
// compiles.txt beside itself, so a test can see whether two runs overlapped.
// What it does depends on the document it is given:
// - lines.tex: a line every 100 ms on its output, nothing on its errors, for 3 s;
// - grandchild.tex: starts a copy of itself that inherits its streams and
//   sleeps for 30 s, writes one line and ends, so its streams stay open;
// - anything else: 1.5 s of silence, then one line.
#include <windows.h>

#include <string>

namespace {
std::string ownPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

void note(const std::string& what) {
    std::string record = ownPath();
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

void startSleeper() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string commandLine = "\"" + ownPath() + "\" sleeper";
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
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
    if (document == "lines.tex") {
        for (int line = 0; line < 30; ++line) {
            writeOutput("line " + std::to_string(line) + "\r\n");
            Sleep(100);
        }
    } else if (document == "grandchild.tex") {
        startSleeper();
        writeOutput("grandchild started\r\n");
    } else {
        Sleep(1500);
        writeOutput("slow compile done\r\n");
    }
    note("end");
    return 0;
}
