// The log of a compile through the real window: its messages show in their
// colours on the screen; the real mouse double-clicks lines, Enter opens the
// selected one, F4 and Shift+F4 step from message to message, and the editor
// goes where each speaks of, also on logs of very many or very long lines.
#include <gtest/gtest.h>

#include "e2e/Driver.h"

using namespace e2e;
using namespace std::string_literals;

namespace {
std::string doubleClickAt(POINT point) {
    return "mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + " click --repeat 2 1";
}

// Double-clicks the line with the X display's mouse.
void doubleClickLine(HWND list, int index) { xdotool(doubleClickAt(pointOfLine(list, index))); }

std::string editorAt(const std::string& editor, int line, const std::string& file) {
    return "\"" + editor + "\" -n" + std::to_string(line) + " \"" + file + "\"";
}

// The recording editor, sent to "-n<line>", and the compiler, both copied
// into the folder, with more settings if given.
std::string setUp(const Installation& installation, const std::string& compiler, const std::string& more = "") {
    const std::string editor = installation.add("recording_editor.exe");
    installation.settings("Editor=" + editor + "\r\nJumpOption=-n%l\r\nTeX=" + installation.add(compiler) + "\r\n" +
                          more);
    return editor;
}

// Velumo on the document in a window large enough to show a short log whole,
// compiled once.
struct CompiledLog {
    CompiledLog(const Installation& installation, const std::string& document)
        : record(installation.path("record.txt")), velumo(installation, "\"" + document + "\"") {
        main = velumo.mainWindow();
        SetWindowPos(main, nullptr, 0, 0, 640, 480, SWP_NOZORDER);
        press(childWithText(main, "Compile TeXfile"));
        list = childWindows(main, "ListBox").at(0);
        waitUntil(
            [&] { return windowText(main) == "Velumo - " + document && SendMessageA(list, LB_GETCOUNT, 0, 0) > 0; },
            60000);
    }
    size_t edits() const { return readLines(record).size(); }

    std::string record;
    Velumo velumo;
    HWND main = nullptr, list = nullptr;
};

// The index of the nth line that starts so.
int lineStarting(const std::vector<std::string>& lines, const std::string& start, int nth = 0) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(start, 0) == 0 && nth-- == 0) return static_cast<int>(i);
    return -1;
}

