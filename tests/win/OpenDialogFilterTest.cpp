// The open dialog's filter list and the menu's shortcut keys, as the system calls take them.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/FileOpenDialog.h"
#include "platform/win32/MenuBar.h"

namespace {

using namespace std::string_literals;

// "ポ" is 0x83 0x7C: its second byte is "|" and must not split the description.
TEST(OpenDialogFilter, EachPartEndsWithNulAndDoubleByteCharactersStayWhole) {
    EXPECT_EQ(platform::win32::filterList("TeXファイル|*.tex|TeXinfoファイル|*.texi"),
              "TeXファイル\0*.tex\0TeXinfoファイル\0*.texi\0"s);
    EXPECT_EQ(platform::win32::filterList("レポート|*.rep"), "レポート\0*.rep\0"s);
}

TEST(MenuShortcut, KnownKeysParseAndOthersAreRefused) {
    ACCEL key;
    ASSERT_TRUE(platform::win32::parseShortcut("Ctrl+O", key));
    EXPECT_EQ(key.fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(key.key, 'O');
    ASSERT_TRUE(platform::win32::parseShortcut("Shift+F12", key));
    EXPECT_EQ(key.fVirt, FVIRTKEY | FSHIFT);
    EXPECT_EQ(key.key, VK_F12);
    EXPECT_FALSE(platform::win32::parseShortcut("Ctrl+Hyper", key));
    EXPECT_FALSE(platform::win32::parseShortcut("Meta+O", key));
}

} // namespace
