#pragma once
// Shapes of compiler output that once made reading TeX's output cost more than
// linear time, at the sizes that froze the window: a test compiler prints them
// for the end-to-end check that the window keeps answering, and the big log's
// compiler prints the first for its benchmark. Each line is made from its
// number alone, so a printer needs no more than a line in memory.
#include <cstddef>
#include <string>

struct OutputShape {
    const char* document; // the document name that asks the test compiler for this shape
    size_t lines;
    std::string (*line)(size_t number); // without its line end (CR LF)
};

// Each line opens a path-like name that is not on disk and never closes it;
// every eighth line is Japanese.
inline std::string unclosedNameLine(size_t number) {
    const std::string counter = std::to_string(1000000 + number % 1000000).substr(1);
    const std::string section = std::to_string(1000 + number / 1000 % 1000).substr(1); // a name per 1,000 lines
    const std::string opened = counter + " (./sec" + section + ".tex [" + std::to_string(number % 1000) + "] ";
    return number % 8 == 7 ? opened + "第" + section + "節の段落の行が不足しています (badness 10000)"
                           : opened + "Underfull \\hbox (badness 10000) in par";
}

// Line `number` of lines `width` bytes wide cut from a piece repeated without
// a break, as TeX cuts a long run of text at its line width.
inline std::string repeatedPieceLine(const std::string& piece, size_t width, size_t number) {
    std::string line(width, ' ');
    for (size_t at = 0; at < width; ++at)
        line[at] = piece[(number * width + at) % piece.size()];
    return line;
}

inline const OutputShape outputShapes[] = {
    {"unclosed.tex", 100000, unclosedNameLine},
    {"one_line.tex", 1, [](size_t number) { return repeatedPieceLine("a.(", 61440, number); }},
    {"broken.tex", 10500, [](size_t number) { return repeatedPieceLine("(a.b", 79, number); }},
    {"long_lines.tex", 2000,
     [](size_t number) { return repeatedPieceLine("(./chap1.tex f(x.1)g(y)(a[3]b)h(x.2)(a.b", 4000, number); }},
};
