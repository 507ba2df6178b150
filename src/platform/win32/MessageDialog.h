#pragma once
// The program's message dialogs: a real dialog ("#32770") built from one
// in-memory template, holding an optional icon, the text and a row of buttons,
// sized to its text and centred on the screen.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Ui.h"

namespace platform::win32 {

struct MessageContent {
    std::string caption;
    std::string text;
    LPCSTR icon = nullptr;    // a system icon (IDI_...), or none
    std::vector<int> buttons; // ids out of IDYES, IDNO, IDOK, IDCANCEL, in the order shown
    int defaultButton = IDOK; // Enter and the initial focus
    int escapeResult = IDOK;  // what Esc and the close box answer
};

class MessageDialogs {
public:
    explicit MessageDialogs(const Ui& ui) : ui_(ui) {}
    // Shows the dialog modally over owner (may be null); answers the id of the button chosen.
    int run(HWND owner, const MessageContent& content);
    // Ends every dialog still open as Esc would.
    void cancelAll();

private:
    struct Running;
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static void layOut(HWND dialog, const Running& running);

    const Ui& ui_;
    std::vector<std::pair<HWND, int>> open_; // each dialog shown, with its escape result
};

} // namespace platform::win32
