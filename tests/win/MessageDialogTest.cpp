// The message dialogs as a user meets them: captions, buttons, the default
// button and what Esc answers, inspected while each dialog is shown.
#include <windows.h>

#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "platform/win32/Win32Platform.h"

namespace {

using platform::MessageType;
using platform::ModalResult;

struct ButtonSeen {
    std::string caption;
    int id;
    bool operator==(const ButtonSeen&) const = default;
};

struct DialogSeen {
    std::string text;
    bool hasIcon = false;
    std::vector<ButtonSeen> buttons;
    int focusId = 0;
    int defaultId = 0;
};

// Arms the look at the next dialog with this caption: once it is shown, what
// it shows is noted in the record answered, and Esc is pressed in it.
const DialogSeen& seeThenEscape(const char* caption) {
    static DialogSeen seen;
    static std::string awaited;
    seen = {};
    awaited = caption;
    repeatUntil([] {
        HWND dialog = FindWindowA("#32770", awaited.c_str());
        if (!dialog || !IsWindowVisible(dialog)) return false;
        for (HWND child : childrenOf(dialog)) {
            if (classOf(child) == "Button")
                seen.buttons.push_back({textOf(child), GetDlgCtrlID(child)});
            else if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                seen.hasIcon = true;
            else
                seen.text = textOf(child);
        }
        seen.focusId = GetDlgCtrlID(GetFocus());
        seen.defaultId = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0));
        pressKey(VK_ESCAPE);
        return true;
    });
    return seen;
}

class MessageDialog : public ::testing::Test {
protected:
    platform::win32::Win32Platform platform;
    platform::Toolkit& toolkit = platform.toolkit();
};

TEST_F(MessageDialog, YesNoCancelDefaultsToYesAndEscapeCancels) {
    const DialogSeen& seen = seeThenEscape("確認");
    const ModalResult answer = toolkit.messageDialog("保存しますか?", MessageType::Confirmation,
                                                     platform::mbYes | platform::mbNo | platform::mbCancel);
    EXPECT_EQ(answer, ModalResult::Cancel);
    EXPECT_EQ(seen.text, "保存しますか?");
    EXPECT_TRUE(seen.hasIcon);
    const std::vector<ButtonSeen> expected{{"はい(&Y)", IDYES}, {"いいえ(&N)", IDNO}, {"キャンセル", IDCANCEL}};
    EXPECT_EQ(seen.buttons, expected);
    EXPECT_EQ(seen.focusId, IDYES);
    EXPECT_EQ(seen.defaultId, IDYES);
}

TEST_F(MessageDialog, YesNoEscapeAnswersNo) {
    seeThenEscape("警告");
    EXPECT_EQ(toolkit.messageDialog("続けますか?", MessageType::Warning, platform::mbYes | platform::mbNo),
              ModalResult::No);
}

TEST_F(MessageDialog, OkOnlyDefaultsToOkAndEscapeAnswersOk) {
    const DialogSeen& seen = seeThenEscape("情報");
    EXPECT_EQ(toolkit.messageDialog("初回起動です。", MessageType::Information, platform::mbOK), ModalResult::OK);
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_EQ(seen.buttons, (std::vector<ButtonSeen>{{"OK", IDOK}}));
    EXPECT_EQ(seen.focusId, IDOK);
    EXPECT_EQ(seen.defaultId, IDOK);
}

TEST_F(MessageDialog, OkWithCancelDefaultsToOk) {
    const DialogSeen& seen = seeThenEscape("エラー");
    EXPECT_EQ(toolkit.messageDialog("失敗", MessageType::Error, platform::mbOK | platform::mbCancel),
              ModalResult::Cancel);
    EXPECT_EQ(seen.focusId, IDOK);
}

TEST_F(MessageDialog, PlainMessageHasTheTitleTextAndOkButNoIcon) {
    const DialogSeen& seen = seeThenEscape("Velumo");
    toolkit.showMessage("Velumo", "コンパイルが終了しました。");
    EXPECT_FALSE(seen.hasIcon);
    EXPECT_EQ(seen.text, "コンパイルが終了しました。");
    EXPECT_EQ(seen.buttons, (std::vector<ButtonSeen>{{"OK", IDOK}}));
}

} // namespace
