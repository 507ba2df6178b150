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
        EXPECT_EQ("notepad.exe", settings.read(settings::Text{"Editor", "notepad.exe"}));
        EXPECT_EQ(1000, settings.read(settings::Integer{"CheckInterval", 1000}));
        EXPECT_TRUE(settings.read(settings::Flag{"ErrorJump", true}));
        EXPECT_FALSE(settings.read(settings::Flag{"ErrorJump", false}));
    }
    EXPECT_FALSE(system.files.exists(ini));
    EXPECT_EQ(1, system.profile.flushCount);
}

TEST(Settings, IntegerAndBooleanEncodings) {
    HeadlessOs system;
    system.files.put(ini, "[Option]\r\nA=2\r\nB=-1\r\nC=true\r\nD=\r\nE=0x3E8\r\nF=$10\r\nG=0\r\nH=abc\r\n");
    SettingsFile settings(system.profile, ini);
    EXPECT_TRUE(settings.read(settings::Flag{"A", false}));
    EXPECT_TRUE(settings.read(settings::Flag{"B", false}));
    EXPECT_FALSE(settings.read(settings::Flag{"C", false}));
    EXPECT_TRUE(settings.read(settings::Flag{"C", true}));
    EXPECT_EQ(7, settings.read(settings::Integer{"D", 7}));
    EXPECT_EQ("", settings.read(settings::Text{"D", "default"}));
    EXPECT_EQ(1000, settings.read(settings::Integer{"E", 0}));
    EXPECT_EQ(16, settings.read(settings::Integer{"F", 0}));
    EXPECT_FALSE(settings.read(settings::Flag{"G", true}));
    EXPECT_EQ(1000, settings.read(settings::Integer{"H", 1000}));
}

TEST(Settings, WritesEncodeAndLongValuesReadBackCut) {
    HeadlessOs system;
    {
        SettingsFile settings(system.profile, ini);
        settings.write(settings::Flag{"AutoCompile", false}, true);
        settings.write(settings::Flag{"UseDDE", false}, false);
        settings.write(settings::Integer{"Top", 0}, -20);
        settings.write(settings::Text{"FileExt", ""}, std::string(3000, 'x'));
    }
    EXPECT_EQ("[Option]\r\nAutoCompile=1\r\nUseDDE=0\r\nTop=-20\r\nFileExt=" + std::string(3000, 'x') + "\r\n",
              system.files.content(ini));
    SettingsFile settings(system.profile, ini);
    EXPECT_EQ(2047u, settings.read(settings::Text{"FileExt", ""}).size());
}

TEST(Settings, RefusedWriteNamesTheSettingsPath) {
    HeadlessOs system;
    system.files.readOnlyFolders.insert("C:\\Velumo");
    SettingsFile settings(system.profile, ini);
    try {
        settings.write(settings::Text{"Editor", ""}, "x");
        FAIL();
    } catch (const platform::Exception& error) {
        EXPECT_EQ(ini + " に書き込めません", error.message());
    }
}
