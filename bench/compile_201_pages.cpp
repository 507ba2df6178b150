// A whole compile of a 201-page pTeX document through the platex.exe bridge:
// from pressing "Compile TeXfile" until the caption is back, in Velumo and in
// the bare program of bench_big_log (started with --bare), which runs the
// same command line with the same kind of pipes and fills a plain list box.
// Fifteen alternating rounds after one warm-up of each; medians.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
constexpr int rounds = 15;
constexpr int pages = 201;

std::string documentOfPages() {
    std::string text = "\\documentclass{jarticle}\n\\begin{document}\n";
    for (int page = 1; page <= pages; ++page) {
        text += "\\section{第" + std::to_string(page) + "節}\n";
        for (int paragraph = 0; paragraph < 6; ++paragraph)
            text += "日本語の文章を組版する。TeX は段落を行に分け、行をページに分ける。"
                    "The quick brown fox jumps over the lazy dog. $e^{i\\pi}+1=0$.\n\n";
        if (page < pages) text += "\\newpage\n";
    }
    return text + "\\end{document}\n";
}

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The caption of another program's window, read without sending it a message,
// so polling does not wake the program being measured.
std::string caption(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Presses "Compile TeXfile" and waits until the caption leaves what it was and
// comes back to one that begins with doneCaption.
double compileOnce(HWND main, const std::string& doneCaption) {
    HWND button = childWithText(main, "Compile TeXfile");
    const std::string before = caption(main);
    const double start = now();
    PostMessageA(button, BM_CLICK, 0, 0);
    while (caption(main) == before)
        Sleep(1);
    while (caption(main).rfind(doneCaption, 0) != 0)
        Sleep(1);
    return now() - start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

HWND bareWindowOf(DWORD processId) {
    HWND found = nullptr;
    waitUntil([&] {
        for (HWND window = FindWindowA("BigLogBare", nullptr); window && !found;
             window = FindWindowExA(nullptr, window, "BigLogBare", nullptr))
            if (processOf(window) == processId) found = window;
        return found != nullptr;
    });
    return found;
}
} // namespace

int main() {
    Installation installation;
    const std::string compiler = installation.add("platex.exe");
    installation.add("bench_big_log.exe", "bare.exe");
    writeFile(installation.path("bench.tex"), documentOfPages());
    writeFile(installation.ini(), "[Option]\r\nTeX=" + compiler + "\r\n");

    Velumo velumo(installation, "\"" + installation.path("bench.tex") + "\"");
    HWND velumoMain = velumo.mainWindow();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION bare{};
    std::string bareCommand = "\"" + installation.path("bare.exe") + "\" --bare \"" + compiler + "\" bench.tex";
    CreateProcessA(nullptr, bareCommand.data(), nullptr, nullptr, FALSE, 0, nullptr, installation.folder().c_str(),
                   &startup, &bare);
    HWND bareMain = bareWindowOf(bare.dwProcessId);
    const auto ready = [](HWND main) { return main && childWithText(main, "Compile TeXfile"); };
    waitUntil([&] { return ready(velumoMain) && ready(bareMain); });
    if (!ready(velumoMain) || !ready(bareMain)) {
        std::fprintf(stderr, "a window did not appear\n");
        return 1;
    }

    // The first compile of each warms the TeX format and the font caches.
    compileOnce(bareMain, "Bare - done");
    compileOnce(velumoMain, "Velumo - ");
    std::vector<double> bareSeconds, velumoSeconds;
    for (int round = 0; round < rounds; ++round) {
        bareSeconds.push_back(compileOnce(bareMain, "Bare - done"));
        velumoSeconds.push_back(compileOnce(velumoMain, "Velumo - "));
    }
    // Each round's own ratio as well: neighbouring compiles share the machine's
    // passing load, so their median is steadier than the ratio of the medians.
    std::vector<double> roundRatios;
    for (int round = 0; round < rounds; ++round)
        roundRatios.push_back(velumoSeconds[round] / bareSeconds[round]);
    const std::string log = readFile(installation.path("bench.log"));
    const size_t written = log.find("Output written on");
    std::printf("%d-page compile, median of %d alternating rounds: bare program %.3f s, Velumo %.3f s, "
                "ratio %.3f (target at most 1.05); median of the rounds' own ratios %.3f\n%s\n",
                pages, rounds, median(bareSeconds), median(velumoSeconds), median(velumoSeconds) / median(bareSeconds),
                median(roundRatios),
                written == std::string::npos ? "no DVI written"
                                             : log.substr(written, log.find('\n', written) - written).c_str());

    PostMessageA(bareMain, WM_CLOSE, 0, 0);
    PostMessageA(velumoMain, WM_CLOSE, 0, 0);
    velumo.waitForExit();
    WaitForSingleObject(bare.hProcess, 10000);
    CloseHandle(bare.hThread);
    CloseHandle(bare.hProcess);
    return 0;
}
