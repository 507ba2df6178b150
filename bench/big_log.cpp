// A 100,000-line compiler log end to end: from pressing "Compile TeXfile"
// until the caption is back and the log list holds every line, through
// Velumo, against a bare program (this one, started with --bare) that starts
// the same compiler with the same kind of pipes, drains them and fills a
// plain list box with redraw off. Alternating rounds; medians of each, the
// peak private memory of both programs, and how long the compiler ran in each.
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
constexpr int lineCount = 100000;
constexpr int rounds = 5;
constexpr int compileButton = 1;
const char* const compilerName = "big_log_compiler.exe";

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// ---- The bare program ------------------------------------------------------

HANDLE inheritableDuplicate(HANDLE handle) {
    HANDLE duplicate = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &duplicate, 0, TRUE,
                    DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS);
    return duplicate;
}

DWORD WINAPI drain(void* pipe) {
    char buffer[1024];
    DWORD count = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    }
    return 0;
}

// Runs the compiler with its output in a 4096-byte pipe, its input in a
// 65536-byte one and its errors in a 4096-byte one, reads the output with
// 1024-byte reads on this thread (the errors on another), and returns it.
std::string runCompiler(const std::string& commandLine) {
    HANDLE outRead, outWrite, inRead, inWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, nullptr, 4096);
    CreatePipe(&inRead, &inWrite, nullptr, 65536);
    CreatePipe(&errRead, &errWrite, nullptr, 4096);
    outWrite = inheritableDuplicate(outWrite);
    inRead = inheritableDuplicate(inRead);
    errWrite = inheritableDuplicate(errWrite);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    std::string writable = commandLine;
    CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                   &process);
    CloseHandle(outWrite);
    CloseHandle(inRead);
    CloseHandle(errWrite);
    DWORD written = 0;
    WriteFile(inWrite, "R\x1A", 2, &written, nullptr);
    CloseHandle(inWrite);
    HANDLE errors = CreateThread(nullptr, 0, drain, errRead, 0, nullptr);

    std::string output;
    char buffer[1024];
    DWORD count = 0;
    while (ReadFile(outRead, buffer, sizeof buffer, &count, nullptr) && count > 0)
        output.append(buffer, count);
    WaitForSingleObject(errors, INFINITE);
    WaitForSingleObject(process.hProcess, INFINITE);
    for (HANDLE handle : {errors, outRead, errRead, process.hProcess, process.hThread})
        CloseHandle(handle);
    return output;
}

