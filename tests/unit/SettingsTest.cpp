#include <gtest/gtest.h>

#include "platform/Exception.h"
#include "settings/SettingsFile.h"
#include "support/HeadlessOs.h"

using headless::HeadlessOs;
using settings::SettingsFile;

namespace {
const std::string ini = "C:\\Velumo\\Velumo.ini";
}

TEST(Settings, MissingFileGivesEachReadersDefaultAndReleaseCreatesNothing) {
    HeadlessOs system;
    {
        SettingsFile settings(system.profile, ini);
        EXPECT_EQ("notepad.exe", settings.readString("Editor", "notepad.exe"));
        EXPECT_EQ(1000, settings.readInteger("CheckInterval", 1000));
        EXPECT_TRUE(settings.readBool("ErrorJump", true));
        EXPECT_FALSE(settings.readBool("ErrorJump", false));
    }
    EXPECT_FALSE(system.files.exists(ini));
    EXPECT_EQ(1, system.profile.flushCount);
}

TEST(Settings, IntegerAndBooleanEncodings) {
    HeadlessOs system;
    system.files.put(ini, "[Option]\r\nA=2\r\nB=-1\r\nC=true\r\nD=\r\nE=0x3E8\r\nF=$10\r\nG=0\r\nH=abc\r\n");
    SettingsFile settings(system.profile, ini);
    EXPECT_TRUE(settings.readBool("A", false));
    EXPECT_TRUE(settings.readBool("B", false));
    EXPECT_FALSE(settings.readBool("C", false));
    EXPECT_TRUE(settings.readBool("C", true));
    EXPECT_EQ(7, settings.readInteger("D", 7));
    EXPECT_EQ("", settings.readString("D", "default"));
    EXPECT_EQ(1000, settings.readInteger("E", 0));
    EXPECT_EQ(16, settings.readInteger("F", 0));
    EXPECT_FALSE(settings.readBool("G", true));
    EXPECT_EQ(1000, settings.readInteger("H", 1000));
}

TEST(Settings, WritesEncodeAndLongValuesReadBackCut) {
    HeadlessOs system;
    {
        SettingsFile settings(system.profile, ini);
        settings.writeBool("AutoCompile", true);
        settings.writeBool("UseDDE", false);
        settings.writeInteger("Top", -20);
        settings.writeString("FileExt", std::string(3000, 'x'));
    }
    EXPECT_EQ("[Option]\r\nAutoCompile=1\r\nUseDDE=0\r\nTop=-20\r\nFileExt=" + std::string(3000, 'x') + "\r\n",
              system.files.content(ini));
    SettingsFile settings(system.profile, ini);
    EXPECT_EQ(2047u, settings.readString("FileExt", "").size());
}

TEST(Settings, RefusedWriteNamesTheSettingsPath) {
    HeadlessOs system;
    system.files.readOnlyFolders.insert("C:\\Velumo");
    SettingsFile settings(system.profile, ini);
    try {
        settings.writeString("Editor", "x");
        FAIL();
    } catch (const platform::Exception& error) {
        EXPECT_EQ(ini + " に書き込めません", error.message());
    }
}
