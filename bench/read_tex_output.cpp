// Reading a 100,000-line log of TeX's output natively: the files TeX opened
// and the errors it met, against the least any reader pays, one pass over the
// bytes that counts the parentheses, in the same run. The log is the big
// log's (a file name in parentheses on every line, every eighth line in
// Shift-JIS) with TeX's noise mixed in: box dumps cut over several lines,
// warnings, page marks and errors in both forms.
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <time.h>

#include "text/Lines.h"
#include "text/TexFileTrail.h"

namespace {
constexpr int lineCount = 100000;
constexpr int rounds = 7;

std::string bigLog() {
    std::string text;
    for (int number = 0; number < lineCount; ++number) {
        std::string line;
        switch (number % 50) {
        case 10:
            line = "Overfull \\hbox (12.5pt too wide) in paragraph at lines 3--4";
            break;
        case 11:
            line = "[]\\OT1/cmr/m/n/10 a)b)c)d)e)f)g)h)i)j)k)l)m)n)o)p)q)r)s)t)u)v)w)x)y)z)a)b)c)d)e)f)g)h)i)j)";
            break;
        case 12:
            line = "k)l)m) (open";
            break;
        case 20:
            line = "./chapter.tex:" + std::to_string(number) + ": Undefined control sequence.";
            break;
        case 21:
            line = "l." + std::to_string(number) + " \\badmacro (x)";
            break;
        case 30:
            line = "! Missing $ inserted.";
            break;
        case 31:
            line = "<inserted text> ";
            break;
        case 32:
            line = "l.5 a) b)";
            break;
        case 40:
            line = "LaTeX Warning: Reference `fig:a' on page 1 undefined on input line 7.";
            break;
        case 41:
            line = "[1] (./chapter.tex [2])";
            break;
        default:
            line = number % 8 == 7
                       ? "(日本語の段落を組版中：第" + std::to_string(number) + "行"
                       : "(/usr/share/texlive/texmf-dist/tex/latex/base/size10.clo " + std::to_string(number);
            line.resize(60, ' ');
            line += ")";
        }
        text += line + "\r\n";
    }
    return text;
}

// <chrono> does not compile with the Shift-JIS execution character set.
double now() {
    timespec time;
    clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

template <typename Work> double milliseconds(Work work) {
    const double start = now();
    work();
    return now() - start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main() {
    const std::string log = bigLog();
    const std::set<std::string> files = {"/usr/share/texlive/texmf-dist/tex/latex/base/size10.clo", "./chapter.tex"};
    std::vector<double> reads, baselines;
    size_t found = 0, parentheses = 0;
    for (int round = 0; round < rounds; ++round) {
        baselines.push_back(milliseconds(
            [&] { parentheses = std::count(log.begin(), log.end(), '(') + std::count(log.begin(), log.end(), ')'); }));
        reads.push_back(milliseconds([&] {
            const text::TexOutput read = text::readTexOutput(
                text::splitLines(log), [&](const std::string& name) { return files.count(name) > 0; });
            found = read.opened.size() + read.errors.size();
        }));
    }
    std::printf("read_tex_output: %d lines (%.1f MB), %zu files and errors, %zu parentheses\n", lineCount,
                static_cast<double>(log.size()) / 1e6, found, parentheses);
    std::printf("  reading TeX's output  median %.1f ms of %d rounds (goal: under 40 ms)\n", median(reads), rounds);
    std::printf("  counting parentheses  median %.1f ms\n", median(baselines));
    std::printf("  ratio %.2f\n", median(reads) / median(baselines));
    return 0;
}
