// The about box of the real program: Help > Version opens it centred on the
// screen, Enter and the close box close it, Esc does not; its link follows the
// real mouse in colour and hands its "mailto:" caption to the shell.
#include <gtest/gtest.h>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
const std::string settings = "[Option]\r\nEditor=notepad.exe\r\nTeX=platex.exe\r\nDviWare=dviout.exe\r\n"
                             "AutoCompile=0\r\nCheckInterval=1000\r\nFileExt=log,aux\r\nErrorJump=1\r\n";
const std::string aboutCaption = "バージョン情報";
const std::string mailAddress = "mailto:velumo@example.jp";

void postKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// The window with the keyboard focus in the thread that owns window.
HWND focusIn(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Help > Version: the menu bar's Help opened with its access key, then the
// item's access key typed into the menu that is open.
HWND openAboutBox(Velumo& velumo, HWND main) {
    // A mouse resting over the menu bar would take the menu's selection.
    xdotool("mousemove 1000 700");
    Sleep(200);
    menuKey(main, 'h');
    Sleep(300);
    PostMessageA(main, WM_CHAR, 'v', 1);
    return velumo.waitForWindow(aboutCaption);
}

// The mailto scheme of this Wine prefix handed to a recording program for as
// long as the registration lives. Wine's shell reads the machine's classes
// only (a user's own are not consulted), so the prefix's handler is replaced
// there and put back afterwards.
class MailHandler {
public:
    MailHandler(const std::string& program, const std::string& record) {
        char previous[1024];
        LONG size = sizeof previous;
        if (RegQueryValueA(HKEY_CLASSES_ROOT, command, previous, &size) == ERROR_SUCCESS) previous_ = previous;
        const std::string handler = "\"" + program + "\" \"" + record + "\" \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, command, REG_SZ, handler.c_str(), static_cast<DWORD>(handler.size()));
    }
    ~MailHandler() {
        if (previous_.empty())
            RegDeleteKeyA(HKEY_CLASSES_ROOT, command);
        else
            RegSetValueA(HKEY_CLASSES_ROOT, command, REG_SZ, previous_.c_str(), static_cast<DWORD>(previous_.size()));
    }

private:
    static constexpr const char* command = "mailto\\shell\\open\\command";
    std::string previous_;
};

class AboutBox : public ::testing::Test {
protected:
    AboutBox() { writeFile(installation.ini(), settings); }

    Installation installation;
};

// The about box opened from a running Velumo whose mail links go to a
// recording program, with its link label found.
class AboutBoxLink : public AboutBox {
protected:
    void SetUp() override {
        main = velumo.mainWindow();
        ASSERT_NE(nullptr, main);
        about = openAboutBox(velumo, main);
        ASSERT_NE(nullptr, about);
        link = childWithText(about, mailAddress);
        ASSERT_NE(nullptr, link);
    }

    const std::string record = installation.path("mail.txt");
    MailHandler handler{installation.add("record_args.exe"), record};
    Velumo velumo{installation, "paper"};
    HWND main = nullptr, about = nullptr, link = nullptr;
};
} // namespace

TEST_F(AboutBox, OpensCentredWithItsPanelAndTheFocusOnOk) {
    Velumo velumo(installation, "paper");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    HWND about = openAboutBox(velumo, main);
    ASSERT_NE(nullptr, about);

    const RECT outer = windowRect(about), client = clientRect(about);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(279, client.right);
    EXPECT_EQ(213, client.bottom);
    EXPECT_FALSE(GetWindowLongA(about, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(about, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(IsWindowEnabled(main));

    HWND ok = childWithText(about, "OK");
    ASSERT_NE(nullptr, ok);
    EXPECT_TRUE(waitUntil([&] { return focusIn(about) == ok; }));
    // The five labels lie in the sunken panel.
    HWND link = childWithText(about, mailAddress);
    ASSERT_NE(nullptr, link);
    HWND panel = GetParent(link);
    EXPECT_TRUE(GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    for (const char* text : {"Velumo", "Version 0.4.1", "(C) 2026 Velumo Project",
                             "エディタ、TeXコンパイル、DVIプレビューを連携する、統合環境風ソフトウェア。"})
        EXPECT_EQ(panel, GetParent(childWithText(about, text))) << text;
    EXPECT_EQ(5u, childWindows(panel).size());
    EXPECT_NE(panel, GetParent(ok));
}

TEST_F(AboutBox, EnterAndTheCloseBoxCloseItButEscDoesNot) {
    Velumo velumo(installation, "paper");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    HWND about = openAboutBox(velumo, main);
    ASSERT_NE(nullptr, about);
    HWND ok = childWithText(about, "OK");
    ASSERT_TRUE(waitUntil([&] { return focusIn(about) == ok; }));

    postKey(ok, VK_ESCAPE);
    Sleep(500);
    EXPECT_TRUE(IsWindowVisible(about)) << "there is no cancel button";
    postKey(ok, VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(about); }));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(main); }));

    about = openAboutBox(velumo, main);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(about); }));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(main); }));
    EXPECT_TRUE(velumo.running());
}

// Posted button messages, as the window system gives them, open the address.
TEST_F(AboutBoxLink, PressingTheLinkAsksTheShellToOpenItsAddress) {

    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // The shell starts the mail handler as a new Wine process: slow on a loaded machine.
    ASSERT_TRUE(waitUntil([&] { return readFile(record).find("\r\n") != std::string::npos; }, 20000));
    EXPECT_EQ(mailAddress + "\r\n", readFile(record));
    EXPECT_TRUE(IsWindowVisible(about));
}

// The real mouse, moved by xdotool: cyan while over the link, red while a
// button is held on it, black again once it has gone.
TEST_F(AboutBoxLink, TheLinkFollowsTheRealMouseInColour) {
    const RECT area = windowRect(link);
    const COLORREF black = RGB(0, 0, 0), cyan = RGB(0, 255, 255), red = RGB(255, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return screenPixelsOf(area, black) > 20; }));

    const std::string over = std::to_string(area.left + 4) + " " + std::to_string(area.top + 3);
    xdotool("mousemove " + over);
    EXPECT_TRUE(waitUntil([&] { return screenPixelsOf(area, cyan) > 20; }, 5000));
    EXPECT_EQ(0, screenPixelsOf(area, black));

    xdotool("mousedown 1");
    EXPECT_TRUE(waitUntil([&] { return screenPixelsOf(area, red) > 20; }, 5000));
    EXPECT_EQ(0, screenPixelsOf(area, cyan));
    EXPECT_TRUE(waitUntil([&] { return readFile(record) == mailAddress + "\r\n"; }));

    xdotool("mouseup 1");
    EXPECT_TRUE(waitUntil([&] { return screenPixelsOf(area, cyan) > 20; }, 5000)) << "released over the link";
    xdotool("mousemove 1000 700");
    EXPECT_TRUE(waitUntil([&] { return screenPixelsOf(area, black) > 20; }, 5000));
    EXPECT_EQ(0, screenPixelsOf(area, cyan));
}
