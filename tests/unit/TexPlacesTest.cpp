// Which place in a file each line of TeX's output speaks of: every shape of
// message on one output, and TeX's line break inside "on input line N." in
// each encoding. TexRunsTest replays the recorded real runs.
#include <gtest/gtest.h>

#include <set>

#include "text/TexPlaces.h"

using namespace text;

namespace {
const std::string chapterUtf8 = "./\xe7\xac\xac" "1\xe7\xab\xa0.tex"; // ./第1章.tex
const std::set<std::string> files = {"./paper.tex", "./chap.tex", chapterUtf8};
bool exists(const std::string& name) { return files.count(name) > 0; }

// "file:number" of the place, "-" for none.
std::string placeText(const std::vector<std::string_view>& lines, size_t line, OutputEncoding encoding) {
    const std::optional<TexPlace> place = placeOfLine(lines, line, exists, encoding);
    if (!place) return "-";
    const std::string file = !place->fileName.empty() ? place->fileName
                             : place->openFiles.empty() ? "" : place->openFiles.back();
    return file + ":" + place->lineNumber;
}

// A warning whose "on input line" TeX's line break cut after 79 characters.
std::string cutWarning(const std::string& filler) {
    return "LaTeX Warning: Citation `" + filler + "' on page 1 undefined on input li";
}
} // namespace

TEST(TexPlaces, EachLineSpeaksOfTheMessagePlaceItBelongsTo) {
    const std::string cut = cutWarning(std::string(21, 'x'));
    ASSERT_EQ(79u, cut.size());
    const std::vector<std::string_view> output = {
        "This is e-pTeX, Version 3.14159265-p4.0.0", "(./paper.tex",
        "LaTeX Warning: Reference `x' on page 1 undefined on input line 12.", "", "(./chap.tex",
        "Package hyperref Warning: Token not allowed in a PDF string (Unicode):",
        "(hyperref)                removing `\\\\' on input line 7.", "",
        "Overfull \\hbox (15.0pt too wide) in paragraph at lines 3--4", "[]\\OT1/cmr/m/n/10 text (open", "",
        "! Undefined control sequence.", "<argument> \\foo", "               ", "l.9 \\section{\\foo}",
        "                  more", "Underfull \\hbox (badness 10000) detected at line 21", "[][]", ")",
        "LaTeX Font Warning: Font shape `OT1/cmr/m/sc' in size <10> not available",
        "(Font)              size <12> substituted on input line 30.", cut, "ne 55.",
        "LaTeX Warning: There were undefined references.",
        "Overfull \\vbox (2.0pt too high) has occurred while \\output is active", "Runaway argument?", "{abc",
        "! Paragraph ended before \\textbf was complete.", "<to be read again> ", "l.50 ",
        "./chap.tex:60: Undefined control sequence.", "l.60 \\foo", ")"};
    const std::vector<std::pair<std::vector<size_t>, std::string>> expected = {
        {{0, 1, 3, 4, 7, 10, 18, 23, 24, 40}, "-"},
        {{2}, "./paper.tex:12"},
        {{5, 6}, "./chap.tex:7"},
        {{8, 9}, "./chap.tex:3"},
        {{11, 12, 13, 14, 15}, "./chap.tex:9"},
        {{16, 17}, "./chap.tex:21"},
        {{19, 20}, "./paper.tex:30"},
        {{21, 22}, "./paper.tex:55"},
        {{25, 26, 27, 28, 29}, "./paper.tex:50"},
        {{30, 31, 32}, "./chap.tex:60"},
    };
    for (const auto& [lines, place] : expected)
        for (const size_t line : lines)
            EXPECT_EQ(place, placeText(output, line, OutputEncoding::CodePage)) << "line " << line;

    // upTeX counts characters, not bytes, when it breaks a line.
    const std::string utf8Cut = cutWarning([] {
        std::string filler;
        for (int k = 0; k < 21; ++k)
            filler += "\xe7\xab\xa0"; // 章
        return filler;
    }());
    const std::string opening = "(" + chapterUtf8;
    const std::vector<std::string_view> utf8 = {opening, utf8Cut, "ne 8.", ")"};
    EXPECT_EQ(chapterUtf8 + ":8", placeText(utf8, 1, OutputEncoding::Utf8));
    EXPECT_EQ(chapterUtf8 + ":8", placeText(utf8, 2, OutputEncoding::Utf8));
    EXPECT_EQ("-", placeText(utf8, 1, OutputEncoding::CodePage));
}
