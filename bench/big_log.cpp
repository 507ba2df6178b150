// A 100,000-line compiler log end to end: from pressing "Compile TeXfile"
// until the caption is back and the log list holds every line, through
// Velumo, against the simplest program that does the job (this one, started
// with --bare): it starts the same compiler with its output and errors on one
// pipe, reads it in a plain loop on its window's thread, and fills a plain
// list box with redraw off. A second bare program (--bare-two-threads) keeps
// the errors on a pipe of their own, drained by a second thread. Alternating
// rounds; medians of each, the peak private memory of each program, and how
// long the compiler ran in each.
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "platform/win32/Win32Processes.h"

using namespace e2e;

namespace {
constexpr int lineCount = 100000;
constexpr int rounds = 7;
constexpr int compileButton = 1;
const char* const compilerName = "big_log_compiler.exe";

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// ---- The bare programs -----------------------------------------------------

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

// Starts the compiler hidden with its output on outWrite, its errors on
// errWrite and its input on a 65536-byte pipe, writes R and Ctrl-Z, and closes
// the input.
HANDLE startCompiler(const std::string& commandLine, HANDLE outWrite, HANDLE errWrite) {
    HANDLE inRead, inWrite;
    CreatePipe(&inRead, &inWrite, nullptr, 65536);
    inRead = inheritableDuplicate(inRead);
    PROCESS_INFORMATION process{};
    platform::win32::startHiddenConsoleProgram(commandLine, inRead, outWrite, errWrite, process);
    CloseHandle(inRead);
    DWORD written = 0;
    WriteFile(inWrite, "R\x1A", 2, &written, nullptr);
    CloseHandle(inWrite);
    CloseHandle(process.hThread);
    return process.hProcess;
}

// A plain loop of 1024-byte reads until the pipe ends.
std::string readToEnd(HANDLE pipe) {
    std::string text;
    char buffer[1024];
    DWORD count = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) && count > 0)
        text.append(buffer, count);
    return text;
}

// The simplest program that does the job: the compiler's output and errors
// on one 4096-byte pipe, read on this thread until it ends.
std::string runCompilerOnOnePipe(const std::string& commandLine) {
    HANDLE outRead, outWrite;
    CreatePipe(&outRead, &outWrite, nullptr, 4096);
    outWrite = inheritableDuplicate(outWrite);
    HANDLE process = startCompiler(commandLine, outWrite, outWrite);
    CloseHandle(outWrite);

    const std::string output = readToEnd(outRead);
    WaitForSingleObject(process, INFINITE);
    CloseHandle(outRead);
    CloseHandle(process);
    return output;
}

// As Velumo keeps them: output and errors on pipes of 4096 bytes each, the
// output read on this thread, the errors on another.
std::string runCompilerOnTwoThreads(const std::string& commandLine) {
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, nullptr, 4096);
    CreatePipe(&errRead, &errWrite, nullptr, 4096);
    outWrite = inheritableDuplicate(outWrite);
    errWrite = inheritableDuplicate(errWrite);
    HANDLE process = startCompiler(commandLine, outWrite, errWrite);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    HANDLE errors = CreateThread(nullptr, 0, drain, errRead, 0, nullptr);

    const std::string output = readToEnd(outRead);
    WaitForSingleObject(errors, INFINITE);
    WaitForSingleObject(process, INFINITE);
    for (HANDLE handle : {errors, outRead, errRead, process})
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
    bool twoThreads = false;
};
BareWindow bare;

