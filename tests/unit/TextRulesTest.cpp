#include <gtest/gtest.h>

#include "text/FileNames.h"

#include "features/StrToInt.h"
#include "platform/Exception.h"
#include "text/CommandLine.h"
#include "text/DosDateTime.h"
#include "text/IntegerText.h"
#include "text/MessageText.h"
#include "text/PathParts.h"

using namespace text;

// "表" and "ソ" end in 0x5C, the byte of "\": it must never split a path.
TEST(PathParts, DoubleByteSecondByteIsNeverASeparator) {
    const std::string path = "C:\\表\\ソ.tex";
    ASSERT_EQ(std::string("\x95\x5C"), "表");
    EXPECT_EQ(".tex", extractFileExt(path));
    EXPECT_EQ("ソ.tex", extractFileName(path));
    EXPECT_EQ("C:\\表", extractFileDir(path));
    EXPECT_EQ("C:\\表\\ソ.dvi", changeFileExt(path, ".dvi"));
    EXPECT_EQ("C:\\表", extractFileDir("C:\\表\\"));
    EXPECT_EQ("表", extractFileName("表"));
    EXPECT_EQ("", extractFileExt("C:\\doc.d\\表"));
}

TEST(PathParts, ExtensionIsTheLastDotAfterTheLastSeparator) {
    EXPECT_EQ("paper.tex", changeFileExt("paper", ".tex"));
    EXPECT_EQ("paper.tex", changeFileExt("paper.texi", ".tex"));
    EXPECT_EQ("a.b\\paper.tex", changeFileExt("a.b\\paper", ".tex"));
    EXPECT_EQ("C:paper.ini", changeFileExt("C:paper", ".ini"));
    EXPECT_EQ("paper..log", changeFileExt("paper.tex", "..log"));
    EXPECT_EQ(".gz", extractFileExt("paper.synctex.gz"));
    EXPECT_EQ("", extractFileExt("C:\\doc\\paper"));
}

TEST(PathParts, FolderKeepsTheBackslashOnlyAtARoot) {
    EXPECT_EQ("C:\\doc", extractFileDir("C:\\doc\\paper.tex"));
    EXPECT_EQ("C:\\", extractFileDir("C:\\paper.tex"));
    EXPECT_EQ("C:", extractFileDir("C:paper.tex"));
    EXPECT_EQ("", extractFileDir("paper.tex"));
    EXPECT_EQ("\\\\", extractFileDir("\\\\paper.tex"));
    EXPECT_EQ("paper tex.tex", extractFileName("C:\\my doc\\paper tex.tex"));
}

TEST(IntegerText, DecimalAndHexadecimalForms) {
    EXPECT_EQ(1000, strToInt("1000"));
    EXPECT_EQ(-5, strToInt("-5"));
    EXPECT_EQ(7, strToInt("  +7"));
    EXPECT_EQ(16, strToInt("$10"));
    EXPECT_EQ(16, strToInt("x10"));
    EXPECT_EQ(16, strToInt("X10"));
    EXPECT_EQ(31, strToInt("0x1f"));
    EXPECT_EQ(31, strToInt("0X1F"));
    EXPECT_EQ(-16, strToInt("-$10"));
    EXPECT_EQ(-1, strToInt("$FFFFFFFF"));
    EXPECT_EQ(2147483647, strToInt("2147483647"));
    EXPECT_EQ(INT32_MIN, strToInt("-2147483648"));
}

TEST(IntegerText, TextsThatAreNoInteger) {
    for (const char* bad :
         {"", " ", "-", "+", "$", "0x", "12 ", "1.5", "abc", "2147483648", "-2147483649", "$100000000", "1 2", "\t5"})
        EXPECT_FALSE(parseInteger(bad).has_value()) << bad;
}

TEST(IntegerText, StrictConversionNamesTheText) {
    try {
        strToInt("12a");
        FAIL();
    } catch (const platform::Exception& error) {
        EXPECT_EQ("'12a' は整数ではありません", error.message());
    }
}

TEST(IntegerText, LenientConversionGivesTheDefault) {
    EXPECT_EQ(1000, strToIntDef("", 1000));
    EXPECT_EQ(1000, strToIntDef("true", 1000));
    EXPECT_EQ(16, strToIntDef("0x10", 1000));
    EXPECT_EQ(16, strToIntDef("$10", 1000));
    EXPECT_EQ(1000, strToIntDef("0x", 1000));
    EXPECT_EQ(2, strToIntDef("2", 0));
}

TEST(DosDateTime, DocumentIsNewerTreatsMissingFilesAndCompareAgesUnsigned) {
    const int32_t in2043 = packDosDateTime({2043, 12, 31, 0, 0, 0});
    const int32_t in2044 = packDosDateTime({2044, 1, 1, 0, 0, 0});
    ASSERT_LT(in2044, 0) << "the top bit is set from 2044 on";
    EXPECT_TRUE(text::documentIsNewer(in2044, in2043));
    EXPECT_FALSE(text::documentIsNewer(in2043, in2044));
    EXPECT_FALSE(text::documentIsNewer(in2043, in2043));
    EXPECT_TRUE(text::documentIsNewer(in2043, text::noFileAge)) << "no DVI yet";
    EXPECT_FALSE(text::documentIsNewer(text::noFileAge, in2043)) << "no document";
}

