#pragma once
// The shared toolkit suite on real windows: the user's actions are made from
// inside the modal loop that is running, with the mouse and keyboard messages
// a user's would bring.
#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"
#include "win/WindowTestSupport.h"

namespace stuckModal {
inline platform::Toolkit* toolkit = nullptr;

// Ends a modal loop the user's action left running, so the test fails instead of hanging.
inline void CALLBACK end(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ADD_FAILURE() << "the modal form stayed open";
    toolkit->terminate();
}
} // namespace stuckModal

class ToolkitFixture : public ::testing::Test {
protected:
    platform::Toolkit& toolkit() { return platform_.toolkit(); }

    platform::ModalResult showModalWhile(platform::Form& form, std::function<void()> action) {
        HWND window = handleOf(form);
        repeatUntil([window, action] {
            if (!IsWindowVisible(window)) return false;
            action();
            return true;
        });
        stuckModal::toolkit = &toolkit();
        const UINT_PTR guard = SetTimer(nullptr, 0, 5000, stuckModal::end);
        const platform::ModalResult result = form.showModal();
        KillTimer(nullptr, guard);
        return result;
    }
    void click(platform::Button& button) { SendMessageA(handleOf(button), BM_CLICK, 0, 0); }
    platform::ModalResult pressEnterIn(const std::string& text, platform::MessageType type, unsigned buttons) {
        repeatUntil([] {
            HWND dialog = shownDialog();
            if (!dialog) return false;
            pressKey(VK_RETURN);
            return true;
        });
        return toolkit().messageDialog(text, type, buttons);
    }

private:
    static BOOL CALLBACK findDialog(HWND window, LPARAM found) {
        if (classOf(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    // The dialog box this thread shows, if any.
    static HWND shownDialog() {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
        return dialog;
    }

    platform::win32::Win32Platform platform_;
};
