// Forms and controls on real windows: the sizes and places the layout tables
// give, tab order, tooltips, the controls' own behaviour, and the modal loop.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iostream>

#include "WindowTestSupport.h"
#include "features/Application.h"
#include "forms/Dlogmain.h"
#include "forms/Dlogopt.h"
#include "platform/win32/Win32Platform.h"
#include "text/Lines.h"

namespace {

using namespace platform;

int scaled(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

SIZE sizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

// A control's bounds in its parent's client area.
RECT boundsInParent(HWND control) {
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

class Forms : public ::testing::Test {
protected:
    win32::Win32Platform platform;
    Toolkit& toolkit = platform.toolkit();
    Application app{toolkit, platform.os()};
};

TEST_F(Forms, MainWindowHasItsOuterSizeAndTheLogFillsTheClientAreaBelowThePanel) {
    TForm1 form1(app);
    HWND window = handleOf(form1.window());
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::cout << "Form1 outer " << sizeOf(outer).cx << " x " << sizeOf(outer).cy << ", client " << client.right << " x "
              << client.bottom << "\n";
    EXPECT_EQ(sizeOf(outer).cx, scaled(267));
    EXPECT_EQ(sizeOf(outer).cy, scaled(269));
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_NE(GetMenu(window), nullptr);

    const RECT panel = boundsInParent(handleOf(form1.Panel1));
    const RECT log = boundsInParent(handleOf(form1.ListBox1));
    EXPECT_EQ(panel.bottom - panel.top, scaled(137));
    EXPECT_EQ(panel.right, client.right);
    EXPECT_EQ(log.top, panel.bottom);
    EXPECT_EQ(log.bottom, client.bottom);
    EXPECT_EQ(log.right, client.right);

    SetWindowPos(window, nullptr, 0, 0, scaled(400), scaled(400), SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(window, &client);
    EXPECT_EQ(boundsInParent(handleOf(form1.ListBox1)).bottom, client.bottom);
}

TEST_F(Forms, OptionsDialogHasItsClientSizeAndControlsWhereTheTableSays) {
    TForm2 form2(app);
    HWND window = handleOf(form2.window());
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, scaled(332));
    EXPECT_EQ(client.bottom, scaled(229));
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    const RECT ok = boundsInParent(handleOf(form2.controls().BitBtn1));
    EXPECT_EQ(ok.left, scaled(147));
    EXPECT_EQ(ok.top, scaled(198));
    EXPECT_EQ(sizeOf(ok).cx, scaled(75));
    // Controls on a page are placed in the page, which lies inside the tab control.
    HWND browse = handleOf(form2.controls().SpeedButton1);
    const RECT onPage = boundsInParent(browse);
    EXPECT_EQ(onPage.left, scaled(240));
    EXPECT_EQ(onPage.top, scaled(16));
    RECT page, tabs;
    GetWindowRect(GetParent(browse), &page);
    GetWindowRect(handleOf(form2.controls().PageControl1), &tabs);
    EXPECT_TRUE(page.left > tabs.left && page.top > tabs.top && page.right < tabs.right && page.bottom < tabs.bottom);
    // A label of no size takes the size of its text.
    const RECT label = boundsInParent(handleOf(form2.controls().Label1));
    EXPECT_GT(sizeOf(label).cx, 0);
    EXPECT_GT(sizeOf(label).cy, 0);
}

TEST_F(Forms, TabOrderFollowsTheTableThroughTheActivePageOnly) {
    TForm2 form2(app);
    Form& form = form2.window();
    HWND window = handleOf(form);
    auto order = [&] {
        std::vector<std::string> names;
        HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
        for (HWND at = first; names.size() < 12;) {
            names.push_back(textOf(at).empty() ? std::to_string(GetDlgCtrlID(at)) : textOf(at));
            at = GetNextDlgTabItem(window, at, FALSE);
            if (at == first) break;
        }
        return names;
    };
    form2.controls().Edit1.setText("notepad.exe");
    form2.controls().edtJumpOption.setText("-j");
    const std::string tabsId = std::to_string(GetDlgCtrlID(handleOf(form2.controls().PageControl1)));
    EXPECT_EQ(order(), (std::vector<std::string>{"OK", "キャンセル", tabsId, "-j", "エラー時ジャンプ", "notepad.exe",
                                                 "DVIwareにフォーカスを移さない"}));

    form2.controls().PageControl1.setActivePage(3);
    EXPECT_EQ(form2.controls().PageControl1.activePage(), 3);
    form2.controls().Edit2.setText("log");
    EXPECT_EQ(order(), (std::vector<std::string>{"OK", "キャンセル", tabsId, "log"}));
    auto shown = [](HWND page) { return (GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_FALSE(shown(GetParent(handleOf(form2.controls().Edit1))));
    EXPECT_TRUE(shown(GetParent(handleOf(form2.controls().Edit2))));
    EXPECT_EQ(TabCtrl_GetCurSel(handleOf(form2.controls().PageControl1)), 3);
}

TEST_F(Forms, OnlyControlsMeantToShowTheirHintGetATooltip) {
    TForm2 form2(app);
    HWND window = handleOf(form2.window());
    HWND tooltip = nullptr;
    for (HWND candidate = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); candidate;
         candidate = FindWindowExA(nullptr, candidate, TOOLTIPS_CLASSA, nullptr))
        if (GetWindow(candidate, GW_OWNER) == window) tooltip = candidate;
    ASSERT_NE(tooltip, nullptr);
    // The four program edits show theirs; the auto-compile check box keeps its hint unshown.
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 4);

    char text[256] = "";
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = GetParent(handleOf(form2.controls().Edit1));
    tool.uId = reinterpret_cast<UINT_PTR>(handleOf(form2.controls().Edit1));
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "編集に使うエディタの実行ファイル");
}

const FormSpec smallForm{.name = "Small",
                         .caption = "Small",
                         .bounds = {0, 0, 200, 120},
                         .sizeIsClient = true,
                         .border = FormBorder::Dialog,
                         .position = FormPosition::ScreenCenter};

TEST_F(Forms, EditReportsEveryChangeExactlyOnce) {
    auto form = toolkit.createForm(smallForm);
    Edit& edit = form->add<ControlKind::Edit>({.name = "Edit", .bounds = {8, 8, 150, 20}});
    int changes = 0;
    edit.onChange = [&] { ++changes; };

    edit.setText("platex.exe");
    EXPECT_EQ(changes, 1);
    edit.setText("platex.exe");
    EXPECT_EQ(changes, 1);
    edit.setText("表示");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit.text(), "表示");

    // Typing reaches it through the window's own notification.
    SendMessageA(handleOf(edit), EM_SETSEL, 2, 2);
    SendMessageA(handleOf(edit), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("x"));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(edit.text(), "表示x");

    // A handler that sets the text again, as the interval check does, is told of that change too.
    edit.onChange = [&] {
        ++changes;
        if (edit.text() == "0") edit.setText("1000");
    };
    edit.setText("0");
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(edit.text(), "1000");
}

// Form::add answers a control as the interface of its kind without a check at
// run time, so each kind must be made as a window that implements that interface.
template <ControlKind kind> bool madeAsItsInterface(Form& form, ControlSpec row) {
    Control& added = form.add<kind>(std::move(row));
    return dynamic_cast<ControlOf<kind>*>(&added) != nullptr;
}

TEST_F(Forms, EachKindIsMadeAsTheInterfaceThatAddAnswers) {
    auto form = toolkit.createForm(smallForm);
    using enum ControlKind;
    EXPECT_TRUE(madeAsItsInterface<Panel>(*form, {.name = "Panel"}));
    EXPECT_TRUE(madeAsItsInterface<SunkenPanel>(*form, {.name = "SunkenPanel"}));
    EXPECT_TRUE(madeAsItsInterface<PageControl>(*form, {.name = "PageControl"}));
    EXPECT_TRUE(madeAsItsInterface<TabPage>(*form, {.name = "TabPage", .parent = "PageControl"}));
    EXPECT_TRUE(madeAsItsInterface<ListBox>(*form, {.name = "ListBox"}));
    EXPECT_TRUE(madeAsItsInterface<Button>(*form, {.name = "Button"}));
    EXPECT_TRUE(madeAsItsInterface<OkButton>(*form, {.name = "OkButton"}));
    EXPECT_TRUE(madeAsItsInterface<CancelButton>(*form, {.name = "CancelButton"}));
    EXPECT_TRUE(madeAsItsInterface<PushOkButton>(*form, {.name = "PushOkButton"}));
    EXPECT_TRUE(madeAsItsInterface<BrowseButton>(*form, {.name = "BrowseButton"}));
    EXPECT_TRUE(madeAsItsInterface<CheckBox>(*form, {.name = "CheckBox"}));
    EXPECT_TRUE(madeAsItsInterface<Edit>(*form, {.name = "Edit"}));
    EXPECT_TRUE(madeAsItsInterface<Label>(*form, {.name = "Label"}));
    EXPECT_TRUE(madeAsItsInterface<CentredLabel>(*form, {.name = "CentredLabel"}));
    EXPECT_TRUE(madeAsItsInterface<LinkLabel>(*form, {.name = "LinkLabel"}));
}

// How many pixels of the list's first line differ from white when the list
// paints itself into a white bitmap: none while it draws nothing.
int inkInFirstLine(HWND list) {
    RECT line{};
    SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&line));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, line.right, line.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, line.right, line.bottom, WHITENESS);
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int ink = 0;
    for (int y = line.top; y < line.bottom; ++y)
        for (int x = line.left; x < line.right; ++x)
            ink += GetPixel(dc, x, y) != RGB(255, 255, 255);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ink;
}

