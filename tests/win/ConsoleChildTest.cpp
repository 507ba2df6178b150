// The console capture service against real child processes (child_simulator.exe).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "features/ConsoleRedirect.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Toolkit.h"

using platform::ConsoleChild;
using platform::ProcessService;

namespace {

// Must match patternByte in programs/child_simulator.cpp.
unsigned char patternByte(uint32_t index, uint32_t seed) {
    uint32_t x = index * 2654435761u ^ seed;
    x ^= x >> 15;
    x *= 0x2c1b3c6du;
    x ^= x >> 12;
    return static_cast<unsigned char>(x >> 24);
}
constexpr uint32_t outputSeed = 0x0u;
constexpr uint32_t errorSeed = 0x5bd1e995u;

std::string simulatorCommand(const std::string& arguments) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return "\"" + folder + "child_simulator.exe\" " + arguments;
}

ProcessService& service() {
    static const std::unique_ptr<ProcessService> instance = platform::win32::createWin32ProcessService();
    return *instance;
}

struct Capture {
    std::string output;
    std::string error;
    std::vector<std::string> firstOutputReads; // the first few, as read
    size_t outputReadCount = 0;
};

void append(std::string& text, std::vector<std::string>&& reads, Capture* keep = nullptr) {
    for (std::string& read : reads) {
        text += read;
        if (keep) {
            ++keep->outputReadCount;
            if (keep->firstOutputReads.size() < 4) keep->firstOutputReads.push_back(std::move(read));
        }
    }
}

// Runs a command the way the compile capture does: input "R" and the byte 26,
// then waits and takes reads until both streams have ended, then waits for the exit.
Capture runCaptured(const std::string& arguments) {
    Capture capture;
    uint32_t code = 0;
    std::unique_ptr<ConsoleChild> child = service().startConsole(simulatorCommand(arguments), code);
    if (!child) {
        ADD_FAILURE() << "start failed with " << code;
        return capture;
    }
    child->writeInputAndClose(std::string("R\x1A"));
    // A stall fails the test instead of hanging it.
    const DWORD deadline = GetTickCount() + 60000;
    while (true) {
        append(capture.output, child->takeOutputReads(), &capture);
        append(capture.error, child->takeErrorReads());
        if (child->outputEnded() && child->errorEnded()) break;
        if (static_cast<int32_t>(GetTickCount() - deadline) >= 0) {
            ADD_FAILURE() << "streams still open after 60 s: " << arguments;
            child->abandonStreams();
            break;
        }
        child->waitForActivity(5000);
    }
    while (!child->exited() && static_cast<int32_t>(GetTickCount() - deadline) < 0)
        child->waitForActivity(5000);
    EXPECT_TRUE(child->exited()) << arguments;
    return capture;
}

// This process's valid handles, found by probing: GetProcessHandleCount is not reliable under Wine.
std::vector<DWORD> validHandles() {
    std::vector<DWORD> handles;
    for (DWORD value = 4; value <= 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) handles.push_back(value);
    }
    return handles;
}

std::string missingProgram() { return "\"Z:\\no\\such\\folder\\missing_program.exe\""; }

// Ends processes by their ids when the test ends, however it ends.
class ProcessKiller {
public:
    ~ProcessKiller() { endAll(); }
    void watch(DWORD processId) { processIds_.push_back(processId); }
    void endAll() {
        for (DWORD processId : processIds_) {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
        processIds_.clear();
    }

private:
    std::vector<DWORD> processIds_;
};

std::vector<DWORD> added(const std::vector<DWORD>& before, const std::vector<DWORD>& after) {
    std::vector<DWORD> ids;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(ids));
    return ids;
}

// Handles open now that were not before. Threads that earlier tests left
// running may close handles of theirs meanwhile, so a count would not do.
std::vector<DWORD> handlesOpenedSince(const std::vector<DWORD>& before) { return added(before, validHandles()); }

// Takes the output of a child that starts a program of its own, until it has
// reported that program's process id (and, unless it runs on, ended).
DWORD collectGrandchildReport(ConsoleChild& child, bool runsOn = false) {
    std::string output;
    const DWORD deadline = GetTickCount() + 20000;
    while ((!runsOn && !child.exited()) || output.find("pid ") == std::string::npos) {
        if (static_cast<int32_t>(GetTickCount() - deadline) >= 0) {
            ADD_FAILURE() << "child did not report";
            return 0;
        }
        child.waitForActivity(10);
        append(output, child.takeOutputReads());
    }
    return std::stoul(output.substr(output.find("pid ") + 4));
}

} // namespace

