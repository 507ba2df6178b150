// The application shell driven through its real windows under Wine.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
const std::string firstRunText = "初回起動です。エディタ、TeXコンパイラ、DVIウェアを設定してください。";
const std::string allDefaults = "[Option]\r\nEditor=notepad.exe\r\nTeX=platex.exe\r\nDviWare=dviout.exe\r\n"
                                "AutoCompile=0\r\nCheckInterval=1000\r\nFileExt=log,aux\r\nErrorJump=1\r\n"
                                "JumpOption=\r\nUseDDE=0\r\nAutoDVI=0\r\nFocusTeX=0\r\n";

// Answers the first-run message and returns the options dialog it leads to.
HWND passFirstRunMessage(Velumo& velumo) {
    HWND message = velumo.waitForWindow("情報");
    EXPECT_NE(nullptr, message);
    EXPECT_EQ(firstRunText, dialogText(message));
    command(message, IDOK);
    return velumo.waitForWindow("オプション設定");
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        result.push_back(text.substr(start, end - start));
    return result;
}
} // namespace

TEST(FirstStart, OkWritesEverySettingAndTheDocumentArgumentIsAdopted) {
    Installation installation;
    Velumo velumo(installation, "paper");
    HWND options = passFirstRunMessage(velumo);
    ASSERT_NE(nullptr, options);
    press(childWithText(options, "OK"));

    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(waitUntil([&] { return windowText(main) == "Velumo - paper.tex"; }));
    EXPECT_EQ(allDefaults, readFile(installation.ini()));

    RECT outer = windowRect(main);
    EXPECT_EQ(0, outer.left);
    EXPECT_EQ(0, outer.top);
    EXPECT_EQ(267, outer.right - outer.left);
    EXPECT_EQ(269, outer.bottom - outer.top);

    EXPECT_TRUE(velumo.close());
    EXPECT_EQ(allDefaults + "Top=0\r\nLeft=0\r\n", readFile(installation.ini()));
}

TEST(FirstStart, CancelEndsTheProgramLeavingOnlyThePosition) {
    Installation installation;
    Velumo velumo(installation);
    HWND options = passFirstRunMessage(velumo);
    ASSERT_NE(nullptr, options);
    press(childWithText(options, "キャンセル"));
    EXPECT_TRUE(velumo.waitForExit());
    EXPECT_EQ("[Option]\r\nTop=0\r\nLeft=0\r\n", readFile(installation.ini()));
}

TEST(Start, OpenDialogCancelledAtStartUpEndsAfterStoringThePosition) {
    Installation installation;
    installation.settings("Top=40\r\nLeft=50\r\n");
    Velumo velumo(installation);
    HWND open = velumo.waitForWindow("TeXファイルを開く");
    ASSERT_NE(nullptr, open);
    command(open, IDCANCEL);
    EXPECT_TRUE(velumo.waitForExit());
    EXPECT_EQ("[Option]\r\nTop=40\r\nLeft=50\r\n", readFile(installation.ini()));
}

// A user starting a new document types its name; Edit then lets the editor create it.
TEST(Start, OpenDialogTakesANameThatDoesNotExistYet) {
    Installation installation;
    installation.settings("");
    Velumo velumo(installation);
    HWND open = velumo.waitForWindow("TeXファイルを開く");
    ASSERT_NE(nullptr, open);
    const std::vector<HWND> edits = childWindows(open, "Edit");
    ASSERT_FALSE(edits.empty());
    SetWindowTextA(edits[0], installation.path("新しい文書").c_str());
    command(open, IDOK);
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(waitUntil([&] { return windowText(main) == "Velumo - " + installation.path("新しい文書.tex"); }))
        << windowText(main);
    EXPECT_TRUE(velumo.close());
}

// Without it Windows would quietly redirect the settings file's writes in a
// protected folder to a store of its own, and a refused write would go unseen.
TEST(Start, TheProgramAsksToRunAsItsInvoker) {
    Installation installation;
    HMODULE exe = LoadLibraryExA(installation.exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);
    HRSRC resource = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_NE(nullptr, resource);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(exe, resource)));
    const std::string manifest(bytes, SizeofResource(exe, resource));
    EXPECT_NE(std::string::npos, manifest.find("<requestedExecutionLevel level=\"asInvoker\""));
    FreeLibrary(exe);
}

