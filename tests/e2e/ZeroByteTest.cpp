// Compiler output that holds a zero byte, as a box's dump does where the font
// has a character at code 0 (the minus sign of TeX's symbol font): only the
// zero byte is dropped, and an error after it in the same read reaches the log
// and the jump.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "e2e/Driver.h"

using namespace e2e;
using namespace std::string_literals;

TEST(ZeroByteE2E, AnErrorAfterAZeroByteReachesTheLogAndTheJump) {
    Installation installation;
    const std::string compiler = installation.add("recorded_compiler.exe");
    const std::string editor = installation.add("recording_editor.exe");
    const std::string document = installation.write("paper.tex", "\\input chapter\n");
    const std::string chapter = installation.write("chapter.tex", "One.\nTwo.\n\\badmacro\n");
    installation.write("console.txt", "(./paper.tex (./chapter.tex\r\n"
                                      "Overfull \\hbox (12.0pt too wide) in paragraph at lines 1--2\r\n"
                                      "\\OMS/cmsy/m/n/10 \0 \\OT1/cmr/m/n/10 x\r\n"
                                      " []\r\n\r\n"
                                      "! Undefined control sequence.\r\n"
                                      "l.3 \\badmacro\r\n\r\n))\r\n"s);
    installation.settings("TeX=" + compiler + "\r\nEditor=" + editor + "\r\nErrorJump=1\r\nJumpOption=-n%l\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Compile TeXfile"));
    ASSERT_TRUE(waitUntil([&] { return fileExists(installation.path("record.txt")); }, 30000))
        << "no jump: the error did not reach the log";
    EXPECT_EQ((std::vector<std::string>{"\"" + editor + "\" -n3 \"" + chapter + "\""}),
              readLines(installation.path("record.txt")));

    HWND list = childWindows(main, "ListBox").at(0);
    const std::vector<std::string> lines = listLines(list);
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "\\OMS/cmsy/m/n/10  \\OT1/cmr/m/n/10 x"));
    const int selected = listSelection(list);
    ASSERT_GE(selected, 0);
    EXPECT_EQ("! Undefined control sequence.", lines.at(static_cast<size_t>(selected)));
    EXPECT_TRUE(velumo.close());
}