LRESULT CALLBACK bareProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == compileButton) {
        SetWindowTextA(window, "Bare - compiling");
        const std::string output =
            bare.twoThreads ? runCompilerOnTwoThreads(bare.commandLine) : runCompilerOnOnePipe(bare.commandLine);
        fillList(bare.list, output);
        SetWindowTextA(window, "Bare - done");
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int runBare(const std::string& compiler, const std::string& document, bool twoThreads) {
    bare.commandLine = "\"" + compiler + "\" " + document;
    bare.twoThreads = twoThreads;
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
    std::printf("%-11s median %.3f s (min %.3f, max %.3f); compiler alive %.3f s; private memory: peak sampled "
                "%.1f MiB, PeakPagefileUsage %.1f MiB, after %.1f MiB; %d lines\n",
                name, median(program.seconds), *std::min_element(program.seconds.begin(), program.seconds.end()),
                *std::max_element(program.seconds.begin(), program.seconds.end()), median(program.alive),
                mib(program.sampledPeak), mib(peakPrivateBytes(process)), mib(privateBytes(process)), program.lines);
}

// The median of each round's own ratio as well: neighbouring compiles share
// the machine's passing load, so it is steadier than the ratio of the medians.
double medianOfRoundRatios(const std::vector<double>& figures, const std::vector<double>& baseline) {
    std::vector<double> ratios;
    for (size_t round = 0; round < figures.size(); ++round)
        ratios.push_back(figures[round] / baseline[round]);
    return median(ratios);
}

void reportRatios(const char* baseline, const Program& velumo, const Program& bare) {
    std::printf("ratio Velumo/%s: time %.3f (rounds' own %.3f), compiler alive %.3f (rounds' own %.3f), peak private "
                "memory (sampled) %.3f\n",
                baseline, median(velumo.seconds) / median(bare.seconds),
                medianOfRoundRatios(velumo.seconds, bare.seconds), median(velumo.alive) / median(bare.alive),
                medianOfRoundRatios(velumo.alive, bare.alive),
                static_cast<double>(velumo.sampledPeak) / static_cast<double>(bare.sampledPeak));
}

// A bare program started in the installation's folder, with its window.
struct BareProgram {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;

    BareProgram(const Installation& installation, const std::string& compiler, const std::string& document,
                const char* mode) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string command =
            "\"" + installation.path("big_log.exe") + "\" " + mode + " \"" + compiler + "\" " + document;
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, installation.folder().c_str(),
                       &startup, &process);
        waitUntil([&] {
            for (HWND window = FindWindowA("BigLogBare", nullptr); window;
                 window = FindWindowExA(nullptr, window, "BigLogBare", nullptr))
                if (processOf(window) == process.dwProcessId) main = window;
            return main != nullptr;
        });
    }
    ~BareProgram() {
        PostMessageA(main, WM_CLOSE, 0, 0);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
};

// document: bench.tex, lines.tex for a compiler that writes each line by itself,
// or unclosed.tex for lines that each open a name and never close it.
int runBenchmark(const std::string& document) {
    Installation installation;
    const std::string compiler = installation.add(compilerName);
    installation.add("bench_big_log.exe", "big_log.exe");
    writeFile(installation.path(document), "\\documentclass{article}\n");
    writeFile(installation.ini(), "[Option]\r\nTeX=" + compiler + "\r\n");

    Velumo velumo(installation, "\"" + installation.path(document) + "\"");
    HWND velumoMain = velumo.mainWindow();
    BareProgram onePipe(installation, compiler, document, "--bare");
    BareProgram twoThreads(installation, compiler, document, "--bare-two-threads");
    const auto ready = [](HWND main) {
        return main && childWithText(main, "Compile TeXfile") && !childWindows(main, "ListBox").empty();
    };
    waitUntil([&] { return ready(velumoMain) && ready(onePipe.main) && ready(twoThreads.main); });
    if (!ready(velumoMain) || !ready(onePipe.main) || !ready(twoThreads.main)) {
        std::fprintf(stderr, "a window did not appear\n");
        return 1;
    }

    Program throughVelumo, bare, bareTwo;
    const auto note = [](Program& program, const Round& round) {
        program.seconds.push_back(round.seconds);
        program.alive.push_back(round.compilerAlive);
        program.lines = round.lines;
    };
    for (int round = 0; round < rounds; ++round) {
        const Round b =
            compileOnce(installation, onePipe.main, onePipe.process.hProcess, "Bare - done", bare.sampledPeak);
        const Round v = compileOnce(installation, velumoMain, velumo.process(), "Velumo - ", throughVelumo.sampledPeak);
        const Round t =
            compileOnce(installation, twoThreads.main, twoThreads.process.hProcess, "Bare - done", bareTwo.sampledPeak);
        std::printf("round %d: bare %.3f s (compiler %.3f s), Velumo %.3f s (compiler %.3f s), two threads %.3f s "
                    "(compiler %.3f s)\n",
                    round + 1, b.seconds, b.compilerAlive, v.seconds, v.compilerAlive, t.seconds, t.compilerAlive);
        note(bare, b);
        note(throughVelumo, v);
        note(bareTwo, t);
    }
    report("bare", bare, onePipe.process.hProcess);
    report("Velumo", throughVelumo, velumo.process());
    report("two threads", bareTwo, twoThreads.process.hProcess);
    reportRatios("bare (one pipe, one thread; targets: time at most 1.10, alive at most 1.10, memory at most 1.15)",
                 throughVelumo, bare);
    reportRatios("two threads", throughVelumo, bareTwo);

    PostMessageA(velumoMain, WM_CLOSE, 0, 0);
    velumo.waitForExit();
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--bare") return runBare(argv[2], argv[3], false);
    if (argc == 4 && std::string(argv[1]) == "--bare-two-threads") return runBare(argv[2], argv[3], true);
    const std::string option = argc == 2 ? argv[1] : "";
    if (option == "--line-writes") return runBenchmark("lines.tex");
    if (option == "--unclosed-names") return runBenchmark("unclosed.tex");
    return runBenchmark("bench.tex");
}
