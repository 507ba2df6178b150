// File ages, deletion and the program's own path against the real file system.
#include <windows.h>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/win32/Win32Os.h"

namespace {

using platform::win32::Win32FileSystem;

void createFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

// Gives the file a last-write time stated in local time.
void setLocalWriteTime(const std::string& path, const SYSTEMTIME& local) {
    FILETIME localTime, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
    CloseHandle(file);
}

TEST(FileAge, IsTheLocalWriteTimePackedInTwoSecondSteps) {
    TempFolder folder;
    const std::string path = folder.file("paper.tex");
    createFile(path);
    setLocalWriteTime(path, SYSTEMTIME{2021, 3, 0, 14, 13, 45, 31, 0});

    const int32_t age = Win32FileSystem().fileAge(path);
    const uint32_t date = static_cast<uint32_t>(age) >> 16, time = age & 0xFFFF;
    EXPECT_EQ((date >> 9) + 1980, 2021u);
    EXPECT_EQ((date >> 5) & 15, 3u);
    EXPECT_EQ(date & 31, 14u);
    EXPECT_EQ(time >> 11, 13u);
    EXPECT_EQ((time >> 5) & 63, 45u);
    EXPECT_EQ((time & 31) * 2, 30u); // 31 seconds fall to the even second below
}

TEST(FileAge, IsMinusOneForAFolderAndForNothing) {
    TempFolder folder;
    Win32FileSystem files;
    EXPECT_EQ(files.fileAge(folder.path()), -1);
    EXPECT_EQ(files.fileAge(folder.file("missing.tex")), -1);
    EXPECT_EQ(files.fileAge(folder.file("missing\\paper.tex")), -1);
}

TEST(FileSystem, DeletedFileHasNoAgeAndCannotBeDeletedTwice) {
    TempFolder folder;
    Win32FileSystem files;
    const std::string path = folder.file("paper.log");
    createFile(path);
    EXPECT_NE(files.fileAge(path), -1);
    EXPECT_TRUE(files.deleteFile(path));
    EXPECT_EQ(files.fileAge(path), -1);
    EXPECT_FALSE(files.deleteFile(path));
}

// The names that the headless file system of the unit tests reads as Windows
// does, checked against the real system: cleanup's safety rests on them.
TEST(FileSystem, FullPathNamesDropTrailingDotsAndBlanksAndResolveRelativeNames) {
    TempFolder folder;
    Win32FileSystem files;
    const std::string document = folder.file("paper.tex");
    for (const char* name : {"paper.tex.", "paper.tex ", "paper.TEX..", "x\\..\\paper.tex", "x/../paper.tex"})
        EXPECT_EQ(files.fullPathName(folder.file(name)),
                  folder.file(std::string(name) == "paper.TEX.." ? "paper.TEX" : "paper.tex"))
            << name;
    EXPECT_EQ(files.fullPathName(folder.file("paper..")), folder.file("paper"));
    EXPECT_EQ(files.fullPathName(folder.file("paper.表")), folder.file("paper.表"));
    EXPECT_EQ(files.fullPathName(""), "") << "no name resolves to no folder";

    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    ASSERT_TRUE(files.setCurrentDirectory(folder.path()));
    EXPECT_EQ(files.fullPathName("sub\\paper.tex"), folder.file("sub\\paper.tex"));
    SetCurrentDirectoryA(current);

    createFile(document);
    EXPECT_TRUE(files.deleteFile(document + ".")) << "the document itself, under another spelling";
    EXPECT_EQ(files.fileAge(document), -1);
}

TEST(ProgramInfo, ExecutablePathIsFullAndCommandLineStartsWithTheProgram) {
    platform::win32::Win32ProgramInfo program;
    const std::string path = program.executablePath();
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path.substr(1, 2), ":\\");
    EXPECT_NE(path.find("win_tests.exe"), std::string::npos);
    EXPECT_NE(program.commandLine().find("win_tests"), std::string::npos);
}

} // namespace