TEST(ConsoleCaptureTest, ChildWritingNothingGivesTwoEmptyTexts) {
    const Capture capture = runCaptured("silent");
    EXPECT_EQ(capture.output, "");
    EXPECT_EQ(capture.error, "");
}

// More than the error pipe holds, with the output open and silent.
TEST(ConsoleCaptureTest, ErrorOnlyOutputArrivesOnTheErrorStream) {
    const DWORD start = GetTickCount();
    const Capture capture = runCaptured("stderr-only 65536");
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_EQ(capture.output, "");
    ASSERT_EQ(capture.error.size(), 65536u);
    for (size_t i = 0; i < capture.error.size(); ++i)
        ASSERT_EQ(capture.error[i], char('a' + i % 26)) << i;
}

TEST(ConsoleCaptureTest, ZeroByteStaysInTheRawRead) {
    const Capture capture = runCaptured("zero");
    EXPECT_EQ(capture.output, std::string("ab\0cdef", 7));
    ASSERT_FALSE(capture.firstOutputReads.empty());
    EXPECT_STREQ(capture.firstOutputReads[0].c_str(), "ab"); // the zero byte is there for the caller to drop
}

TEST(ConsoleCaptureTest, ExactlyOneFullReadThenTheEnd) {
    const Capture capture = runCaptured("exact1024");
    ASSERT_EQ(capture.outputReadCount, 1u);
    EXPECT_EQ(capture.firstOutputReads[0], std::string(1024, 'x'));
}

TEST(ConsoleCaptureTest, FloodOfBothStreamsArrivesByteExact) {
    // A child filling its error pipe while output is still open must not stall.
    const Capture capture = runCaptured("flood 64 16");
    ASSERT_EQ(capture.output.size(), 64u << 20);
    ASSERT_EQ(capture.error.size(), 16u << 20);
    for (uint32_t i = 0; i < capture.output.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(capture.output[i]), patternByte(i, outputSeed)) << "output byte " << i;
    for (uint32_t i = 0; i < capture.error.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(capture.error[i]), patternByte(i, errorSeed)) << "error byte " << i;
}

TEST(ConsoleCaptureTest, InputIsExactlyTheGivenBytesThenItsEnd) {
    EXPECT_EQ(runCaptured("read-to-end").output, "521A");
    EXPECT_EQ(runCaptured("echo-input").output, "R");
}

// A window that notes whether the capture was still running when it got
// WM_APP, and lets the child that waits for it go.
struct RunOnWindow {
    static inline HANDLE release = nullptr;
    static inline bool capturing = false;
    static inline bool handledWhileCapturing = false;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
        handledWhileCapturing = capturing;
        SetEvent(release);
        return 0;
    }
};

TEST(ConsoleCaptureTest, MessagesAreHandledWhileTheChildRunsOnAfterClosingItsStreams) {
    const std::string name = "velumo-run-on-" + std::to_string(GetCurrentProcessId());
    const HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, (name + "-closed").c_str());
    RunOnWindow::release = CreateEventA(nullptr, TRUE, FALSE, (name + "-release").c_str());
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RunOnWindow::procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VelumoRunOnTest";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    // Posted once the child has closed its streams and the capture has had time
    // to see them end, so it arrives during the wait for the child's end.
    std::thread poster([&] {
        if (WaitForSingleObject(closed, 20000) != WAIT_OBJECT_0) return;
        Sleep(300);
        PostMessageA(window, WM_APP, 0, 0);
    });
    platform::win32::Win32Toolkit toolkit;
    RunOnWindow::capturing = true;
    const CapturedOutput captured = RunConsoleRedirect(service(), toolkit, simulatorCommand("run-on " + name), "R");
    RunOnWindow::capturing = false;
    poster.join();
    EXPECT_TRUE(RunOnWindow::handledWhileCapturing);
    EXPECT_EQ(captured.output, "");
    EXPECT_EQ(captured.errors, "");

    DestroyWindow(window);
    UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
    CloseHandle(RunOnWindow::release);
    CloseHandle(closed);
}

TEST(ConsoleStartTest, MissingProgramFailsWithItsCodeAndLeavesNoHandle) {
    uint32_t code = 0;
    service().startConsole(missingProgram(), code); // the first failure may set up lasting state
    const std::vector<DWORD> before = validHandles();
    EXPECT_EQ(service().startConsole(missingProgram(), code), nullptr);
    EXPECT_EQ(code, 2u);
    EXPECT_EQ(handlesOpenedSince(before), std::vector<DWORD>{});

    const std::string text = service().systemErrorText(2);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(std::string("\r\n \t").find(text.back()), std::string::npos) << text;
}

