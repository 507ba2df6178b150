// Documents of several files with the real pTeX: the error jump reaches the
// file where the error is, and the watcher sees every file the compile read.
#include <gtest/gtest.h>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
std::string documentReading(const std::string& command) {
    return "\\documentclass{jarticle}\n\\usepackage{mystyle}\n\\begin{document}\n" + command + "\n\\end{document}\n";
}
} // namespace

TEST(SeveralFilesE2E, TheErrorJumpOpensTheFileWhereTheErrorIs) {
    Installation installation;
    installation.add("platex.exe");
    const std::string editor = installation.add("recording_editor.exe");
    const std::string folder = installation.path("my doc");
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\chapters").c_str(), nullptr);
    const std::string document = folder + "\\paper.tex";
    writeFile(folder + "\\mystyle.sty", "\\ProvidesPackage{mystyle}\n\\newcommand\\mine{x}\n");
    writeFile(folder + "\\chapter.tex", "Chapter\n\nline three\n\\undefinedinchapter\n");
    writeFile(folder + "\\chapters\\one.tex", "One\n\\undefinedinone\n");
    writeFile(folder + "\\intro.tex", "Intro\n\n\\undefinedinintro\n");
    CreateDirectoryA((folder + "\\ソース").c_str(), nullptr);
    writeFile(folder + "\\ソース\\第1章.tex", "表\n\\undefinedindai\n");
    installation.settings("Editor=" + editor + "\r\nErrorJump=1\r\nJumpOption=-n%l\r\n");
    writeFile(document, documentReading("x"));
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);

    struct Case {
        std::string command, file, line;
    };
    const std::vector<Case> cases = {
        {"\\input{chapter}", folder + "\\chapter.tex", "4"},
        {"\\input{chapters/one}", folder + "\\chapters\\one.tex", "2"},
        {"\\include{intro}", folder + "\\intro.tex", "3"},
        {"\\input{ソース/第1章}", folder + "\\ソース\\第1章.tex", "2"},
        {"\\mine\\undefinedinpaper", document, "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        DeleteFileA(installation.path("record.txt").c_str());
        writeFile(document, documentReading(c.command));
        press(childWithText(main, "Compile TeXfile"));
        ASSERT_TRUE(waitUntil([&] { return fileExists(installation.path("record.txt")); }, 60000));
        ASSERT_TRUE(waitUntil([&] { return windowText(main) == "Velumo - " + document; }, 30000));
        const std::string jump = "\"" + editor + "\" -n" + c.line + " \"" + c.file + "\"";
        EXPECT_EQ((std::vector<std::string>{jump}), readLines(installation.path("record.txt")));
        EXPECT_EQ(jump, listLines(childWindows(main, "ListBox").at(0)).back());
    }

    // An error inside the author's own package beside the document.
    writeFile(folder + "\\mystyle.sty", "\\ProvidesPackage{mystyle}\n\\newcommand\\mine{x}\n\\undefinedinsty\n");
    DeleteFileA(installation.path("record.txt").c_str());
    press(childWithText(main, "Compile TeXfile"));
    ASSERT_TRUE(waitUntil([&] { return fileExists(installation.path("record.txt")); }, 60000));
    EXPECT_EQ((std::vector<std::string>{"\"" + editor + "\" -n3 \"" + folder + "\\mystyle.sty\""}),
              readLines(installation.path("record.txt")));
    EXPECT_TRUE(velumo.close());
}

// \include{chap} writes chap.aux at every compile; with an \input of a missing
// file no DVI is written, so chap.aux is newer than any DVI. Neither may start
// a compile; a saved chapter starts exactly one.
TEST(SeveralFilesE2E, TheWatcherCompilesASavedChapterOnceAndNeverForFilesItWrites) {
    Installation installation;
    installation.add("platex.exe");
    const std::string document = installation.path("paper.tex");
    const std::string chapter = installation.write("chap.tex", "A chapter\n");
    writeFile(document, "\\documentclass{jarticle}\n\\begin{document}\n\\include{chap}\n\\end{document}\n");
    installation.settings("AutoCompile=1\r\nCheckInterval=500\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    const auto idle = [&] { return windowText(main) == "Velumo - " + document; };
    ASSERT_TRUE(waitUntil([&] { return fileExists(installation.path("paper.dvi")); }, 30000));
    ASSERT_TRUE(waitUntil(idle, 30000));
    Sleep(2100); // the next save lies in a later two-second step than the DVI
    EXPECT_EQ(0, compilesWithin(main, 1500));

    touchNow(chapter);
    EXPECT_EQ(1, compilesWithin(main, 2500)) << "the saved chapter is compiled once";
    ASSERT_TRUE(waitUntil(idle, 30000));

    // An empty chapter ships no page before the missing file stops pTeX: no DVI at all.
    writeFile(chapter, "%\n");
    writeFile(document, "\\documentclass{jarticle}\n\\begin{document}\n\\include{chap}\n\\input{missing}\n"
                        "\\end{document}\n");
    DeleteFileA(installation.path("paper.dvi").c_str());
    EXPECT_EQ(1, compilesWithin(main, 4000)) << "a document that fails without a DVI is compiled once";
    ASSERT_TRUE(waitUntil(idle, 30000));
    EXPECT_FALSE(fileExists(installation.path("paper.dvi")));
    EXPECT_EQ(0, compilesWithin(main, 3000)) << "not again because of the files it wrote";
    Sleep(2100);
    touchNow(chapter);
    EXPECT_EQ(1, compilesWithin(main, 4000)) << "the saved chapter, once";
    EXPECT_TRUE(velumo.close());
}
