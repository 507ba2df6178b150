// Filling the log list with 100,000 lines of compiler output through the
// toolkit's list box, against a bare list box filled with redraw switched off,
// in the same run. The time to split the captured text into lines is printed
// beside it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Win32Toolkit.h"
#include "text/Lines.h"

namespace {
constexpr int lineCount = 100000;

double seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

std::string compilerOutput() {
    std::string text;
    for (int i = 0; i < lineCount; ++i)
        text += "(/usr/share/texlive/texmf-dist/tex/latex/base/size10.clo) line " + std::to_string(i) + "\r\n";
    return text;
}

double fillBare(const std::vector<std::string>& lines) {
    HWND box = CreateWindowA("LISTBOX", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                             260, 300, nullptr, nullptr, nullptr, nullptr);
    pump();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    for (const std::string& line : lines)
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
    QueryPerformanceCounter(&end);
    DestroyWindow(box);
    return seconds(start, end);
}

double fillVelumo(platform::Toolkit& toolkit, const std::vector<std::string_view>& lines) {
    using namespace platform;
    auto form = toolkit.createForm({.name = "Form1", .caption = "Velumo", .bounds = {0, 0, 267, 269}});
    ListBox& log = form->add<ControlKind::ListBox>(
        {.name = "ListBox1", .bounds = {0, 0, 259, 223}, .align = Align::Client, .itemHeight = 12});
    form->show();
    toolkit.processMessages();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    log.setLines(lines);
    toolkit.processMessages();
    QueryPerformanceCounter(&end);
    return seconds(start, end);
}
} // namespace

int main() {
    platform::win32::Win32Toolkit toolkit;
    const std::string output = compilerOutput();
    const std::vector<std::string_view> views = text::splitLines(output);
    const std::vector<std::string> lines(views.begin(), views.end());
    double bare = 1e9, velumo = 1e9, split = 1e9;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, fillBare(lines));
        velumo = std::min(velumo, fillVelumo(toolkit, views));
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const size_t count = text::splitLines(output).size();
        QueryPerformanceCounter(&end);
        if (count == lines.size()) split = std::min(split, seconds(start, end));
    }
    std::printf("log list, %d lines: bare list box %.3f s, Velumo's log list %.3f s, ratio %.2f (target at most "
                "1.20); splitting the text into lines %.3f s\n",
                lineCount, bare, velumo, velumo / bare, split);
    return 0;
}
