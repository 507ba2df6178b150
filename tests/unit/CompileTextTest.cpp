#include <gtest/gtest.h>

#include "text/Lines.h"
#include "text/TexFileTrail.h"

using namespace text;
using Lines = std::vector<std::string_view>;

TEST(Lines, EveryKindOfBreakEndsALine) {
    EXPECT_EQ((Lines{"a", "b", "c", "d"}), splitLines("a\r\nb\nc\rd"));
    EXPECT_EQ((Lines{"a", "", "b"}), splitLines("a\n\nb\r\n"));
    EXPECT_EQ((Lines{"a", ""}), splitLines("a\r\r\n"));
    EXPECT_EQ((Lines{""}), splitLines("\r\n"));
    EXPECT_EQ(Lines{}, splitLines(""));
    EXPECT_EQ((Lines{"表\\"}), splitLines("表\\\n"));
}

namespace {
std::optional<size_t> firstErrorLine(const Lines& lines) {
    const std::vector<TexError> errors = readTexOutput(lines, [](const std::string&) { return false; }).errors;
    return errors.empty() ? std::nullopt : std::optional<size_t>(errors.front().line);
}
std::string lineNumberText(const Lines& lines, size_t errorLine) {
    for (const TexError& error : readTexOutput(lines, [](const std::string&) { return false; }).errors)
        if (error.line == errorLine) return error.lineNumber;
    return "(no error)";
}
} // namespace

TEST(ErrorScan, OnlyALineStartingWithExclamationCounts) {
    EXPECT_EQ(2u, firstErrorLine({"This is pTeX", " ! not this", "! Undefined control sequence.", "! second"}));
    EXPECT_FALSE(firstErrorLine({"ok", "a!b", ""}).has_value());
    EXPECT_FALSE(firstErrorLine({}).has_value());
}

TEST(ErrorScan, LineNumberIsTakenOnlyWhenItIsDigits) {
    auto numberAfterError = [](std::string_view contextLine) { return lineNumberText({"! Error.", contextLine}, 0); };
    EXPECT_EQ("12", numberAfterError("l.12 \\badmacro"));
    EXPECT_EQ("4", numberAfterError("l.4 "));
    EXPECT_EQ("", numberAfterError("l.12"));    // no blank
    EXPECT_EQ("", numberAfterError("l. 12 x")); // not a context line
    EXPECT_EQ("", numberAfterError(""));
    EXPECT_EQ("", numberAfterError("<*> \\x"));
    EXPECT_EQ("", numberAfterError("l.1&calc 5")); // words of the document never reach the command line
    EXPECT_EQ("", lineNumberText({"! Emergency stop."}, 0));
}

// As the real pTeX writes them: lines of the message itself come between the
// error and TeX's context line.
TEST(ErrorScan, LineNumberComesFromTheContextLineBeforeTheNextError) {
    EXPECT_EQ("5", lineNumberText({"! Missing $ inserted.", "<inserted text> ", "                $",
                                   "<to be read again> ", "                   \\par ", "l.5 ", "", "? "},
                                  0));
    EXPECT_EQ("7", lineNumberText({"! LaTeX Error: \\begin{itemize} on input line 3 ended by \\end{document}.", "",
                                   "See the LaTeX manual or LaTeX Companion for explanation.", "l.7 \\end{document}"},
                                  0));
    EXPECT_EQ("", lineNumberText({"! First.", "no context", "! Second.", "l.9 x"}, 0))
        << "the next error's context line is not the first error's";
    EXPECT_EQ("9", lineNumberText({"! First.", "no context", "! Second.", "l.9 x"}, 2));
}
