// The preview's DDE refresh through the Win32 client against the viewer of the
// tests: the viewer gets its one execute, and a viewer that never answers the
// execute does not hold up the caller while the conversation ends. The
// preview's waits end at their time, or at once for a message.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "features/DdeClientConv.h"
#include "TempFolder.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Processes.h"

namespace {

std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool waitForLines(const std::string& path, size_t count) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20))
        if (readLines(path).size() >= count) return true;
    return false;
}

// The test viewer copied into a folder under a name that sets its behaviour,
// running until the test ends.
class Viewer {
public:
    Viewer(const TempFolder& folder, const std::string& name) {
        const std::string exe = folder.file(name);
        CopyFileA(besideThisProgram("test_viewer.exe").c_str(), exe.c_str(), FALSE);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_))
            return;
        // The viewer registers its DDE service before it creates its window.
        const std::string caption = "Test Viewer " + name;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000 && !serving_; Sleep(20))
            serving_ = FindWindowA("VelumoTestViewer", caption.c_str()) != nullptr;
    }
    ~Viewer() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;
    bool serving() const { return serving_; }

private:
    PROCESS_INFORMATION process_{};
    bool serving_ = false;
};

class DdeRefresh : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, platform.os().dde.initialize()); }
    void TearDown() override { platform.os().dde.uninitialize(); }

    // The preview's refresh: connect, one execute, end; the milliseconds it took.
    DWORD refresh() {
        const DWORD start = GetTickCount();
        if (conversation.setLink("windvi", "windvi")) conversation.executeMacro(command);
        conversation.closeLink();
        return GetTickCount() - start;
    }
    std::string expectedExecute() const {
        return "length=" + std::to_string(command.size() + 1) + " nul text=" + command;
    }

    TempFolder folder;
    platform::win32::Win32Platform platform;
    DdeClientConv conversation{platform.os()};
    const std::string command = fileOpenCommand("C:\\my docs\\論文 表.dvi");
};

TEST_F(DdeRefresh, AnAnsweringViewerGetsExactlyOneExecuteWithTheCommandText) {
    Viewer viewer(folder, "test_viewer.exe");
    ASSERT_TRUE(viewer.serving());
    refresh();
    ASSERT_TRUE(waitForLines(folder.file("executes.txt"), 1));
    Sleep(200);
    EXPECT_EQ(std::vector<std::string>{expectedExecute()}, readLines(folder.file("executes.txt")));
}

TEST_F(DdeRefresh, AViewerThatNeverAnswersTheExecuteDoesNotHoldUpTheCaller) {
    Viewer viewer(folder, "busy_viewer.exe");
    ASSERT_TRUE(viewer.serving());
    // The second refresh comes while the first conversation is still ending.
    for (size_t refreshes = 1; refreshes <= 2; ++refreshes) {
        EXPECT_LT(refresh(), 1500u) << "refresh " << refreshes << " waited for the conversation's end";
        ASSERT_TRUE(waitForLines(folder.file("executes.txt"), refreshes));
    }
    Sleep(200);
    EXPECT_EQ((std::vector<std::string>{expectedExecute(), expectedExecute()}), readLines(folder.file("executes.txt")))
        << "one execute per refresh, with the command text and its NUL";
}

// While the started viewer gets ready, and during the pause after it, the
// window answers: each wait ends at its time, or as soon as a message for the
// program's windows is waiting.
TEST(PreviewWaits, EndAtTheirTimeOrAtTheFirstMessage) {
    TempFolder folder;
    const std::string hung = folder.file("hung_viewer.exe");
    CopyFileA(besideThisProgram("test_viewer.exe").c_str(), hung.c_str(), FALSE);
    uint32_t code = 0;
    const std::unique_ptr<platform::StartedProgram> viewer =
        platform::win32::createWin32ProcessService()->startCompanion('"' + hung + '"', code);
    ASSERT_TRUE(viewer) << code;
    // The message comes long after the wait's time: the wait ends at its time.
    const DWORD thread = GetCurrentThreadId();
    std::thread late([thread] {
        Sleep(2000);
        PostThreadMessageA(thread, WM_NULL, 0, 0);
    });
    EXPECT_TRUE(viewer->waitForInputIdle(300)) << "the wait for a viewer that never gets ready ended at a message";
    late.join();
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, viewer->processId());
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);

    // That message still waits, and a pause ends at once.
    platform::win32::Win32Desktop desktop;
    EXPECT_FALSE(desktop.pause(5000)) << "the pause went on with a message waiting";
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_TRUE(desktop.pause(10));
}

} // namespace
