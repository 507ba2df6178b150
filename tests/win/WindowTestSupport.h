#pragma once
// Helpers for tests that drive real windows: work done from inside whatever
// message loop is running (a modal form, a dialog box), and the window behind a control.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/ChildWindow.h"
#include "platform/win32/FormWindow.h"

namespace repeating {
inline std::function<bool()> step;
inline int triesLeft = 0;

inline void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (step()) {
        KillTimer(nullptr, id);
    } else if (--triesLeft == 0) {
        KillTimer(nullptr, id);
        ADD_FAILURE() << "the window awaited never came";
        PostQuitMessage(0);
    }
}
} // namespace repeating

// Calls step every 20 ms from the running message loop until it answers true.
// After two seconds the test fails and the loop is ended with WM_QUIT.
inline void repeatUntil(std::function<bool()> step) {
    repeating::step = std::move(step);
    repeating::triesLeft = 100;
    SetTimer(nullptr, 0, 20, repeating::onTimer);
}

inline HWND handleOf(platform::Control& control) {
    return dynamic_cast<platform::win32::ChildWindow&>(control).handle();
}
inline HWND handleOf(platform::Form& form) { return dynamic_cast<platform::win32::FormWindow&>(form).handle(); }

// A key as the keyboard sends it to the window with the focus.
inline void pressKey(WPARAM key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
}

inline std::string textOf(HWND window) {
    char text[512];
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline BOOL CALLBACK addChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// Every window inside parent, at any depth, in creation order.
inline std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, addChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

inline std::string classOf(HWND window) {
    char name[64];
    GetClassNameA(window, name, sizeof name);
    return name;
}