TEST_F(Forms, ListBoxKeepsLinesAndOneSelection) {
    auto form = toolkit.createForm(smallForm);
    ListBox& log = form->add<ControlKind::ListBox>(
        {.name = "Log", .bounds = {0, 0, 200, 120}, .align = Align::Client, .itemHeight = 12});
    // The lines are views into one text, as a compile's log gives them.
    std::string text = "line\r\n! Undefined control sequence.\r\n表示能力\r\n";
    for (int i = 3; i < 500; ++i)
        text += "line\r\n";
    ShowWindow(handleOf(*form), SW_SHOWNOACTIVATE);
    log.setLines(text::splitLines(text));
    EXPECT_GT(inkInFirstLine(handleOf(log)), 0) << "the list shows its lines once filled";
    EXPECT_EQ(log.count(), 500);
    EXPECT_EQ(log.line(1), "! Undefined control sequence.");
    EXPECT_EQ(log.line(2), "表示能力");
    EXPECT_EQ(log.line(499), "line");
    EXPECT_EQ(log.selectedIndex(), -1);

    log.addLine("l.4 \\badmacro");
    EXPECT_EQ(log.count(), 501);
    EXPECT_EQ(log.line(500), "l.4 \\badmacro");
    log.select(1);
    EXPECT_EQ(log.selectedIndex(), 1);
    log.select(2);
    EXPECT_EQ(log.selectedIndex(), 2);

    log.setLines({"only"});
    EXPECT_EQ(log.count(), 1);
    EXPECT_EQ(log.selectedIndex(), -1);
    EXPECT_EQ(log.line(5), "");
}

