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
