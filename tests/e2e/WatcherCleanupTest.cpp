// The auto-compile watcher with the real pTeX, and the cleanup of intermediate files.
#include <gtest/gtest.h>

#include "e2e/Driver.h"

using namespace e2e;

TEST(WatcherE2E, ASavedDocumentIsCompiledOnceAndThenLeftAlone) {
    Installation installation;
    installation.add("platex.exe");
    const std::string document = installation.path("watched.tex");
    const std::string dvi = installation.path("watched.dvi");
    writeFile(document, "\\documentclass{jarticle}\n\\begin{document}\nA\n\\end{document}\n");
    installation.settings("AutoCompile=1\r\nCheckInterval=500\r\n");
    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);

    ASSERT_TRUE(waitUntil([&] { return fileExists(dvi); }, 30000)) << "a missing DVI is compiled at the first tick";
    ASSERT_TRUE(waitUntil([&] { return windowText(main) == "Velumo - " + document; }, 30000));
    EXPECT_EQ(0, compilesWithin(main, 2500)) << "nothing changed: no compile";
    ASSERT_EQ("Velumo - " + document, windowText(main)) << "no compile still running that could write the DVI anew";

    touchNow(document); // saved two seconds or more after the DVI
    EXPECT_EQ(1, compilesWithin(main, 6000)) << "exactly one compile, also on a busy machine";
    EXPECT_EQ(0, compilesWithin(main, 2000));
    EXPECT_TRUE(velumo.close());
}

namespace {
struct CleanupFixture : testing::Test {
    Installation installation;
    std::string folder = installation.path("表");
    std::string base = folder + "\\ソ";

    void SetUp() override {
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* extension : {".tex", ".dvi", ".log", ".aux"})
            writeFile(base + extension, "x");
        installation.settings("");
    }
    void TearDown() override { SetFileAttributesA((base + ".log").c_str(), FILE_ATTRIBUTE_NORMAL); }

    // Presses Delete Logfile and answers the question.
    void cleanup(Velumo& velumo, HWND main, int answer) {
        press(childWithText(main, "Delete Logfile"));
        HWND question = velumo.waitForWindow("確認");
        ASSERT_NE(nullptr, question);
        EXPECT_EQ("中間ファイルを削除します。よろしいですか？", dialogText(question));
        command(question, answer);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(question); }));
        Sleep(200);
    }
};
} // namespace

TEST_F(CleanupFixture, YesDeletesLogAndAuxNoKeepsEverything) {
    Velumo velumo(installation, "\"" + base + ".tex\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    cleanup(velumo, main, IDNO);
    EXPECT_TRUE(fileExists(base + ".log") && fileExists(base + ".aux"));

    cleanup(velumo, main, IDYES);
    EXPECT_FALSE(fileExists(base + ".log"));
    EXPECT_FALSE(fileExists(base + ".aux"));
    EXPECT_TRUE(fileExists(base + ".tex"));
    EXPECT_TRUE(fileExists(base + ".dvi"));
    EXPECT_TRUE(velumo.close());
}

TEST_F(CleanupFixture, ALockedFileIsLeftSilentlyAndTheNextOneGoes) {
    HANDLE locked = CreateFileA((base + ".log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    Velumo velumo(installation, "\"" + base + ".tex\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    cleanup(velumo, main, IDYES);
    CloseHandle(locked);
    EXPECT_TRUE(fileExists(base + ".log"));
    EXPECT_FALSE(fileExists(base + ".aux"));
    EXPECT_EQ(nullptr, velumo.waitForWindow("Velumo", 500)) << "no message";
    EXPECT_TRUE(velumo.close());
}

// The document named through a folder and "..", without its extension.
TEST_F(CleanupFixture, AReadOnlyFileIsLeftSilentlyAndTheNextOneGoes) {
    SetFileAttributesA((base + ".log").c_str(), FILE_ATTRIBUTE_READONLY);
    Velumo velumo(installation, "\"" + folder + "\\x\\..\\ソ\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    cleanup(velumo, main, IDYES);
    EXPECT_TRUE(fileExists(base + ".log"));
    EXPECT_FALSE(fileExists(base + ".aux"));
    EXPECT_EQ(nullptr, velumo.waitForWindow("Velumo", 500)) << "no message";
    EXPECT_TRUE(velumo.close());
}
