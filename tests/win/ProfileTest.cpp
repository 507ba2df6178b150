// The profile service against the system's own INI file calls.
#include <windows.h>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/win32/Win32Os.h"

namespace {

class Profile : public ::testing::Test {
protected:
    bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    TempFolder folder;
    platform::win32::Win32Profile profile;
    const std::string ini = folder.file("Velumo.ini");
};

// Double-byte characters whose second byte is "\" (0x5C), as in 表, ソ and 能,
// must survive the trip through the file untouched.
TEST_F(Profile, EveryKindOfValueTheProgramWritesReadsBackUnchanged) {
    const std::string values[] = {
        "C:\\Program Files\\表計算ソフト\\能力.exe", "表", "1", "0", "-1", "-2147483648", "", "log,aux", "%l -x",
    };
    for (size_t index = 0; index < std::size(values); ++index) {
        const std::string key = "Key" + std::to_string(index);
        ASSERT_TRUE(profile.writeString("Option", key, values[index], ini)) << key;
        EXPECT_EQ(profile.readString("Option", key, "none", ini), values[index]) << key;
    }
}

TEST_F(Profile, AbsentFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(profile.readString("Option", "Editor", "notepad.exe", ini), "notepad.exe");
    ASSERT_TRUE(profile.writeString("Option", "TeX", "platex.exe", ini));
    EXPECT_EQ(profile.readString("Option", "Editor", "def", ini), "def");
    EXPECT_EQ(profile.readString("Other", "TeX", "def", ini), "def");
}

TEST_F(Profile, LongValuesComeBackCutTo2047Bytes) {
    ASSERT_TRUE(profile.writeString("Option", "Exact", std::string(2047, 'a'), ini));
    ASSERT_TRUE(profile.writeString("Option", "Longer", std::string(3000, 'b'), ini));
    EXPECT_EQ(profile.readString("Option", "Exact", "", ini), std::string(2047, 'a'));
    EXPECT_EQ(profile.readString("Option", "Longer", "", ini), std::string(2047, 'b'));
}

TEST_F(Profile, FlushWritesOutButNeverCreatesAFile) {
    profile.flush(ini);
    EXPECT_FALSE(fileExists(ini));

    ASSERT_TRUE(profile.writeString("Option", "Editor", "表.exe", ini));
    profile.flush(ini);
    ASSERT_TRUE(fileExists(ini));
    EXPECT_EQ(profile.readString("Option", "Editor", "", ini), "表.exe");
}

// A read-only folder does not refuse root under Wine; a path whose folder is
// missing, or a folder standing where the file should be, refuses every user.
TEST_F(Profile, WriteWhereNoFileCanBeIsRefused) {
    EXPECT_FALSE(profile.writeString("Option", "Editor", "x", folder.file("missing\\Velumo.ini")));

    const std::string folderInstead = folder.file("folder.ini");
    ASSERT_TRUE(CreateDirectoryA(folderInstead.c_str(), nullptr));
    EXPECT_FALSE(profile.writeString("Option", "Editor", "x", folderInstead));
}

} // namespace
