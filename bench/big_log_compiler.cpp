// The compiler of the big-log benchmark: 100,000 lines of 61 bytes and CR LF
// (6.3 MB) on its standard output through the C runtime's buffer (or each
// line by itself), every eighth line in Shift-JIS; given unclosed.tex, as many
// lines that each open a name that is not on disk and never close it, the
// first shape of tests/shared/OutputShapes.h. Before it ends
// it writes how long it ran, in seconds, to big_log_alive.txt beside itself,
// so the benchmark can see how long the capture held it back.
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

#include "shared/OutputShapes.h"

namespace {
constexpr int lineCount = 100000;
constexpr size_t lineWidth = 61; // 63 bytes with CR LF

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string line(int number) {
    std::string text = number % 8 == 7
                           ? "(日本語の段落を組版中：第" + std::to_string(number) + "行"
                           : "(/usr/share/texlive/texmf-dist/tex/latex/base/size10.clo " + std::to_string(number);
    text.resize(lineWidth - 1, ' ');
    return text + ")\r\n";
}

void noteLifetime(double seconds) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file = path;
    file = file.substr(0, file.find_last_of('\\')) + "\\big_log_alive.txt";
    if (FILE* out = std::fopen(file.c_str(), "w")) {
        std::fprintf(out, "%.4f\n", seconds);
        std::fclose(out);
    }
}
} // namespace

int main(int argc, char** argv) {
    // Given lines.tex, each line goes out by itself, as a compiler that flushes
    // its terminal at every line does.
    const std::string document = argc == 2 ? argv[1] : "";
    const bool lineWrites = document == "lines.tex";
    const bool unclosedNames = document == "unclosed.tex";
    const double start = now();
    _setmode(_fileno(stdout), _O_BINARY); // the lines carry their own CR LF
    for (int number = 0; number < lineCount; ++number) {
        const std::string text = unclosedNames ? unclosedNameLine(static_cast<size_t>(number)) + "\r\n" : line(number);
        std::fwrite(text.data(), 1, text.size(), stdout);
        if (lineWrites) std::fflush(stdout);
    }
    std::fflush(stdout);
    noteLifetime(now() - start);
    return 0;
}
