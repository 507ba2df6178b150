// A whole compile of a 200-page pTeX document through Velumo (from pressing
// "Compile TeXfile" until the title is back), against the same compile run
// directly by the platex.exe bridge, in the same run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
std::string document200Pages() {
    std::string text = "\\documentclass{jarticle}\n\\begin{document}\n";
    for (int page = 1; page <= 200; ++page) {
        text += "\\section{第" + std::to_string(page) + "節}\n";
        for (int paragraph = 0; paragraph < 6; ++paragraph)
            text += "日本語の文章を組版する。TeX は段落を行に分け、行をページに分ける。"
                    "The quick brown fox jumps over the lazy dog. $e^{i\\pi}+1=0$.\n\n";
        text += "\\newpage\n";
    }
    return text + "\\end{document}\n";
}

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double compileDirectly(const Installation& installation) {
    const std::string input = installation.path("input.txt");
    writeFile(input, "R\x1A");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE in = CreateFileA(input.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileA(installation.path("direct.out").c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0,
                             nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + installation.path("platex.exe") + "\" bench.tex";
    const double start = now();
    CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                   installation.folder().c_str(), &startup, &process);
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = now() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(in);
    CloseHandle(out);
    return seconds;
}

double compileThroughVelumo(HWND main) {
    HWND compile = childWithText(main, "Compile TeXfile");
    const double start = now();
    PostMessageA(compile, BM_CLICK, 0, 0);
    waitUntil([&] { return windowText(main) == "コンパイル中"; }, 10000);
    while (windowText(main).rfind("Velumo - ", 0) != 0) Sleep(2);
    return now() - start;
}
} // namespace

int main() {
    Installation installation;
    installation.add("platex.exe");
    writeFile(installation.path("bench.tex"), document200Pages());
    writeFile(installation.ini(), "[Option]\r\n");
    Velumo velumo(installation, "\"" + installation.path("bench.tex") + "\"");
    HWND main = velumo.mainWindow();
    if (!main) return 1;

    compileDirectly(installation); // warm the TeX format and font caches first
    double direct = 1e9, throughVelumo = 1e9;
    for (int round = 0; round < 3; ++round) {
        direct = std::min(direct, compileDirectly(installation));
        throughVelumo = std::min(throughVelumo, compileThroughVelumo(main));
    }
    const std::string dvi = readFile(installation.path("bench.dvi"));
    std::printf("200-page compile: bridge directly %.2f s, through Velumo %.2f s, ratio %.3f (target at most 1.05); "
                "DVI %zu bytes\n",
                direct, throughVelumo, throughVelumo / direct, dvi.size());
    PostMessageA(main, WM_CLOSE, 0, 0);
    velumo.waitForExit();
    return 0;
}
