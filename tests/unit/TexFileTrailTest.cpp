// Which file TeX was reading at each error, on real pTeX output recorded into
// tex-output/ (the Windows names and the Shift-JIS names rewritten as W32TeX
// and the Windows pTeX print them).
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "text/Lines.h"
#include "text/TexFileTrail.h"

using namespace text;

namespace {
std::string recorded(const std::string& name) {
    std::ifstream in(std::string(VELUMO_TEX_OUTPUT_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string longChapter = "./long/a_rather_long_folder_name_for_chapters/and_another_level_of_folders_here/third/"
                                "chapter_with_a_long_name.tex";
const std::string array = "/usr/share/texlive/texmf-dist/tex/latex/tools/array.sty";
const std::string windowsStyle = "C:\\Users\\表\\doc one\\mystyle.sty";

// The document's own files of every recording; the installation's files exist too.
const std::set<std::string> documentFiles = {"./paper.tex", "./mystyle.sty", "./chapter.tex", "./chapters/one.tex",
                                             "./intro.tex", "./paper.aux",   "./intro.aux",   "./outer.tex",
                                             "./inner.tex", longChapter,     "./表.tex",      "./ソース/第1章.tex",
                                             "chapter.tex", windowsStyle};

// Every file of the installation exists, none with a blank or a parenthesis in its name.
bool exists(const std::string& name) {
    const bool installed = name.rfind("/usr/share/", 0) == 0 || name.rfind("c:/w32tex/", 0) == 0;
    return documentFiles.count(name) || (installed && name.find_first_of(" ()") == std::string::npos);
}

struct Recording {
    const char* file;
    // The files open at each error line, innermost last.
    std::vector<std::vector<std::string>> openAtErrors;
};
} // namespace

TEST(TexFileTrail, FileOpenAtEachErrorOfRealOutput) {
    const std::vector<Recording> recordings = {
        {"several-files.txt",
         {{"./paper.tex", "./mystyle.sty"},
          {"./paper.tex", "./chapter.tex"},
          {"./paper.tex", "./chapters/one.tex"},
          {"./paper.tex", "./intro.tex"}}},
        // outer.tex goes on after (./inner.tex) closed and page [1] was shipped.
        {"nested.txt", {{"./paper.tex", "./outer.tex"}}},
        {"wrapped-name.txt", {{"./paper.tex", longChapter}}},
        {"installation-file.txt", {{"./paper.tex", array}, {"./paper.tex", array}}},
        {"shift-jis-names.txt", {{"./paper.tex", "./表.tex"}, {"./paper.tex", "./ソース/第1章.tex"}}},
        // c:/w32tex/ names, a bare name, a full Windows path with a blank,
        // "(guessed encoding: ...)" and a ")" without an open.
        {"windows-names.txt",
         {{"./paper.tex", windowsStyle},
          {"./paper.tex", "chapter.tex"},
          {"./paper.tex", "./chapters/one.tex"},
          {"./paper.tex", "./intro.tex"}}},
    };
    for (const Recording& recording : recordings) {
        SCOPED_TRACE(recording.file);
        const std::string output = recorded(recording.file);
        ASSERT_FALSE(output.empty());
        const std::vector<TexError> errors = readTexOutput(splitLines(output), exists).errors;
        size_t error = 0;
        for (; error < errors.size() && error < recording.openAtErrors.size(); ++error)
            EXPECT_EQ(recording.openAtErrors[error], errors[error].openFiles) << "line " << errors[error].line;
        EXPECT_EQ(recording.openAtErrors.size(), errors.size());
    }
}

TEST(TexFileTrail, FilesOpenedAreListedOnceInOrderAndEachNameIsAskedOnce) {
    const std::string output = recorded("several-files.txt");
    std::vector<std::string> asked;
    const auto counting = [&](const std::string& name) {
        asked.push_back(name);
        return exists(name);
    };
    const TexOutput files = readTexOutput(splitLines(output), counting);
    const std::string base = "/usr/share/texlive/texmf-dist/tex/latex/";
    EXPECT_EQ((std::vector<std::string>{"./paper.tex", base + "base/article.cls", base + "base/size10.clo",
                                        "./mystyle.sty", base + "l3backend/l3backend-dvips.def", "./chapter.tex",
                                        "./chapters/one.tex", "./intro.tex", "./paper.aux", "./intro.aux"}),
              files.opened);
    EXPECT_EQ(std::set<std::string>(asked.begin(), asked.end()).size(), asked.size());
}

// TeX may break its line right after the "(" itself: the name is all on the next line.
TEST(TexFileTrail, ANameAfterTheLineBreakThatFollowsItsParenthesis) {
    const std::string output = std::string(77, 'x') + "(\n./chapter.tex [1])\n";
    EXPECT_EQ(std::vector<std::string>{"./chapter.tex"}, readTexOutput(splitLines(output), exists).opened);
}

// A message may open a parenthesis it never closes ("\typeout{Checking (step
// 1 of 2}"): the chapter's ")" still closes the chapter.
TEST(TexFileTrail, AMessageThatNeverClosesItsParenthesisEndsWithItsLine) {
    const std::string output = "(./paper.tex (./chapter.tex\nChecking (step 1 of 2\n)\n! Undefined control sequence.\n"
                               "l.5 \\x\n";
    EXPECT_EQ(std::vector<std::string>{"./paper.tex"},
              readTexOutput(splitLines(output), exists).errors.at(0).openFiles);
}

// Output that quotes the author's text or TeX's help, names files in the
// forms TeX uses on Windows and in nonstop mode, or holds more than a hundred
// errors: the file and line of the last error, and how many errors are kept.
TEST(TexFileTrail, ErrorsOfOutputThatQuotesTextOrUsesOtherForms) {
    struct Case {
        const char* what;
        std::string output;
        OutputEncoding encoding;
        std::string file, lineNumber;
        size_t errors;
    };
    const std::string chapterOpen = "(./paper.tex (./chapter.tex\n";
    const std::string undefined = "! Undefined control sequence.\nl.5 \\x\n";
    // 79 characters in 81 bytes: TeX breaks after it.
    const std::string utf8Folder = "./" + std::string(37, 'a') + "\xC3\xBC" + std::string(37, 'b') + "\xC3\xBC/";
    // pTeX printing UTF-8 breaks after 79 columns of its inner encoding,
    // where a Japanese character takes two, or after 78 rather than split one.
    const std::string dumpStart = "[]\\JY1/gt/m/n/17.28 (";
    const auto japaneseDump = [&](size_t columns, const std::string& nextLineStart) {
        std::string dump = "Underfull \\hbox (badness 4454) in paragraph at lines 561--561\n" + dumpStart;
        for (int character = 0; character < 10; ++character)
            dump += "\xE3\x81\x82";
        return dump + std::string(columns - 20 - dumpStart.size(), 'x') + "\n" + nextLineStart + "x) --\n []\n\n";
    };
    // TeX gives up after a hundred errors in one paragraph only.
    std::string manyErrors = chapterOpen;
    for (int error = 0; error < 150; ++error)
        manyErrors += undefined;
    // Past the names TeX's output could ask, a name asked again is still none.
    std::string manyNames = chapterOpen;
    for (int name = 0; name < 4200; ++name)
        manyNames += "(./" + std::to_string(name) + ".tex)\n";
    manyNames += "(./chapter.tex) (./zz.tex) (./zz.tex\n";
    // 136 characters in 266 bytes: within a Windows path's 259 characters.
    std::string longJapanese = "./";
    for (int character = 0; character < 130; ++character)
        longJapanese += "表";
    longJapanese += ".tex";
    const std::vector<Case> cases = {
        {"a Windows path with a drive", "C:/Users/me/macros.tex:7: Undefined control sequence.\nl.7 \\x\n",
         OutputEncoding::CodePage, "C:/Users/me/macros.tex", "7", 1},
        {"a quoted name with a blank", "(./paper.tex (\"./my chap.tex\"\n" + undefined, OutputEncoding::CodePage,
         "./my chap.tex", "5", 1},
        {"a loose box's dump", chapterOpen + "Loose \\hbox (badness 0) in paragraph at lines 3--4\n[]\\OT1/cmr/m/n/10 a) b)\n\n" +
                                   undefined,
         OutputEncoding::CodePage, "./chapter.tex", "5", 1},
        {"the text of a runaway argument",
         chapterOpen + "Runaway argument?\n{text) more\n! Paragraph ended before \\foo was complete.\n<to be read again> \n"
                       "                   \\par \nl.9 \\par\n",
         OutputEncoding::CodePage, "./chapter.tex", "9", 1},
        {"a UTF-8 name broken after 79 characters", utf8Folder + "\nc.tex:7: Undefined control sequence.\nl.7 \\x\n",
         OutputEncoding::Utf8, utf8Folder + "c.tex", "7", 1},
        {"a box's listing", chapterOpen + "\\hbox(6.9+1.9)x345.0, glue set - 1.0\n.\\OT1/cmr/m/n/10 (\n" +
                                std::string(67, '.') + "\\hbox(111.39\n+0.0)x185.6\n.\\OT1/cmr/m/n/10 )\n" + undefined,
         OutputEncoding::CodePage, "./chapter.tex", "5", 1},
        {"a file not found in nonstop mode",
         chapterOpen + "! LaTeX Error: File `structure.tex' not found.\n\nType X to quit or <RETURN> to proceed,\n"
                       "or enter new name. (Default extension: tex)\n\nEnter file name: \n! Emergency stop.\n<read *> \n"
                       "         \nl.24 \\input{structure.tex}\n                          ^^M\n",
         OutputEncoding::CodePage, "./chapter.tex", "24", 1},
        {"a warning pdfTeX glued to a name",
         "(./paper.tex (./chapter.texpdfTeX warning (ext4): destination (name{page.1}) used\n" + undefined,
         OutputEncoding::CodePage, "./chapter.tex", "5", 1},
        {"a package's message over several lines",
         chapterOpen + "Package fontspec Warning: Font \"X\" does not exist\n(fontspec)                (it probably "
                       "doesn't\n(fontspec)                exist).\n\n" + undefined,
         OutputEncoding::CodePage, "./chapter.tex", "5", 1},
        {"a dump broken by pTeX's inner columns", chapterOpen + japaneseDump(79, "x") + undefined, OutputEncoding::Utf8,
         "./chapter.tex", "5", 1},
        {"a dump broken a column early before a character of two",
         chapterOpen + japaneseDump(78, "\xE3\x81\x82") + undefined, OutputEncoding::Utf8, "./chapter.tex", "5", 1},
        {"a missing character that is a parenthesis",
         chapterOpen + "Missing character: There is no ( in font nullfont!\nMissing character: There is no ) in font "
                       "nullfont!\n" + undefined,
         OutputEncoding::CodePage, "./chapter.tex", "5", 1},
        {"TeX's help for a missing number, as the transcript shows it",
         chapterOpen + "! Missing number, treated as zero.\n<to be read again> \n                   =\nl.4 \\x\n"
                       "        \nA number should have been here; I inserted `0'.\n(If you can't figure out why I "
                       "needed to see a number,\nlook up `weird error' in the index to The TeXbook.)\n\n" + undefined,
         OutputEncoding::CodePage, "./chapter.tex", "5", 2},
        {"more than a hundred errors", manyErrors, OutputEncoding::CodePage, "./chapter.tex", "5", 150},
        {"more names than are asked", manyNames + undefined, OutputEncoding::CodePage, "./chapter.tex", "5", 1},
        {"a Japanese name of more bytes than a path's characters", "(./paper.tex (" + longJapanese + "\n" + undefined,
         OutputEncoding::CodePage, longJapanese, "5", 1},
    };
    const std::set<std::string> files = {"./paper.tex",   "./chapter.tex",      "C:/Users/me/macros.tex",
                                         "./my chap.tex", utf8Folder + "c.tex", longJapanese};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TexOutput read =
            readTexOutput(splitLines(c.output), [&](const std::string& name) { return files.count(name) > 0; },
                          c.encoding);
        ASSERT_EQ(c.errors, read.errors.size());
        const TexError& last = read.errors.back();
        const std::string innermost = last.openFiles.empty() ? "" : last.openFiles.back();
        EXPECT_EQ(c.file, last.fileName.empty() ? innermost : last.fileName);
        EXPECT_EQ(c.lineNumber, last.lineNumber);
    }
}
