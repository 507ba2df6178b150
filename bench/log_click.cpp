// From a double-click on a warning near the end of the log, and from F4 on the
// log's first line, until the editor starts, for logs of 300 (the baseline),
// 10,000, 50,000, 100,000 and 200,000 lines: one Velumo per log, side by side
// on the screen, rounds alternating between them; medians, and each log's
// difference and ratio against the 300-line log of the same run.
//
// This program plays three parts, by the name it is started under: the
// benchmark; "compiler.exe", which prints the log of its folder (log.txt) as
// Velumo's compiler; and "editor.exe", which notes the performance counter at
// its start and its command line in started.txt beside itself (Wine's counter
// is the same in every process).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
const int sizes[] = {300, 10000, 50000, 100000, 200000};
constexpr int rounds = 9;
constexpr int warningLine = 4242; // the line of paper.tex the warning names

double seconds(LONGLONG counter) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter) / static_cast<double>(frequency.QuadPart);
}

LONGLONG counterNow() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

std::string ownPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string ownName() { return ownPath().substr(ownPath().find_last_of('\\') + 1); }

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

// ---- The editor and the compiler --------------------------------------------

int runEditor() {
    const LONGLONG started = counterNow();
    writeFile(folderOf(ownPath()) + "\\started.txt", std::to_string(started) + "\r\n" + GetCommandLineA() + "\r\n");
    return 0;
}

int runCompiler() {
    const std::string log = readFile(folderOf(ownPath()) + "\\log.txt");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
    return 0;
}

// A book's log of `lines` lines with no message but one warning near its end:
// chapters opened and closed, pages shipped out, a Japanese line now and then.
// So F4 from the first line has to go past the whole log to reach it.
std::string bookLog(int lines) {
    std::string log = "This is e-pTeX, Version 3.141592653-p4.0.0-220214-2.6 (sjis.euc) (TeX Live 2022/Debian)\r\n"
                      "(./paper.tex\r\n";
    const int tail = 4;
    int page = 1;
    char line[128];
    for (int number = 2; number < lines - tail; ++number) {
        const int chapter = (number - 2) / 10 + 1, step = (number - 2) % 10;
        const bool whole = number - step + 10 <= lines - tail; // the whole chapter fits before the tail
        if (whole && step == 0)
            std::snprintf(line, sizeof line, "(./chap%d.tex\r\n", chapter);
        else if (whole && step == 9)
            std::snprintf(line, sizeof line, ")\r\n");
        else if (step == 5)
            std::snprintf(line, sizeof line, "第%d章の段落を組み終えました。\r\n", chapter);
        else
            std::snprintf(line, sizeof line, "[%d]\r\n", page++);
        log += line;
    }
    std::snprintf(line, sizeof line,
                  "\r\nLaTeX Warning: Reference `far' on page %d undefined on input line %d.\r\n\r\n)\r\n", page,
                  warningLine);
    return log + line;
}

// ---- The benchmark ----------------------------------------------------------

struct Log {
    int lines = 0;
    Installation installation;
    std::unique_ptr<Velumo> velumo;
    HWND main = nullptr, list = nullptr;
    int warning = 0; // its index in the list
    std::vector<double> click, key;
};

// Seconds from the start until the editor notes its own start; negative when
// it did not start within 10 s or was not sent to the warning's line.
double untilTheEditorStarts(Log& log, LONGLONG start) {
    const std::string started = log.installation.path("started.txt");
    std::string text;
    waitUntil(
        [&] {
            text = readFile(started);
            return text.find("\r\n", text.find("\r\n") + 2) != std::string::npos;
        },
        10000);
    DeleteFileA(started.c_str());
    if (text.find("-n" + std::to_string(warningLine) + " ") == std::string::npos) return -1;
    return seconds(_atoi64(text.c_str()) - start);
}

// Velumo answers again once the editor it started is done with; a pause lets
// the previous round's work settle.
void settle(const Log& log) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(log.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    Sleep(300);
}