std::string utf8Of(const std::string& codePage) {
    std::wstring wide(codePage.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, codePage.data(), static_cast<int>(codePage.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    return utf8;
}
} // namespace

TEST(LogClickE2E, ADoubleClickOnAWarningOrTheSecondErrorSendsTheEditorThere) {
    Installation installation;
    const std::string editor = setUp(installation, "platex.exe", "ErrorJump=1\r\n");
    const std::string document = installation.write("paper.tex", "\\documentclass{jarticle}\n\\begin{document}\n"
                                                                 "\\input{第1章}\n\\badinpaper\n\\end{document}\n");
    const std::string chapter = installation.write("第1章.tex", "Chapter.\nSee \\ref{nowhere}.\n\\badinchapter\n");
    CompiledLog log(installation, document);
    ASSERT_TRUE(waitUntil([&] { return log.edits() == 1; }));
    const std::vector<std::string> lines = listLines(log.list);
    // The jump to the first error; a double-click on the warning, one on the
    // second error, and Enter on the line selected, each waited for: xdotool
    // runs beside this test.
    const std::vector<std::string> expected = {editorAt(editor, 3, chapter), editorAt(editor, 2, chapter),
                                               editorAt(editor, 4, document), editorAt(editor, 4, document)};
    const int clicked[] = {-1, lineStarting(lines, "LaTeX Warning: Reference"), lineStarting(lines, "! ", 1)};
    for (size_t step = 1; step < expected.size(); ++step) {
        if (step < 3) doubleClickLine(log.list, clicked[step]);
        if (step == 3) PostMessageA(log.list, WM_KEYDOWN, VK_RETURN, 1);
        ASSERT_TRUE(waitUntil([&] { return log.edits() > step; })) << "step " << step;
    }
    EXPECT_EQ(expected, readLines(log.record));
    xdotool("mousemove 1000 700");
    EXPECT_TRUE(log.velumo.close());
}

// pTeX's output with two errors, warnings and bad boxes: each kind of message
// shows in its colour on the screen, F4 from the top sends the editor to each
// message in turn (a warning that names no line only selects it), and
// Shift+F4, a real key press, goes back.
TEST(LogClickE2E, MessagesShowInTheirColoursAndF4AndShiftF4StepThroughThem) {
    Installation installation;
    const std::string editor = setUp(installation, "platex.exe");
    const std::string chapter = installation.write("第1章.tex", "Chapter.\nSee \\ref{missing}.\n\\badinchapter\n"
                                                                "\\noindent\\hbox to 10pt{Overfull text here}\n");
    const std::string document = installation.write(
        "paper.tex", "\\documentclass{jarticle}\n\\begin{document}\n\\input{第1章}\n\\badinpaper\n\\makeatletter\n"
                     "\\PackageWarning{velumo}{Two lines\\MessageBreak of warning}\n\\hbox to 20pt{Far too wide}\n\n"
                     "\\hbox to 300pt{x}\n\nSee \\ref{nowhere}.\n\\end{document}\n");
    CompiledLog log(installation, document);
    const std::vector<std::string> lines = listLines(log.list);

    // A line of each kind in its colour and in no other; a plain line in the window's text colour.
    const COLORREF tints[] = {RGB(0xC0, 0, 0), RGB(0x8A, 0x56, 0), RGB(0x3A, 0x5F, 0x8A),
                              GetSysColor(COLOR_WINDOWTEXT)};
    const int shown[] = {lineStarting(lines, "l.4 \\badinpaper"), lineStarting(lines, "(velumo) "),
                         lineStarting(lines, "\\OT1/cmr/m/n/10 Far"), lineStarting(lines, "No file paper.aux")};
    const auto rowOf = [&](int line) {
        const POINT middle = pointOfLine(log.list, line);
        const int height = static_cast<int>(SendMessageA(log.list, LB_GETITEMHEIGHT, 0, 0));
        return RECT{middle.x - 18, middle.y - height / 2 + 1, middle.x + 400, middle.y + height / 2 - 1};
    };
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(lines.at(shown[kind]));
        EXPECT_TRUE(waitUntil([&] { return screenPixelsOf(rowOf(shown[kind]), tints[kind]) > 10; }, 5000));
        for (int other = 0; other < 4; ++other)
            EXPECT_EQ(other == kind, screenPixelsOf(rowOf(shown[kind]), tints[other]) > 0) << other;
    }

    // F4 through every message and once more past the last, which changes
    // nothing; then Shift+F4 back to the first.
    struct Stop {
        const char* start;
        int nth, line;
        const std::string* file; // none: a warning without a line
    };
    const Stop stops[] = {{"LaTeX Warning: Reference `missing'", 0, 2, &chapter},
                          {"! ", 0, 3, &chapter},
                          {"Overfull", 0, 4, &chapter},
                          {"! ", 1, 4, &document},
                          {"Package velumo", 0, 6, &document},
                          {"Overfull", 1, 7, &document},
                          {"Underfull", 0, 9, &document},
                          {"LaTeX Warning: Reference `nowhere'", 0, 11, &document},
                          {"LaTeX Warning: There were", 0, 0, nullptr}};
    const int count = static_cast<int>(std::size(stops));
    std::vector<std::string> expected;
    for (int step = 0; step < 2 * count - 1; ++step) {
        const bool forward = step < count;
        const Stop& stop = stops[forward ? step : 2 * count - 2 - step];
        if (forward) {
            PostMessageA(log.list, WM_KEYDOWN, VK_F4, 1);
        } else {
            if (step == count) PostMessageA(log.list, WM_KEYDOWN, VK_F4, 1);
            xdotool("key shift+F4");
        }
        if (stop.file) expected.push_back(editorAt(editor, stop.line, *stop.file));
        ASSERT_TRUE(waitUntil([&] {
            return listSelection(log.list) == lineStarting(lines, stop.start, stop.nth) &&
                   log.edits() == expected.size();
        })) << "step "
            << step << ": " << stop.start << ", selected " << listSelection(log.list);
    }
    EXPECT_EQ(expected, readLines(log.record));
    // The selected line, a warning, keeps the system's highlight colours.
    const RECT selected = rowOf(listSelection(log.list));
    EXPECT_GT(screenPixelsOf(selected, GetSysColor(COLOR_HIGHLIGHT)), 10);
    EXPECT_GT(screenPixelsOf(selected, GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
    EXPECT_TRUE(log.velumo.close());
}

// Logs the double-click once failed on, printed by a compiler of the tests:
// lines of over a thousand bytes, in the code page and in UTF-8 (a line read
// back from the list overran the system's buffer and brought the program
// down), and a hundred thousand lines (the list's own hit test answers in 16
// bits), and a zero byte before an error (the capture once lost the rest of
// its read). A double-click on an error's context line, or far down, starts the
// editor there; the program runs on, a double-click below the last line opens
// nothing, and one on a second error opens it.
TEST(LogClickE2E, ADoubleClickOpensItsLineOnLogsOfLongLinesOrOfManyLines) {
    std::string paragraph;
    for (int i = 0; i < 40; ++i)
        paragraph += "長い段落の本文がここに続きます。";
    std::string wide = "(./paper.tex (./第1章.tex " + paragraph + "\r\n! Undefined control sequence.\r\n";
    wide += "l.7 " + paragraph + "\\badmacro\r\n" + std::string(paragraph.size() + 13, ' ') + paragraph + "\r\n";
    wide += ") " + paragraph +
            "\r\n! Undefined control sequence.\r\nl.12 \\another\r\n\r\n"
            "LaTeX Warning: Reference `x' on page 1 undefined on input line 15.\r\n";
    std::string many = "(./paper.tex\r\n";
    for (int page = 1; page < 100000; ++page)
        many.append("[").append(std::to_string(page)).append("]\r\n");
    many += "LaTeX Warning: Reference `far' on page 99999 undefined on input line 4242.\r\n"
            "! Undefined control sequence.\r\nl.4250 \\badmacro\r\n";
    struct Case {
        const char* name;
        std::string output;
        int first, firstLine;
        const char* firstFile;
        int second, secondLine; // in paper.tex
    };
    // A box's dump holds a zero byte where the font has a character at code
    // 0: only that byte is dropped, and the rest of its read reaches the log.
    const std::string zeroByte = "(./paper.tex (./chapter.tex\r\n"
                                 "Overfull \\hbox (12.0pt too wide) in paragraph at lines 1--2\r\n"
                                 "\\OMS/cmsy/m/n/10 \0 \\OT1/cmr/m/n/10 x\r\n []\r\n\r\n"
                                 "! Undefined control sequence.\r\nl.3 \\badmacro\r\n\r\n)\r\n"
                                 "! Undefined control sequence.\r\nl.12 \\another\r\n\r\n)\r\n"s;
    const Case cases[] = {{"long lines, Shift-JIS", wide, 3, 7, "第1章.tex", 6, 12},
                          {"long lines, UTF-8", utf8Of(wide), 3, 7, "第1章.tex", 6, 12},
                          {"100,000 lines", many, 100000, 4242, "paper.tex", 100002, 4250},
                          {"a zero byte", zeroByte, 6, 3, "chapter.tex", 9, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Installation installation;
        const std::string editor = setUp(installation, "recorded_compiler.exe");
        installation.write("console.txt", c.output);
        const std::string document = installation.write("paper.tex", "x");
        installation.write(c.firstFile, "x");
        CompiledLog log(installation, document);
        doubleClickLine(log.list, c.first);
        ASSERT_TRUE(waitUntil([&] { return log.edits() == 1; }));
        DWORD_PTR answer = 0;
        EXPECT_TRUE(SendMessageTimeoutA(log.main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
        // Below the last line, where there is room, then on the second error:
        // the one xdotool keeps the clicks in order.
        const int lines = static_cast<int>(SendMessageA(log.list, LB_GETCOUNT, 0, 0));
        const POINT below = pointOfLine(log.list, lines);
        const RECT list = windowRect(log.list);
        const std::string first = below.y < list.bottom - 4 ? doubleClickAt(below) + " sleep 1 " : "";
        xdotool(first + doubleClickAt(pointOfLine(log.list, c.second)));
        ASSERT_TRUE(waitUntil([&] { return log.edits() >= 2; }));
        EXPECT_EQ(std::vector<std::string>({editorAt(editor, c.firstLine, installation.path(c.firstFile)),
                                            editorAt(editor, c.secondLine, document)}),
                  readLines(log.record));
        EXPECT_TRUE(log.velumo.close());
    }
}