TEST(DosDateTime, PacksDateHighAndTimeLowInTwoSecondSteps) {
    EXPECT_EQ(static_cast<int32_t>(0x00210000), packDosDateTime({1980, 1, 1, 0, 0, 0}));
    const int32_t age = packDosDateTime({2026, 12, 7, 10, 30, 59});
    EXPECT_EQ(((2026 - 1980) << 25) | (12 << 21) | (7 << 16) | (10 << 11) | (30 << 5) | 29, age);
    EXPECT_EQ(age, packDosDateTime({2026, 12, 7, 10, 30, 58}));
    EXPECT_LT(packDosDateTime({2043, 12, 31, 23, 59, 58}), 0x7FFFFFFF);
    EXPECT_LT(packDosDateTime({2044, 1, 1, 0, 0, 0}), 0) << "the top bit is set from 2044 on";
    EXPECT_EQ(-1, packDosDateTime({1979, 12, 31, 23, 59, 59}));
}

// Every command line the program builds, and how a command line splits into
// the arguments a started program sees.
TEST(CommandLine, BuiltLinesAndTheirArguments) {
    using V = std::vector<std::string>;
    const struct {
        std::string line, expected;
        V arguments;
    } rows[] = {
        {"\"C:\\V\\Velumo.exe\" paper", "", {"C:\\V\\Velumo.exe", "paper"}},
        {"Velumo.exe  \"my paper.tex\"\tx ", "", {"Velumo.exe", "my paper.tex", "x"}},
        {"a b\"c\"d", "", {"a", "bcd"}},
        {"Velumo.exe 表.tex", "", {"Velumo.exe", "表.tex"}},
        {"Velumo.exe   ", "", {"Velumo.exe"}},
        {compileCommandLine("platex.exe", "my paper.tex"),
         "\"platex.exe\" my paper.tex",
         {"platex.exe", "my", "paper.tex"}},
        {jumpCommandLine("notepad.exe", "", "C:\\doc\\a b.tex"),
         "\"notepad.exe\"  \"C:\\doc\\a b.tex\"",
         {"notepad.exe", "C:\\doc\\a b.tex"}},
        {jumpCommandLine("C:\\e d\\ed.exe", "-n12", "p.tex"),
         "\"C:\\e d\\ed.exe\" -n12 \"p.tex\"",
         {"C:\\e d\\ed.exe", "-n12", "p.tex"}},
        {jumpOption("-n%l +%l", "12"), "-n12 +12", {"-n12", "+12"}},
        {jumpOption("/j", "12"), "/j", {"/j"}},
        {jumpOption("%L -n%l", ""), "%L -n", {"%L", "-n"}},
        {jumpOption("%%l", "l"), "%l", {"%l"}}, // the inserted text is not searched again
        {companionCommandLine("C:\\w32tex\\dviout.exe", "C:\\論文\\a b.dvi"),
         "\"C:\\w32tex\\dviout.exe\" \"C:\\論文\\a b.dvi\"",
         {"C:\\w32tex\\dviout.exe", "C:\\論文\\a b.dvi"}},
        {ddeServerCommandLine("windvi", "windvi"), "windvi windvi", {"windvi", "windvi"}},
    };
    for (const auto& row : rows) {
        if (!row.expected.empty()) {
            EXPECT_EQ(row.expected, row.line);
        }
        EXPECT_EQ(row.arguments, splitCommandLine(row.line)) << row.line;
    }
}

TEST(MessageText, TitleAndFullStop) {
    EXPECT_EQ("Velumo", applicationTitle("C:\\Program Files\\VELUMO.EXE"));
    EXPECT_EQ("Velumo", applicationTitle("Z:\\a.b\\Velumo.exe"));
    EXPECT_EQ("My", applicationTitle("C:\\MY.tool.exe"));
    EXPECT_EQ("'x' は整数ではありません.", errorBoxText("'x' は整数ではありません"));
    EXPECT_EQ("Done.", errorBoxText("Done."));
    EXPECT_EQ("line\r\n", errorBoxText("line\r\n"));
    EXPECT_EQ("a-", errorBoxText("a-"));
    EXPECT_EQ("a/.", errorBoxText("a/"));
    EXPECT_EQ("", errorBoxText(""));
}

TEST(FileNames, CaseIsIgnoredOnlyForSingleByteLetters) {
    using text::sameFileName;
    EXPECT_TRUE(sameFileName("C:\\Doc\\Paper.TEX", "c:\\doc\\paper.tex"));
    EXPECT_FALSE(sameFileName("\x83\x41", "\x83\x61")) << "second bytes are not letters";
    EXPECT_FALSE(sameFileName("paper.tex", "paper.tex."));
    EXPECT_TRUE(text::isFullyQualifiedPath("C:\\doc\\paper.tex"));
    EXPECT_TRUE(text::isFullyQualifiedPath("\\\\server\\share\\paper.tex"));
    for (const char* relative : {"paper.tex", "sub\\paper.tex", "\\doc\\paper.tex", "C:paper.tex", ""})
        EXPECT_FALSE(text::isFullyQualifiedPath(relative)) << relative;
}

TEST(FileNames, CleanupTargetsLieBesideTheDocumentAndAreNotIt) {
    using text::isCleanupTarget;
    const std::string document = "C:\\doc\\paper.tex";
    EXPECT_TRUE(isCleanupTarget("C:\\doc\\paper.log", document));
    EXPECT_TRUE(isCleanupTarget("C:\\doc\\paper.synctex.gz", document));
    EXPECT_FALSE(isCleanupTarget("C:\\other.log", document));
    EXPECT_FALSE(isCleanupTarget("C:\\doc\\sub\\paper.log", document));
    EXPECT_FALSE(isCleanupTarget("C:\\doc\\PAPER.TEX", document));
    EXPECT_FALSE(isCleanupTarget("C:\\doc\\Paper", document));
    EXPECT_TRUE(text::isPlainExtension("表")) << "its second byte is a backslash";
    for (const char* item : {"a\\b", "a/b", "tex::$DATA", "*", "log?", "a\"b", "a|b", "<", ">"})
        EXPECT_FALSE(text::isPlainExtension(item)) << item;
}
