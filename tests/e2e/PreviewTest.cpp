// The edit and preview commands with Wine's notepad, a DDE viewer of the tests
// and the real pTeX.
#include <gtest/gtest.h>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
const char* viewerClass = "VelumoTestViewer";

void closeAllViewers() {
    for (HWND viewer; (viewer = FindWindowA(viewerClass, nullptr)) != nullptr;) {
        PostMessageA(viewer, WM_CLOSE, 0, 0);
        waitUntil([&] { return !IsWindow(viewer); }, 5000);
    }
}

struct PreviewFixture : testing::Test {
    Installation installation;
    std::string folder = installation.path("my 表 ソ");
    std::string document = folder + "\\論文 表.tex";
    std::string dvi = folder + "\\論文 表.dvi";

    void SetUp() override {
        closeAllViewers();
        CreateDirectoryA(folder.c_str(), nullptr);
        writeFile(document, "x");
        writeFile(dvi, "dvi");
    }
    void TearDown() override { closeAllViewers(); }
    std::string executeLine() const {
        return "length=" + std::to_string(std::string("[FileOpen(\"" + dvi + "\")]").size() + 1) +
               " nul text=[FileOpen(\"" + dvi + "\")]";
    }
};

void previewAndWait(HWND main) {
    press(childWithText(main, "Preview DVIfile"));
    Sleep(700); // the preview pauses 500 ms after showing the viewer
}
} // namespace

TEST_F(PreviewFixture, StartsTheViewerThenRefreshesItOverDdeAndStartsItAgainOnceClosed) {
    const std::string viewer = installation.add("test_viewer.exe");
    installation.settings("DviWare=" + viewer + "\r\nUseDDE=1\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);

    previewAndWait(main);
    const std::string starts = installation.path("viewer_starts.txt");
    ASSERT_TRUE(waitUntil([&] { return readLines(starts).size() == 1; }));
    EXPECT_EQ("\"" + viewer + "\" \"" + dvi + "\"", readLines(starts)[0]);
    HWND viewerWindow = waitForClass(viewerClass);
    ASSERT_NE(nullptr, viewerWindow);

    previewAndWait(main);
    const std::string executes = installation.path("executes.txt");
    ASSERT_TRUE(waitUntil([&] { return readLines(executes).size() == 1; }));
    EXPECT_EQ(executeLine(), readLines(executes)[0]) << "the path goes in byte for byte, with its NUL";
    EXPECT_EQ(1u, readLines(starts).size()) << "refreshed, not started again";

    PostMessageA(viewerWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(viewerWindow); }));
    previewAndWait(main);
    EXPECT_TRUE(waitUntil([&] { return readLines(starts).size() == 2; })) << "a closed viewer is started again";

    EXPECT_TRUE(velumo.close());
}

TEST_F(PreviewFixture, WithoutADdeServerWindviIsStartedAndConnectedOnce) {
    const std::string viewer = installation.add("test_viewer.exe", "plain_viewer.exe");
    installation.add("test_viewer.exe", "windvi.exe");
    installation.settings("DviWare=" + viewer + "\r\nUseDDE=1\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    previewAndWait(main);
    previewAndWait(main);
    const std::string starts = installation.path("viewer_starts.txt");
    ASSERT_TRUE(waitUntil([&] { return readLines(starts).size() == 2; }));
    EXPECT_EQ("windvi windvi", readLines(starts)[1]);
    ASSERT_TRUE(waitUntil([&] { return readLines(installation.path("executes.txt")).size() == 1; }));
    EXPECT_EQ(executeLine(), readLines(installation.path("executes.txt"))[0]);
    EXPECT_TRUE(velumo.close());
}

TEST_F(PreviewFixture, AViewerThatNeverAnswersDoesNotHoldUpVelumo) {
    const std::string viewer = installation.add("test_viewer.exe", "busy_viewer.exe");
    installation.settings("DviWare=" + viewer + "\r\nUseDDE=1\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    previewAndWait(main);
    HWND viewerWindow = waitForClass(viewerClass);
    ASSERT_NE(nullptr, viewerWindow);
    // The viewer leaves each conversation's end unanswered; the second
    // refresh comes while the first conversation is still ending.
    const std::string executes = installation.path("executes.txt");
    for (size_t refreshes = 1; refreshes <= 2; ++refreshes) {
        press(childWithText(main, "Preview DVIfile"));
        ASSERT_TRUE(waitUntil([&] { return readLines(executes).size() == refreshes; }));
        DWORD_PTR answer = 0;
        EXPECT_NE(0, SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 1500, &answer))
            << "after refresh " << refreshes << " the main window answers again once the preview's pause is over";
    }
    EXPECT_EQ((std::vector<std::string>{executeLine(), executeLine()}), readLines(executes));
    EXPECT_TRUE(waitUntil([&] { return windowText(main).rfind("Velumo - ", 0) == 0; }, 3000));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(velumo.waitForExit(5000)) << "the conversations still ending do not hold up the program's end";
    TerminateProcess(OpenProcess(PROCESS_TERMINATE, FALSE, processOf(viewerWindow)), 0);
}

TEST_F(PreviewFixture, EditStartsNotepadAndTheFocusStepBringsItForward) {
    const std::string viewer = installation.add("test_viewer.exe", "plain_viewer.exe");
    installation.settings("DviWare=" + viewer + "\r\nFocusTeX=1\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Edit TeXfile"));
    HWND notepad = waitForClass("Notepad");
    ASSERT_NE(nullptr, notepad);
    EXPECT_NE(std::string::npos, windowText(notepad).find("論文 表"));

    previewAndWait(main);
    ASSERT_NE(nullptr, waitForClass(viewerClass));
    EXPECT_TRUE(waitUntil([&] { return processOf(GetForegroundWindow()) == processOf(notepad); }, 3000))
        << "after the preview the editor is in front again";
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(velumo.close());
}

TEST_F(PreviewFixture, AMissingEditorIsReportedWithItsErrorCode) {
    installation.settings("Editor=" + installation.path("no-editor.exe") + "\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Edit TeXfile"));
    HWND message = velumo.waitForWindow("Velumo");
    ASSERT_NE(nullptr, message);
    EXPECT_EQ("実行できません(エラーコード2)", dialogText(message));
    command(message, IDOK);
    EXPECT_TRUE(velumo.close());
}

TEST(AutoDviE2E, ACleanCompileWithThePTeXShowsTheFreshDvi) {
    closeAllViewers();
    Installation installation;
    installation.add("platex.exe");
    const std::string viewer = installation.add("test_viewer.exe");
    const std::string document = installation.write("clean.tex", "\\documentclass{jarticle}\n\\begin{document}\n日本語\n\\end{document}\n");
    installation.settings("DviWare=" + viewer + "\r\nAutoDVI=1\r\nErrorJump=1\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Compile TeXfile"));
    const std::string starts = installation.path("viewer_starts.txt");
    ASSERT_TRUE(waitUntil([&] { return readLines(starts).size() == 1; }, 60000));
    EXPECT_EQ("\"" + viewer + "\" \"" + installation.path("clean.dvi") + "\"", readLines(starts)[0]);
    EXPECT_TRUE(fileExists(installation.path("clean.dvi")));
    EXPECT_TRUE(waitUntil([&] { return windowText(main) == "Velumo - " + document; }));
    closeAllViewers();
    EXPECT_TRUE(velumo.close());
}
