// Long and strange compiler output through the real window: while the output
// is captured, read for its files and shown, the window keeps answering, it is
// done soon after the compiler ends, and its log list holds every line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/Driver.h"
#include "shared/OutputShapes.h"

using namespace e2e;

namespace {
constexpr DWORD answerWithinMs = 1000;
constexpr DWORD doneAfterCompilerMs = 3000;

// Whether the window handles a message within a second: it does not while
// its thread waits on work of its own.
bool answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, answerWithinMs, &result) != 0;
}

// The caption of the main window, read without a message, so a window that
// does not answer cannot delay it.
std::string caption(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A line of the log list in the code page, however long it is.
std::string listLine(HWND list, size_t index) {
    const WPARAM at = static_cast<WPARAM>(index);
    std::wstring wide(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, at, 0)) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(wide.data()));
    std::string bytes(wide.size() * 2, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes.c_str(); // up to the terminator
}

// Compiles a document whose name asks the test compiler for the shape, and
// watches the window from the press until the compile is done.
void compileTheShape(const OutputShape& shape) {
    Installation installation;
    installation.settings("TeX=" + installation.add("long_output_compiler.exe") + "\r\n");
    const std::string document = installation.write(shape.document, "x");
    const std::string ended = installation.path("ended.txt");
    Velumo velumo(installation, '"' + document + '"');
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Compile TeXfile"));

    // The compiler ends before the window can be done; the caption is the
    // document's again once the compile is.
    const std::string done = "Velumo - " + document;
    const DWORD start = GetTickCount();
    DWORD longestSilence = 0, silentSince = 0, doneAt = 0;
    while (!doneAt && GetTickCount() - start < 60000) {
        const DWORD asked = GetTickCount();
        if (answers(main)) {
            silentSince = 0;
        } else if (!silentSince) {
            silentSince = asked;
        }
        if (silentSince) longestSilence = std::max(longestSilence, GetTickCount() - silentSince);
        if (fileExists(ended) && caption(main) == done) doneAt = GetTickCount();
        Sleep(100);
    }
    EXPECT_EQ(0u, longestSilence) << "the window did not answer for " << longestSilence << " ms";
    ASSERT_TRUE(doneAt) << "the compile did not end: caption \"" << caption(main) << "\", the compiler "
                        << (fileExists(ended) ? "ended" : "did not end");
    const DWORD compilerEnded = std::stoul(readFile(ended));
    EXPECT_LE(doneAt - compilerEnded, doneAfterCompilerMs);

    HWND list = childWindows(main, "ListBox").at(0);
    DWORD_PTR count = 0;
    SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count);
    ASSERT_EQ(shape.lines, count);
    EXPECT_EQ(shape.line(shape.lines - 1), listLine(list, shape.lines - 1));
    EXPECT_TRUE(velumo.close());
    std::printf("[ long output ] %s: done %lu ms after the compiler\n", shape.document,
                static_cast<unsigned long>(doneAt - compilerEnded));
}
} // namespace

TEST(LongOutputE2E, TheWindowAnswersAllAlongAndIsDoneSoonAfterTheCompilerEnds) {
    for (const OutputShape& shape : outputShapes) {
        SCOPED_TRACE(shape.document);
        compileTheShape(shape);
    }
}