void fillList(HWND box, const std::string& text) {
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

struct BareWindow {
    HWND list = nullptr;
    std::string commandLine;
};
BareWindow bare;

LRESULT CALLBACK bareProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == compileButton) {
        SetWindowTextA(window, "Bare - compiling");
        const std::string output = runCompiler(bare.commandLine);
        fillList(bare.list, output);
        SetWindowTextA(window, "Bare - done");
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int runBare(const std::string& compiler, const std::string& document) {
    bare.commandLine = "\"" + compiler + "\" " + document;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = bareProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "BigLogBare";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("BigLogBare", "Bare - idle", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                nullptr, nullptr, nullptr);
    CreateWindowA("BUTTON", "Compile TeXfile", WS_CHILD | WS_VISIBLE, 0, 0, 120, 24, window,
                  reinterpret_cast<HMENU>(compileButton), nullptr, nullptr);
    bare.list = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 30, 390, 330,
                              window, nullptr, nullptr, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

// ---- The benchmark ---------------------------------------------------------

struct Round {
    double seconds = 0;
    double compilerAlive = 0;
    int lines = 0;
};

// The caption of another program's top-level window, read without sending it
// a message, so polling does not wake the program being measured.
std::string caption(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Private (committed) bytes. Wine leaves PrivateUsage at zero for another
// process but fills PagefileUsage, which Windows reports as the same figure.
SIZE_T privateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters.PagefileUsage;
}

SIZE_T peakPrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

// Presses "Compile TeXfile" and waits for the caption to begin with doneCaption
// again and the log list to hold every line; samples the program's private
// memory meanwhile.
Round compileOnce(const Installation& installation, HWND main, HANDLE process, const std::string& doneCaption,
                  SIZE_T& peakSampled) {
    const std::string alive = installation.path("big_log_alive.txt");
    DeleteFileA(alive.c_str());
    HWND button = childWithText(main, "Compile TeXfile");
    HWND list = childWindows(main, "ListBox").at(0);
    const std::string before = caption(main);
    Round round;
    const double start = now();
    PostMessageA(button, BM_CLICK, 0, 0);
    while (caption(main) == before)
        Sleep(1);
    while (caption(main).rfind(doneCaption, 0) != 0) {
        peakSampled = std::max(peakSampled, privateBytes(process));
        Sleep(2);
    }
    DWORD_PTR count = 0;
    // Not SMTO_ABORTIFHUNG: a bare program that did not pump for seconds counts as hung.
    SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count);
    round.seconds = now() - start;
    round.lines = static_cast<int>(count);
    peakSampled = std::max(peakSampled, privateBytes(process));
    waitUntil([&] { return fileExists(alive); }, 5000);
    round.compilerAlive = std::atof(readFile(alive).c_str());
    return round;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double mib(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

struct Program {
    std::vector<double> seconds, alive;
    SIZE_T sampledPeak = 0;
    int lines = 0;
};

void report(const char* name, const Program& program, HANDLE process) {
    std::printf("%-7s median %.3f s (min %.3f, max %.3f); compiler alive %.3f s; private memory: peak sampled "
                "%.1f MiB, PeakPagefileUsage %.1f MiB, after %.1f MiB; %d lines\n",
                name, median(program.seconds), *std::min_element(program.seconds.begin(), program.seconds.end()),
                *std::max_element(program.seconds.begin(), program.seconds.end()), median(program.alive),
                mib(program.sampledPeak), mib(peakPrivateBytes(process)), mib(privateBytes(process)), program.lines);
}

// document: bench.tex, or lines.tex for a compiler that writes each line by itself.
int runBenchmark(const std::string& document) {
    Installation installation;
    const std::string compiler = installation.add(compilerName);
    installation.add("bench_big_log.exe", "big_log.exe");
    writeFile(installation.path(document), "\\documentclass{article}\n");
    writeFile(installation.ini(), "[Option]\r\nTeX=" + compiler + "\r\n");

    Velumo velumo(installation, "\"" + installation.path(document) + "\"");
    HWND velumoMain = velumo.mainWindow();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION bareProcess{};
    std::string bareCommand = "\"" + installation.path("big_log.exe") + "\" --bare \"" + compiler + "\" " + document;
    CreateProcessA(nullptr, bareCommand.data(), nullptr, nullptr, FALSE, 0, nullptr, installation.folder().c_str(),
                   &startup, &bareProcess);
    HWND bareMain = nullptr;
    waitUntil([&] {
        for (HWND window = FindWindowA("BigLogBare", nullptr); window;
             window = FindWindowExA(nullptr, window, "BigLogBare", nullptr))
            if (processOf(window) == bareProcess.dwProcessId) bareMain = window;
        return bareMain != nullptr;
    });
    const auto ready = [](HWND main) {
        return main && childWithText(main, "Compile TeXfile") && !childWindows(main, "ListBox").empty();
    };
    waitUntil([&] { return ready(velumoMain) && ready(bareMain); });
    if (!ready(velumoMain) || !ready(bareMain)) {
        std::fprintf(stderr, "a window did not appear\n");
        return 1;
    }

    Program throughVelumo, barely;
    for (int round = 0; round < rounds; ++round) {
        const Round b = compileOnce(installation, bareMain, bareProcess.hProcess, "Bare - done", barely.sampledPeak);
        const Round v = compileOnce(installation, velumoMain, velumo.process(), "Velumo - ", throughVelumo.sampledPeak);
        std::printf("round %d: bare %.3f s (compiler %.3f s), Velumo %.3f s (compiler %.3f s)\n", round + 1, b.seconds,
                    b.compilerAlive, v.seconds, v.compilerAlive);
        barely.seconds.push_back(b.seconds);
        barely.alive.push_back(b.compilerAlive);
        barely.lines = b.lines;
        throughVelumo.seconds.push_back(v.seconds);
        throughVelumo.alive.push_back(v.compilerAlive);
        throughVelumo.lines = v.lines;
    }
    report("bare", barely, bareProcess.hProcess);
    report("Velumo", throughVelumo, velumo.process());
    std::printf("ratio Velumo/bare: time %.2f (target at most 1.20), compiler alive %.2f, peak private memory "
                "(sampled) %.2f (target at most 1.20)\n",
                median(throughVelumo.seconds) / median(barely.seconds),
                median(throughVelumo.alive) / median(barely.alive),
                static_cast<double>(throughVelumo.sampledPeak) / static_cast<double>(barely.sampledPeak));

    PostMessageA(bareMain, WM_CLOSE, 0, 0);
    PostMessageA(velumoMain, WM_CLOSE, 0, 0);
    WaitForSingleObject(bareProcess.hProcess, 10000);
    velumo.waitForExit();
    CloseHandle(bareProcess.hThread);
    CloseHandle(bareProcess.hProcess);
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--bare") return runBare(argv[2], argv[3]);
    const bool lineWrites = argc == 2 && std::string(argv[1]) == "--line-writes";
    return runBenchmark(lineWrites ? "lines.tex" : "bench.tex");
}