double doubleClickTheWarning(Log& log) {
    const POINT point = pointOfLine(log.list, log.warning);
    xdotool("mousemove " + std::to_string(point.x) + " " + std::to_string(point.y));
    Sleep(300); // xdotool runs beside this program
    const LONGLONG start = counterNow();
    xdotool("click --repeat 2 1");
    return untilTheEditorStarts(log, start);
}

double f4FromTheFirstLine(Log& log) {
    SendMessageA(log.list, LB_SETCURSEL, 0, 0);
    SendMessageA(log.list, LB_SETTOPINDEX, 0, 0);
    Sleep(100);
    const LONGLONG start = counterNow();
    PostMessageA(log.list, WM_KEYDOWN, VK_F4, 1);
    return untilTheEditorStarts(log, start);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string loadAverage() {
    const std::string text = readFile("Z:\\proc\\loadavg");
    return text.substr(0, text.find(' '));
}

int runBenchmark() {
    std::printf("load average %s\n", loadAverage().c_str());
    std::vector<Log> logs(std::size(sizes));
    for (size_t i = 0; i < logs.size(); ++i) {
        Log& log = logs[i];
        log.lines = sizes[i];
        const Installation& folder = log.installation;
        const std::string editor = folder.add(ownName(), "editor.exe");
        folder.add(ownName(), "compiler.exe");
        folder.write("log.txt", bookLog(log.lines));
        const std::string document = folder.write("paper.tex", "x");
        folder.settings("Editor=" + editor + "\r\nJumpOption=-n%l\r\nTeX=" + folder.path("compiler.exe") + "\r\n");
        log.velumo = std::make_unique<Velumo>(folder, "\"" + document + "\"");
        log.main = log.velumo->mainWindow();
        if (!log.main) {
            std::fprintf(stderr, "Velumo's window did not appear\n");
            return 1;
        }
        SetWindowPos(log.main, nullptr, static_cast<int>(i % 3) * 340, static_cast<int>(i / 3) * 384, 330, 374,
                     SWP_NOZORDER);
        log.list = childWindows(log.main, "ListBox").at(0);
        press(childWithText(log.main, "Compile TeXfile"));
        waitUntil(
            [&] {
                return windowText(log.main) == "Velumo - " + document &&
                       SendMessageA(log.list, LB_GETCOUNT, 0, 0) == log.lines;
            },
            120000);
        log.warning = log.lines - 3;
        settle(log);
    }

    // A first round to warm up, not counted.
    for (int round = -1; round < rounds; ++round) {
        for (Log& log : logs) {
            const double seconds = doubleClickTheWarning(log);
            if (round >= 0) log.click.push_back(seconds);
            settle(log);
        }
        for (Log& log : logs) {
            const double seconds = f4FromTheFirstLine(log);
            if (round >= 0) log.key.push_back(seconds);
            settle(log);
        }
    }
    xdotool("mousemove 1000 760");

    const auto report = [&](const char* what, std::vector<double> Log::*times) {
        const double baseline = median(logs[0].*times);
        std::printf("%s (medians of %d rounds; the difference and ratio against %d lines)\n", what, rounds,
                    logs[0].lines);
        for (const Log& log : logs) {
            const std::vector<double>& t = log.*times;
            if (*std::min_element(t.begin(), t.end()) < 0)
                std::printf("  %7d lines: an editor did not start\n", log.lines);
            std::printf("  %7d lines: %.3f s (min %.3f, max %.3f)  %+.3f s  x%.2f\n", log.lines, median(t),
                        *std::min_element(t.begin(), t.end()), *std::max_element(t.begin(), t.end()),
                        median(t) - baseline, median(t) / baseline);
        }
    };
    report("double-click on the warning near the end until the editor starts", &Log::click);
    report("F4 from the first line to the warning until the editor starts", &Log::key);
    std::printf("load average %s\n", loadAverage().c_str());

    for (Log& log : logs)
        log.velumo->close();
    return 0;
}
} // namespace

int main() {
    if (lstrcmpiA(ownName().c_str(), "editor.exe") == 0) return runEditor();
    if (lstrcmpiA(ownName().c_str(), "compiler.exe") == 0) return runCompiler();
    return runBenchmark();
}