// clang-format off
const std::vector<MenuItemSpec> menu{
    {.name = "File1", .caption = "&File"},
    {.name = "Open1", .parent = "File1", .caption = "&Open", .shortcut = "Ctrl+O"},
    {.name = "N1", .parent = "File1", .caption = "-"},
    {.name = "Exit1", .parent = "File1", .caption = "&Exit"},
    {.name = "Option", .caption = "&Option"},
    {.name = "Help", .caption = "&Help", .shortcut = "F1"},
    {.name = "Version1", .parent = "Help", .caption = "&Version"},
};
// clang-format on

std::string menuText(HMENU menu, UINT position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// Keys as if typed with the Ctrl key held down or not.
void holdControl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST_F(Forms, MenuShowsShortcutsAndRunsCommandsFromBarItemsAndKeys) {
    auto form = toolkit.createForm({.name = "Main", .caption = "Main", .bounds = {0, 0, 267, 269}}, menu);
    HWND window = handleOf(*form);
    std::vector<std::string> clicked;
    for (const char* name : {"File1", "Open1", "Exit1", "Option", "Help", "Version1"})
        form->menuItem(name).onClick = [&clicked, name] { clicked.push_back(name); };

    HMENU bar = GetMenu(window);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    HMENU file = GetSubMenu(bar, 0);
    EXPECT_EQ(menuText(file, 0), "&Open\tCtrl+O");
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetSubMenu(bar, 1), nullptr); // Option is a command of its own

    SendMessageA(window, WM_COMMAND, GetMenuItemID(bar, 1), 0);
    EXPECT_EQ(clicked, std::vector<std::string>{"Option"});

    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    holdControl(true);
    PostMessageA(window, WM_KEYDOWN, 'O', 1);
    toolkit.processMessages();
    holdControl(false);
    PostMessageA(window, WM_KEYDOWN, VK_F1, 1);
    toolkit.processMessages();
    EXPECT_EQ(clicked, (std::vector<std::string>{"Option", "Open1"}));
}