// Stored on a monitor since unplugged: the window opens at the edge of the
// screen's work area nearest to where it was, and is stored there on close.
TEST(Start, AWindowStoredOffEveryMonitorOpensWhereTheUserCanReachIt) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    for (const POINT stored : {POINT{2600, 1500}, POINT{-1800, 0}}) {
        Installation installation;
        writeFile(installation.ini(),
                  "[Option]\r\nTop=" + std::to_string(stored.y) + "\r\nLeft=" + std::to_string(stored.x) + "\r\n");
        Velumo velumo(installation, "paper");
        HWND main = velumo.mainWindow();
        ASSERT_NE(nullptr, main);
        const RECT outer = windowRect(main);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;
        EXPECT_EQ(stored.x > 0 ? work.right - width : work.left, outer.left) << stored.x;
        EXPECT_EQ(stored.y > 0 ? work.bottom - height : std::max(0L, work.top), outer.top) << stored.x;
        EXPECT_TRUE(velumo.close());
        EXPECT_EQ((std::vector<std::string>{"[Option]", "Top=" + std::to_string(outer.top),
                                            "Left=" + std::to_string(outer.left)}),
                  lines(readFile(installation.ini())));
    }
}

TEST(Closing, TheMovedWindowsPositionIsStored) {
    Installation installation;
    installation.settings("Top=10\r\nLeft=20\r\n");
    Velumo velumo(installation, "\"my paper\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("Velumo - my paper.tex", windowText(main));
    RECT outer = windowRect(main);
    EXPECT_EQ(20, outer.left);
    EXPECT_EQ(10, outer.top);

    SetWindowPos(main, nullptr, 130, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(waitUntil([&] { return windowRect(main).left == 130; }));
    EXPECT_TRUE(velumo.close());
    EXPECT_EQ((std::vector<std::string>{"[Option]", "Top=90", "Left=130"}), lines(readFile(installation.ini())));
}

// The close request that taskkill without /F sends, while File/Open's dialog
// or the options dialog's browse dialog is open: the program stores its
// position and ends at once, as it does when a message box is open.
TEST(Closing, ACloseRequestWhileAFileDialogIsOpenEndsTheProgram) {
    for (const bool browse : {false, true}) {
        Installation installation;
        installation.settings("Top=30\r\nLeft=40\r\n");
        Velumo velumo(installation, "paper");
        HWND main = velumo.mainWindow();
        ASSERT_NE(nullptr, main);
        if (browse) {
            menuKey(main, 'o');
            HWND options = velumo.waitForWindow("オプション設定");
            ASSERT_NE(nullptr, options);
            HWND browseButton = childWindows(options, "VelumoToolButton").at(0); // the editor's, on the first page
            PostMessageA(browseButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            PostMessageA(browseButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        } else {
            press(childWithText(main, "Open TeXfile"));
        }
        ASSERT_NE(nullptr, velumo.waitForSystemDialog()) << browse;
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(velumo.waitForExit(3000)) << browse;
        EXPECT_EQ("[Option]\r\nTop=30\r\nLeft=40\r\n", readFile(installation.ini())) << browse;
    }
}

TEST(Options, IntervalCheckResetsZeroAndOkSavesTheDialog) {
    Installation installation;
    installation.settings("");
    Velumo velumo(installation, "paper");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    menuKey(main, 'o'); // the "&Option" item of the menu bar runs at once
    HWND options = velumo.waitForWindow("オプション設定");
    ASSERT_NE(nullptr, options);

    // Edits in tab order: jump option, editor, interval, compiler, viewer, extensions.
    std::vector<HWND> edits = childWindows(options, "Edit");
    ASSERT_EQ(6u, edits.size());
    HWND interval = edits[2];
    EXPECT_EQ("1000", windowText(interval));
    SendMessageA(interval, EM_SETSEL, 0, -1);
    typeText(interval, "0");
    HWND error = velumo.waitForWindow("エラー");
    ASSERT_NE(nullptr, error);
    EXPECT_EQ("0より大きい整数を入力してください。", dialogText(error));
    command(error, IDOK);
    EXPECT_TRUE(waitUntil([&] { return windowText(interval) == "1000"; }));

    SendMessageA(interval, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("$7D0"));
    EXPECT_EQ("$7D0", windowText(interval));
    press(childWithText(options, "OK"));
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(options); }));
    // The dialog is hidden first, then its settings are written.
    EXPECT_TRUE(waitUntil([&] {
        return readFile(installation.ini()).find("CheckInterval=2000\r\n") != std::string::npos;
    })) << readFile(installation.ini());
    EXPECT_TRUE(velumo.close());
}
