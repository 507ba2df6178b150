// The real mouse double-clicks lines of the log of a real pTeX compile, and
// Enter opens the selected one: the editor goes where each line speaks of.
#include <gtest/gtest.h>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
// Double-clicks the line with the X display's mouse, scrolled into view.
void doubleClickLine(HWND list, int index) {
    SendMessageA(list, LB_SETTOPINDEX, index, 0);
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    POINT point{20, (index - top) * height + height / 2};
    ClientToScreen(list, &point);
    xdotool("mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + " click --repeat 2 1");
}
} // namespace

TEST(LogClickE2E, ADoubleClickOnAWarningOrTheSecondErrorSendsTheEditorThere) {
    Installation installation;
    installation.add("platex.exe");
    const std::string editor = installation.add("recording_editor.exe"), record = installation.path("record.txt");
    const std::string document = installation.write("paper.tex", "\\documentclass{jarticle}\n\\begin{document}\n"
                                                                 "\\input{第1章}\n\\badinpaper\n\\end{document}\n");
    const std::string chapter = installation.write("第1章.tex", "Chapter.\nSee \\ref{nowhere}.\n\\badinchapter\n");
    installation.settings("Editor=" + editor + "\r\nErrorJump=1\r\nJumpOption=-n%l\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Compile TeXfile"));
    ASSERT_TRUE(waitUntil([&] { return windowText(main) == "Velumo - " + document && fileExists(record); }, 60000));

    HWND list = childWindows(main, "ListBox").at(0);
    const std::vector<std::string> lines = listLines(list);
    const auto nthLine = [&](const std::string& start, int nth) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(start, 0) == 0 && nth-- == 0) return static_cast<int>(i);
        return -1;
    };
    // The jump to the first error; a double-click on the warning, one on the
    // second error, and Enter on the line selected, each waited for: xdotool
    // runs beside this test.
    const std::string at = "\"" + editor + "\" -n";
    const std::vector<std::string> expected = {at + "3 \"" + chapter + "\"", at + "2 \"" + chapter + "\"",
                                               at + "4 \"" + document + "\"", at + "4 \"" + document + "\""};
    for (size_t step = 1; step < expected.size(); ++step) {
        if (step < 3) doubleClickLine(list, step == 1 ? nthLine("LaTeX Warning: Reference", 0) : nthLine("! ", 1));
        if (step == 3) PostMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
        ASSERT_TRUE(waitUntil([&] { return readLines(record).size() > step; })) << "step " << step;
    }
    EXPECT_EQ(expected, readLines(record));
    xdotool("mousemove 1000 700");
    EXPECT_TRUE(velumo.close());
}