TEST(ConsoleStartTest, ManyRunsSucceedingAndFailingLeaveNoHandle) {
    uint32_t code = 0;
    runCaptured("silent");
    service().startConsole(missingProgram(), code);
    const std::vector<DWORD> before = validHandles();
    for (int run = 0; run < 250; ++run) {
        runCaptured("silent");
        ASSERT_EQ(service().startConsole(missingProgram(), code), nullptr);
    }
    EXPECT_EQ(handlesOpenedSince(before), std::vector<DWORD>{});
}

TEST(ConsoleAbandonTest, GrandchildHoldingThePipesDoesNotHoldUpTheCapture) {
    ProcessKiller grandchild;
    runCaptured("silent"); // the first run may set up lasting state
    const std::string name = "velumo-late-" + std::to_string(GetCurrentProcessId());
    const HANDLE write = CreateEventA(nullptr, TRUE, FALSE, (name + "-write").c_str());
    const HANDLE written = CreateEventA(nullptr, TRUE, FALSE, (name + "-written").c_str());
    const std::vector<DWORD> before = validHandles();
    uint32_t code = 0;
    std::unique_ptr<ConsoleChild> child = service().startConsole(simulatorCommand("grandchild-late " + name), code);
    ASSERT_NE(child, nullptr) << code;
    child->writeInputAndClose(std::string("R\x1A"));
    const DWORD grandchildId = collectGrandchildReport(*child);
    ASSERT_NE(grandchildId, 0u);
    grandchild.watch(grandchildId);
    EXPECT_FALSE(child->outputEnded());
    EXPECT_FALSE(child->errorEnded());

    // The child's end has been reported: with nothing new, waiting really waits.
    DWORD start = GetTickCount();
    child->waitForActivity(300);
    child->waitForActivity(300);
    EXPECT_GE(GetTickCount() - start, 500u);

    // A window message for this thread wakes it, so the caller can pump it.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // gives this thread its message queue
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    start = GetTickCount();
    child->waitForActivity(10000);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));

    // The grandchild writes while nobody waits. Giving up keeps what the read
    // in flight got, and cancels the reads, rather than waiting them out: it
    // is immediate and frees everything, although the grandchild still holds
    // both pipes.
    SetEvent(write);
    EXPECT_EQ(WaitForSingleObject(written, 10000), WAIT_OBJECT_0);
    start = GetTickCount();
    child->abandonStreams();
    std::string late;
    append(late, child->takeOutputReads());
    EXPECT_EQ(late, "late");
    child->takeErrorReads();
    EXPECT_TRUE(child->outputEnded());
    EXPECT_TRUE(child->errorEnded());
    child.reset();
    EXPECT_LT(GetTickCount() - start, 500u);
    EXPECT_EQ(handlesOpenedSince(before), std::vector<DWORD>{});
    CloseHandle(write);
    CloseHandle(written);
}

// A compiler that started a program of its own and runs on: ending the tree
// ends both, promptly, and leaves the streams ended.
TEST(ConsoleAbandonTest, EndingTheTreeEndsTheChildAndWhatItStarted) {
    ProcessKiller leftRunning;
    uint32_t code = 0;
    std::unique_ptr<ConsoleChild> child = service().startConsole(simulatorCommand("grandchild-loop 60"), code);
    ASSERT_NE(child, nullptr) << code;
    child->writeInputAndClose(std::string("R\x1A"));
    const DWORD grandchildId = collectGrandchildReport(*child, true);
    leftRunning.watch(grandchildId);
    HANDLE grandchild = OpenProcess(SYNCHRONIZE, FALSE, grandchildId);
    ASSERT_NE(grandchild, nullptr);
    EXPECT_FALSE(child->exited());

    // The whole close of the program waits for this.
    const DWORD start = GetTickCount();
    child->endTree();
    EXPECT_LT(GetTickCount() - start, 500u);
    EXPECT_TRUE(child->exited());
    EXPECT_EQ(WaitForSingleObject(grandchild, 5000), WAIT_OBJECT_0) << "the program it started still runs";
    CloseHandle(grandchild);
    child->takeOutputReads();
    child->takeErrorReads();
    EXPECT_TRUE(child->outputEnded());
    EXPECT_TRUE(child->errorEnded());
}

TEST(ConsoleAbandonTest, DestroyingWhileTheChildStillRunsDoesNotWait) {
    // The child waits for input that never comes while it holds both output
    // pipes; it ends by itself once the destroyed object has closed its input.
    uint32_t code = 0;
    std::unique_ptr<ConsoleChild> child = service().startConsole(simulatorCommand("echo-input"), code);
    ASSERT_NE(child, nullptr) << code;
    const DWORD start = GetTickCount();
    child.reset();
    EXPECT_LT(GetTickCount() - start, 5000u);
}