// The options dialog over the main window: Enter from an edit is OK, Esc and
// the close box are Cancel; the main window is disabled meanwhile, and the
// dialog keeps its page between showings.
TEST_F(Forms, ModalFormAnswersEnterEscapeAndItsCloseBox) {
    TForm1 form1(app);
    TForm2 form2(app);
    HWND mainWindow = handleOf(form1.window()), options = handleOf(form2.window());
    bool mainDisabled = false;

    repeatUntil([&] {
        if (!IsWindowVisible(options)) return false;
        mainDisabled = !IsWindowEnabled(mainWindow);
        SetFocus(handleOf(form2.controls().Edit1));
        pressKey(VK_RETURN);
        return true;
    });
    EXPECT_EQ(form2.window().showModal(), ModalResult::OK);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_FALSE(IsWindowVisible(options));

    form2.controls().PageControl1.setActivePage(2);
    repeatUntil([&] {
        if (!IsWindowVisible(options)) return false;
        pressKey(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(form2.window().showModal(), ModalResult::Cancel);

    repeatUntil([&] {
        if (!IsWindowVisible(options)) return false;
        PostMessageA(options, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(form2.window().showModal(), ModalResult::Cancel);
    EXPECT_EQ(form2.controls().PageControl1.activePage(), 2);
}

TEST_F(Forms, TerminateEndsTheModalLoopAsCancelled) {
    TForm2 form2(app);
    int clicks = 0;
    form2.controls().BitBtn1.onClick = [&] { ++clicks; };
    repeatUntil([&] {
        toolkit.terminate();
        return true;
    });
    EXPECT_EQ(form2.window().showModal(), ModalResult::Cancel);
    toolkit.run(); // returns at once
    EXPECT_EQ(clicks, 0);
}

TEST_F(Forms, TimerTicksUntilSwitchedOff) {
    auto form = toolkit.createForm(smallForm);
    auto timer = toolkit.createTimer(*form);
    int ticks = 0;
    timer->onTimer = [&] { ++ticks; };
    timer->setInterval(20);
    timer->setEnabled(true);
    for (DWORD start = GetTickCount(); ticks < 3 && GetTickCount() - start < 3000; Sleep(5))
        toolkit.processMessages();
    EXPECT_GE(ticks, 3);

    timer->setEnabled(false);
    const int stoppedAt = ticks;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 100; Sleep(5))
        toolkit.processMessages();
    EXPECT_EQ(ticks, stoppedAt);
}

} // namespace
