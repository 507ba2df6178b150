// The link label on a real window: the mouse callbacks with their buttons and
// coordinates, the colour it draws in, the cursor it shows; and the pointing
// hand in Velumo.exe's resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/Colours.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Toolkit.h"

namespace {

using namespace platform;

const FormSpec labelForm{.name = "Links",
                         .caption = "Links",
                         .bounds = {0, 0, 240, 80},
                         .sizeIsClient = true,
                         .border = FormBorder::Dialog,
                         .position = FormPosition::ScreenCenter};

std::string nameOf(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return "left";
    case MouseButton::Right:
        return "right";
    case MouseButton::Middle:
        return "middle";
    }
    return "?";
}

class LinkLabels : public ::testing::Test {
protected:
    LinkLabels() {
        form = toolkit.createForm(labelForm);
        form->add<ControlKind::SunkenPanel>({.name = "Panel", .bounds = {4, 4, 232, 72}});
        link = &form->add<ControlKind::LinkLabel>(
            {.name = "Link", .parent = "Panel", .bounds = {8, 8, 200, 24}, .caption = "■■■■■■■■■■■■■■■■"});
        window = handleOf(*link);
        form->show();
        toolkit.processMessages();
    }

    // Records every callback as text, in order.
    void record() {
        link->onMouseEnter = [this] { events.push_back("enter"); };
        link->onMouseLeave = [this] { events.push_back("leave"); };
        link->onMouseDown = [this](MouseButton button, int x, int y) {
            events.push_back("down " + nameOf(button) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        link->onMouseUp = [this](MouseButton button, int x, int y) {
            events.push_back("up " + nameOf(button) + " " + std::to_string(x) + "," + std::to_string(y));
        };
    }

    void post(UINT message, WPARAM buttons, int x, int y) {
        PostMessageA(window, message, buttons, MAKELPARAM(x, y));
        toolkit.processMessages();
    }

    // The real mouse over a point of the label, so that the leave tracking
    // sees it inside until it is moved away.
    void putMouseAt(int x, int y) {
        POINT point{x, y};
        ClientToScreen(window, &point);
        SetCursorPos(point.x, point.y);
    }

    // Handles what the window system sends for a while.
    void settle() {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 100; Sleep(10))
            toolkit.processMessages();
    }

    // How many pixels of the label show exactly this colour.
    int pixelsOf(COLORREF colour) {
        RECT client;
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        int count = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                if (GetPixel(dc, x, y) == colour) ++count;
        ReleaseDC(window, dc);
        return count;
    }

    win32::Win32Platform platform;
    Toolkit& toolkit = platform.toolkit();
    std::unique_ptr<Form> form;
    LinkLabel* link = nullptr;
    HWND window = nullptr;
    std::vector<std::string> events;
};

TEST_F(LinkLabels, MouseMessagesFireTheCallbacksWithButtonsAndClientCoordinates) {
    // The real mouse rests over the label, counted as outside until it moves.
    putMouseAt(10, 5);
    settle();
    post(WM_MOUSELEAVE, 0, 0, 0);
    record();
    post(WM_MOUSEMOVE, 0, 10, 5);
    post(WM_MOUSEMOVE, 0, 12, 6); // still inside: no second entry
    post(WM_LBUTTONDOWN, MK_LBUTTON, 12, 6);
    EXPECT_EQ(GetCapture(), window) << "the release must reach the label wherever it happens";
    post(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 13, 7);
    post(WM_LBUTTONUP, MK_RBUTTON, 14, 8);
    EXPECT_EQ(GetCapture(), window) << "the right button is still held";
    post(WM_RBUTTONUP, 0, -20, 40); // let go outside the label
    EXPECT_EQ(GetCapture(), nullptr);
    post(WM_MBUTTONDOWN, MK_MBUTTON, 3, 4);
    post(WM_MBUTTONUP, 0, 3, 4);
    post(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "down left 12,6", "down right 13,7", "up left 14,8",
                                                "up right -20,40", "down middle 3,4", "up middle 3,4", "leave"}));

    // Entering again is reported again; moving the real mouse away is a leave.
    events.clear();
    putMouseAt(20, 5);
    post(WM_MOUSEMOVE, 0, 20, 5);
    SetCursorPos(0, 0);
    for (DWORD start = GetTickCount(); events.size() < 2 && GetTickCount() - start < 3000; Sleep(10))
        toolkit.processMessages();
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(LinkLabels, DrawsItsCaptionInTheColourSet) {
    EXPECT_EQ(link->textColor(), clBlack);
    EXPECT_GT(pixelsOf(RGB(0, 0, 0)), 100);

    link->setTextColor(clRed);
    link->repaint();
    EXPECT_EQ(link->textColor(), clRed);
    EXPECT_GT(pixelsOf(RGB(255, 0, 0)), 100);
    EXPECT_EQ(pixelsOf(RGB(0, 0, 0)), 0);

    link->setTextColor(clCyan);
    link->repaint();
    EXPECT_GT(pixelsOf(RGB(0, 255, 255)), 100);
    EXPECT_EQ(pixelsOf(RGB(255, 0, 0)), 0);
    // Around the glyphs the panel's face colour shows.
    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(window, dc);
}

TEST_F(LinkLabels, ReportsItsCaptionSizeAndPositions) {
    EXPECT_EQ(link->caption(), "■■■■■■■■■■■■■■■■");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(link->clientWidth(), client.right);
    EXPECT_EQ(link->clientHeight(), client.bottom);
    EXPECT_GT(link->clientWidth(), 0);

    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const Point inside = link->screenToClient({origin.x + 5, origin.y + 3});
    EXPECT_EQ(inside.x, 5);
    EXPECT_EQ(inside.y, 3);

    SetCursorPos(origin.x + 2, origin.y + 1);
    const Point mouse = link->cursorPos();
    EXPECT_EQ(mouse.x, origin.x + 2);
    EXPECT_EQ(mouse.y, origin.y + 1);
}

// The label asks the table at each WM_SETCURSOR, so a replaced entry shows at once.
TEST_F(LinkLabels, ShowsTheCursorRegisteredAtItsIndex) {
    auto& tables = dynamic_cast<win32::Win32Toolkit&>(toolkit);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), cross = LoadCursorA(nullptr, IDC_CROSS);
    auto shownOverLabel = [&] {
        SetCursor(nullptr);
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(tables.ui().cursor(crHandPoint), arrow) << "an index never registered is the arrow";

    tables.ui().setCursor(crHandPoint, cross);
    link->setCursor(crHandPoint);
    EXPECT_EQ(shownOverLabel(), cross);

    // This test program has no cursor resources: the entry is replaced by the arrow.
    toolkit.registerCursor(crHandPoint, "HANDPOINT");
    EXPECT_EQ(tables.ui().cursor(crHandPoint), arrow);
    EXPECT_EQ(shownOverLabel(), arrow);
}

std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

TEST(HandPointCursor, VelumoHoldsATwoColourHandWithItsHotSpotAtTheFingertip) {
    HMODULE velumo = LoadLibraryExA(besideThisProgram("Velumo.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(velumo, nullptr);
    HCURSOR hand = LoadCursorA(velumo, "HANDPOINT");
    ASSERT_NE(hand, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 7u);
    EXPECT_EQ(info.yHotspot, 1u);
    EXPECT_EQ(info.hbmColor, nullptr) << "monochrome: the mask holds both images";
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    FreeLibrary(velumo);
}

} // namespace
