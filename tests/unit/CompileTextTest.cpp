#include <gtest/gtest.h>

#include "text/ErrorJump.h"
#include "text/Lines.h"

using namespace text;
using Lines = std::vector<std::string>;

TEST(Lines, EveryKindOfBreakEndsALine) {
    EXPECT_EQ((Lines{"a", "b", "c", "d"}), splitLines("a\r\nb\nc\rd"));
    EXPECT_EQ((Lines{"a", "", "b"}), splitLines("a\n\nb\r\n"));
    EXPECT_EQ((Lines{"a", ""}), splitLines("a\r\r\n"));
    EXPECT_EQ((Lines{""}), splitLines("\r\n"));
    EXPECT_EQ(Lines{}, splitLines(""));
    EXPECT_EQ((Lines{"表\\"}), splitLines("表\\\n"));
}

TEST(ErrorScan, OnlyALineStartingWithExclamationCounts) {
    EXPECT_EQ(2u, firstErrorLine({"This is pTeX", " ! not this", "! Undefined control sequence.", "! second"}));
    EXPECT_FALSE(firstErrorLine({"ok", "a!b", ""}).has_value());
    EXPECT_FALSE(firstErrorLine({}).has_value());
}

TEST(ErrorScan, LineNumberIsTakenOnlyWhenItIsDigits) {
    EXPECT_EQ("12", lineNumberText("l.12 \\badmacro"));
    EXPECT_EQ("4", lineNumberText("l.4 "));
    EXPECT_EQ("", lineNumberText("l.12"));    // no blank
    EXPECT_EQ("", lineNumberText("l. 12 x")); // first blank among the first three
    EXPECT_EQ("", lineNumberText(""));
    EXPECT_EQ("", lineNumberText("<*> \\x"));
    EXPECT_EQ("", lineNumberText("l.1&calc 5")); // words of the document never reach the command line
    EXPECT_EQ("", lineNumberText("l.\"x\" y"));
}

TEST(ErrorJump, OptionAndCommandLines) {
    EXPECT_EQ("-n12 +12", jumpOption("-n%l +%l", "12"));
    EXPECT_EQ("/j", jumpOption("/j", "12"));
    EXPECT_EQ("%L -n", jumpOption("%L -n%l", ""));
    EXPECT_EQ("%l", jumpOption("%%l", "l")) << "the inserted text is not searched again";
    EXPECT_EQ("\"notepad.exe\"  \"C:\\doc\\a b.tex\"", jumpCommandLine("notepad.exe", "", "C:\\doc\\a b.tex"));
    EXPECT_EQ("\"C:\\e d\\ed.exe\" -n12 \"p.tex\"", jumpCommandLine("C:\\e d\\ed.exe", "-n12", "p.tex"));
    EXPECT_EQ("\"platex.exe\" my paper.tex", compileCommandLine("platex.exe", "my paper.tex"));
}
