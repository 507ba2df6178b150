// Recorded runs of the real pTeX and upTeX replayed through Velumo.exe: the
// run's files stand in a folder (under their Shift-JIS or UTF-8 names, as
// Windows holds them), a compiler of the tests prints the run's console output
// exactly as TeX printed it, and the editor must reach the run's error.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/Driver.h"
#include "shared/TexRun.h"

using namespace e2e;

namespace {
std::wstring wide(const std::string& text, UINT codePage) {
    std::wstring result(text.size(), L'\0');
    result.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                                          result.data(), static_cast<int>(result.size()))));
    return result;
}

// The name in the code page, or nothing when a character has none.
bool inCodePage(const std::wstring& name, std::string& converted) {
    BOOL lossy = FALSE;
    converted.assign(name.size() * 2, '\0');
    converted.resize(static_cast<size_t>(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, name.data(),
                                                             static_cast<int>(name.size()), converted.data(),
                                                             static_cast<int>(converted.size()), nullptr, &lossy)));
    return !lossy;
}

void writeWide(const std::wstring& path, const std::string& content) {
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}
} // namespace

TEST(TexRunsE2E, TheEditorReachesTheErrorOfRealRuns) {
    // Box dumps with parentheses and names with blanks and parentheses in a long
    // folder; Shift-JIS names with -file-line-error; UTF-8 names in a sub-folder;
    // a UTF-8 name without a Shift-JIS form; a UTF-8 name that TeX's line break cuts.
    for (const char* name :
         {"platex-1010", "platex-1084-fle", "uplatex-1023", "uplatex-1049-fle", "uplatex-7025-fle"}) {
        SCOPED_TRACE(name);
        const TexRun run = readTexRun(std::string(VELUMO_TEX_RUNS_DIR) + "\\" + name + ".run");
        ASSERT_FALSE(run.output.empty());
        const UINT codePage = run.encoding == "utf-8" ? CP_UTF8 : 932;
        Installation installation;
        const std::string compiler = installation.add("recorded_compiler.exe");
        const std::string editor = installation.add("recording_editor.exe");
        const std::string folder = installation.path("doc") + "\\";
        for (const TexRun::File& source : run.sources)
            writeWide(wide(folder, 932) + wide(backslashed(source.name), codePage), source.content);
        for (const std::string& other : run.other)
            if (isRelativeName(other)) writeWide(wide(folder, 932) + wide(backslashed(other), codePage), "");
        writeFile(folder + "console.txt", run.output);
        installation.settings("TeX=" + compiler + "\r\nEditor=" + editor + "\r\nErrorJump=1\r\nJumpOption=-n%l\r\n");

        const std::string document = folder + run.document;
        std::string errorFile;
        if (!inCodePage(wide(backslashed(run.errorFile), codePage), errorFile)) errorFile = run.document;
        Velumo velumo(installation, "\"" + document + "\"");
        HWND main = velumo.mainWindow();
        ASSERT_NE(nullptr, main);
        press(childWithText(main, "Compile TeXfile"));
        ASSERT_TRUE(waitUntil([&] { return fileExists(installation.path("record.txt")); }, 30000));
        const std::string jump = "\"" + editor + "\" -n" + run.errorLine + " \"" + folder + errorFile + "\"";
        EXPECT_EQ((std::vector<std::string>{jump}), readLines(installation.path("record.txt")));

        // The log shows TeX's lines in the code page.
        const std::vector<std::string> lines = listLines(childWindows(main, "ListBox").at(0));
        if (run.encoding == "utf-8" && errorFile != run.document) {
            const std::string fileName = errorFile.substr(errorFile.find_last_of('\\') + 1);
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    [&](const std::string& line) { return line.find(fileName) != std::string::npos; }))
                << "the UTF-8 name " << fileName << " shown in the code page";
        }
        EXPECT_TRUE(velumo.close());
    }
}
