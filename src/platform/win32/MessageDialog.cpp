#include "platform/win32/MessageDialog.h"
#include "platform/win32/DeviceContext.h"
#include "platform/win32/WindowProcedure.h"

#include <algorithm>
#include <cstring>

namespace platform::win32 {

namespace {
constexpr int textId = 100;
constexpr int iconId = 101;
constexpr WORD staticAtom = 0x0082;
constexpr WORD buttonAtom = 0x0080;
constexpr DWORD dialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;

const char* captionOf(int button) {
    switch (button) {
    case IDYES:
        return "はい(&Y)";
    case IDNO:
        return "いいえ(&N)";
    case IDCANCEL:
        return "キャンセル";
    default:
        return "OK";
    }
}

// The template holds the windows only; texts, font and places are set once
// the dialog exists, in pixels measured with the form's font.
class DialogTemplate {
public:
    explicit DialogTemplate(WORD itemCount) {
        DLGTEMPLATE header{dialogStyle, 0, itemCount, 0, 0, 0, 0};
        append(&header, sizeof header);
        words_.insert(words_.end(), {0, 0, 0}); // no menu, the dialog class, no title
    }

    void addItem(WORD atom, int id, DWORD style) {
        if (words_.size() % 2) words_.push_back(0); // items start on a DWORD boundary
        DLGITEMTEMPLATE item{WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, 0, static_cast<WORD>(id)};
        append(&item, sizeof item);
        words_.insert(words_.end(), {0xFFFF, atom, 0, 0}); // class by atom, no title, no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void append(const void* data, size_t size) {
        const size_t at = words_.size();
        words_.resize(at + (size + 1) / 2);
        std::memcpy(&words_[at], data, size);
    }

    std::vector<WORD> words_;
};
} // namespace

struct MessageDialogs::Running {
    MessageDialogs& dialogs;
    const MessageContent& content;
    bool hasButton(int id) const {
        return std::find(content.buttons.begin(), content.buttons.end(), id) != content.buttons.end();
    }
};

int MessageDialogs::run(HWND owner, const MessageContent& content) {
    DialogTemplate dialog(static_cast<WORD>(content.buttons.size() + (content.icon ? 2 : 1)));
    if (content.icon) dialog.addItem(staticAtom, iconId, SS_ICON);
    dialog.addItem(staticAtom, textId, SS_LEFT | SS_NOPREFIX);
    for (int button : content.buttons)
        dialog.addItem(buttonAtom, button,
                       WS_TABSTOP | (button == content.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));

    Running running{*this, content};
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.get(), owner, dialogProc,
                                             reinterpret_cast<LPARAM>(&running));
    return result <= 0 ? content.escapeResult : static_cast<int>(result);
}

void MessageDialogs::cancelAll() {
    for (const auto& [dialog, escapeResult] : open_)
        EndDialog(dialog, escapeResult);
}

INT_PTR CALLBACK MessageDialogs::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* running = reinterpret_cast<Running*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!running) return FALSE;
    return guarded(
        [&]() -> LRESULT {
            const MessageContent& content = running->content;
            auto& open = running->dialogs.open_;
            switch (message) {
            case WM_INITDIALOG:
                open.emplace_back(dialog, content.escapeResult);
                SetWindowTextA(dialog, content.caption.c_str());
                // The dialog class has no icon of the program's: Alt+Tab and the taskbar take it from here.
                SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIcon(IconSize::Small)));
                SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon(IconSize::Large)));
                SetDlgItemTextA(dialog, textId, content.text.c_str());
                for (int button : content.buttons)
                    SetDlgItemTextA(dialog, button, captionOf(button));
                if (content.icon)
                    SendDlgItemMessageA(dialog, iconId, STM_SETICON,
                                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, content.icon)), 0);
                layOut(dialog, *running);
                SendMessageA(dialog, DM_SETDEFID, content.defaultButton, 0);
                SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, content.defaultButton)),
                             TRUE);
                return FALSE; // the focus is set
            case WM_COMMAND: {
                // Esc and the close box send IDCANCEL, also when no Cancel button is there.
                int id = LOWORD(wParam);
                if (id == IDCANCEL && !running->hasButton(IDCANCEL)) id = content.escapeResult;
                if (running->hasButton(id) || id == content.escapeResult) EndDialog(dialog, id);
                return TRUE;
            }
            case WM_DESTROY:
                open.erase(
                    std::remove_if(open.begin(), open.end(), [&](const auto& shown) { return shown.first == dialog; }),
                    open.end());
                return FALSE;
            }
            return FALSE;
        },
        FALSE);
}

// Icon left, the text beside it wrapped at half the screen's width, and the
// buttons centred in a row below.
void MessageDialogs::layOut(HWND dialog, const Running& running) {
    const Ui& ui = running.dialogs.ui_;
    const MessageContent& content = running.content;
    const int margin = ui.scale(12), gap = ui.scale(8), buttonWidth = ui.scale(75), buttonHeight = ui.scale(25);
    const int iconSize = content.icon ? GetSystemMetrics(SM_CXICON) : 0;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);

    RECT text{0, 0, screenWidth / 2, 0};
    {
        const WindowDC dc(dialog);
        const SelectedObject font(dc.get(), ui.font());
        DrawTextA(dc.get(), content.text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }

    const int textLeft = margin + (content.icon ? iconSize + margin : 0);
    const int contentHeight = std::max<int>(text.bottom, iconSize);
    const int buttonCount = static_cast<int>(content.buttons.size());
    const int rowWidth = buttonCount * buttonWidth + (buttonCount - 1) * gap;
    const int clientWidth = std::max<int>(textLeft + text.right + margin, rowWidth + 2 * margin);
    const int clientHeight = 3 * margin + contentHeight + buttonHeight;

    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(ui.font()), FALSE);
    if (content.icon) MoveWindow(GetDlgItem(dialog, iconId), margin, margin, iconSize, iconSize, FALSE);
    MoveWindow(GetDlgItem(dialog, textId), textLeft, margin + (contentHeight - text.bottom) / 2, text.right,
               text.bottom, FALSE);
    for (int index = 0; index < buttonCount; ++index)
        MoveWindow(GetDlgItem(dialog, content.buttons[index]),
                   (clientWidth - rowWidth) / 2 + index * (buttonWidth + gap), 2 * margin + contentHeight, buttonWidth,
                   buttonHeight, FALSE);

    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, GetWindowLongA(dialog, GWL_STYLE), FALSE, GetWindowLongA(dialog, GWL_EXSTYLE));
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    SetWindowPos(dialog, nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace platform::win32
