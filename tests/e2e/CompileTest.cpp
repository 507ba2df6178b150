// The compile driven through the real main window, with the real pTeX through
// the platex.exe bridge and an editor of the tests that records its command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
// Shift-JIS source with a formula outside math mode on line 4 and an undefined
// control sequence on line 5. TeX puts the lines of its "Missing $" message
// between the first error and its context line "l.4 ...".
const std::string badDocument = "\\documentclass{jarticle}\n\\begin{document}\n日本語の文書\nx^2\n\\badmacro\n"
                                "\\end{document}\n";

HWND logOf(HWND main) { return childWindows(main, "ListBox").at(0); }

bool compileEnded(HWND main) {
    const std::string caption = windowText(main);
    return caption.rfind("Velumo - ", 0) == 0;
}

} // namespace

TEST(CompileE2E, FirstErrorIsSelectedAndTheEditorStartedAtItsLine) {
    Installation installation;
    installation.add("platex.exe");
    const std::string editor = installation.add("recording_editor.exe");
    const std::string document = installation.write("論文.tex", badDocument);
    installation.settings("Editor=" + editor + "\r\nErrorJump=1\r\nJumpOption=-n%l\r\n");

    Velumo velumo(installation, "\"" + document + "\"");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Compile TeXfile"));
    EXPECT_TRUE(waitUntil([&] { return windowText(main) == "コンパイル中"; }, 5000));
    ASSERT_TRUE(waitUntil([&] { return fileExists(installation.path("record.txt")); }, 60000));
    EXPECT_TRUE(waitUntil([&] { return compileEnded(main); }));

    const std::string jump = "\"" + editor + "\" -n4 \"" + document + "\"";
    EXPECT_EQ((std::vector<std::string>{jump}), readLines(installation.path("record.txt")));
    const std::vector<std::string> log = listLines(logOf(main));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(0u, log[0].rfind("This is e-pTeX", 0)) << log[0];
    const int selected = listSelection(logOf(main));
    ASSERT_GE(selected, 0);
    EXPECT_EQ("! Missing $ inserted.", log[static_cast<size_t>(selected)]);
    EXPECT_EQ("<inserted text> ", log[static_cast<size_t>(selected) + 1]);
    EXPECT_EQ("4", log[log.size() - 2]);
    EXPECT_EQ(jump, log.back());
    EXPECT_TRUE(fileExists(installation.path("論文.dvi")));
    EXPECT_TRUE(velumo.close());
}

TEST(CompileE2E, AMissingDocumentIsReported) {
    Installation installation;
    installation.settings("");
    Velumo velumo(installation, "missing");
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Compile TeXfile"));
    HWND message = velumo.waitForWindow("Velumo");
    ASSERT_NE(nullptr, message);
    EXPECT_EQ("missing.texは存在しません。", dialogText(message));
    command(message, IDOK);
    EXPECT_TRUE(waitUntil([&] { return windowText(main) == "Velumo - missing.tex"; }));
    EXPECT_TRUE(velumo.close());
}

TEST(CompileE2E, ASecondCompileDuringASlowOneRunsAfterIt) {
    Installation installation;
    const std::string compiler = installation.add("slow_compiler.exe");
    const std::string document = installation.write("paper.tex", "x");
    installation.settings("TeX=" + compiler + "\r\n");
    Velumo velumo(installation, '"' + document + '"');
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    HWND compile = childWithText(main, "Compile TeXfile");
    press(compile);
    ASSERT_TRUE(waitUntil([&] { return readLines(installation.path("compiles.txt")).size() == 1; }));
    press(compile); // the window answers while the compiler runs
    ASSERT_TRUE(waitUntil([&] { return readLines(installation.path("compiles.txt")).size() == 4; }, 20000));
    const std::vector<std::string> runs = readLines(installation.path("compiles.txt"));
    EXPECT_EQ(0u, runs[0].rfind("start", 0));
    EXPECT_EQ(0u, runs[1].rfind("end", 0)) << "the second compile did not start beside the first";
    EXPECT_EQ(0u, runs[2].rfind("start", 0));
    EXPECT_TRUE(waitUntil([&] { return compileEnded(main); }));
    EXPECT_EQ((std::vector<std::string>{"slow compile done"}), listLines(logOf(main)));
    EXPECT_TRUE(velumo.close());
}

// pTeX loops for ever on this document and prints nothing. Closing the window
// ends the compiler and everything it started, and then the program.
TEST(CompileE2E, ClosingDuringAnEndlessCompileEndsTheCompilerAndTheProgram) {
    Installation installation;
    installation.add("platex.exe");
    const std::string document = installation.write(
        "endless.tex", "\\documentclass{jarticle}\n\\begin{document}\n\\def\\a{\\a}\\a\n\\end{document}\n");
    installation.settings("ErrorJump=1\r\n");

    Velumo velumo(installation, '"' + document + '"');
    HWND main = velumo.mainWindow();
    ASSERT_NE(nullptr, main);
    press(childWithText(main, "Compile TeXfile"));
    // The Unix processes behind the bridge that this program started, pTeX among them.
    std::vector<std::string> compiler;
    const auto findCompiler = [&] {
        for (const DWORD bridge : childProcesses(velumo.processId()))
            for (const std::string& pid : bridgeUnixProcesses(bridge))
                if (std::find(compiler.begin(), compiler.end(), pid) == compiler.end()) compiler.push_back(pid);
        return std::any_of(compiler.begin(), compiler.end(),
                           [](const std::string& pid) { return unixCommandLine(pid).rfind("platex", 0) == 0; });
    };
    ASSERT_TRUE(waitUntil(findCompiler, 30000)) << "pTeX did not start";
    Sleep(1000);
    findCompiler();
    const DWORD start = GetTickCount();
    PostMessageA(main, WM_CLOSE, 0, 0);
    const bool ended = velumo.waitForExit(10000);
    const DWORD took = GetTickCount() - start;
    const auto running = [&] { return std::count_if(compiler.begin(), compiler.end(), unixProcessRunning); };
    const bool compilerGone = waitUntil([&] { return running() == 0; }, 5000);
    for (const std::string& pid : compiler) // nothing of this test's left behind, even on failure
        if (unixProcessRunning(pid)) killUnixProcess(pid);
    EXPECT_TRUE(ended);
    EXPECT_LT(took, 5000u);
    EXPECT_TRUE(compilerGone);
}

// Wine manages the program's windows, as it does unless told otherwise (the
// tests' prefix is told otherwise): then, without a window manager, each window
// the program hides waits up to 2 s for one to withdraw it.
struct ManagedByWine {
    static constexpr const char* key = "Software\\Wine\\AppDefaults\\Velumo.exe\\X11 Driver";
    ManagedByWine() {
        HKEY settings = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &settings, nullptr);
        RegSetValueExA(settings, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("Y"), 2);
        RegCloseKey(settings);
    }
    ~ManagedByWine() { RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "Managed"); }
};

// Closing the window ends the program and its compiler at once in every state
// of a compile, the starts of the editor and the viewer at its end included,
// and nothing starts after the close, without a window manager.
TEST(CompileE2E, ClosingEndsTheProgramPromptlyInEveryStateOfACompile) {
    const ManagedByWine managed;
    // Before the close, a row presses buttons 300 ms apart, as a user does, in
    // this copy or in another copy on the same document; waits until a file
    // beside the program has so many lines, or for a dialog; or rewrites the
    // settings file from outside. slow_viewer.exe takes 3 s to get ready.
    enum class Do { Press, PressInOther, Await, AwaitDialog, Rewrite };
    struct Step {
        Do what;
        const char* text = "";
        size_t lines = 1;
    };
    struct State {
        const char *name, *document, *settings;
        std::vector<Step> steps;
        DWORD settle = 500; // after the steps, before the close
    };
    const Step compile{Do::Press, "Compile TeXfile"}, compileInOther{Do::PressInOther, "Compile TeXfile"};
    const Step started{Do::Await, "compiles.txt"}, slowStarted{Do::Await, "viewer_starts.txt"};
    const Step endedAndOtherStarted{Do::Await, "compiles.txt", 3};
    const Step autoDviOn{Do::Rewrite, "ErrorJump=0\r\nAutoDVI=1\r\nUseDDE=0\r\n"};
    const char* const quiet = "ErrorJump=0\r\nAutoDVI=0\r\nUseDDE=0\r\n";
    const char* const slowEditor = "ErrorJump=1\r\nEditor=slow_viewer.exe\r\n";
    const char* const slowViewer = "AutoDVI=1\r\nDviWare=slow_viewer.exe\r\n";
    const char* const ddeViewerQuiet = "ErrorJump=0\r\nAutoDVI=0\r\nUseDDE=0\r\nDviWare=test_viewer.exe\r\n";
    const Step ddeAutoDviOn{Do::Rewrite, "ErrorJump=0\r\nAutoDVI=1\r\nUseDDE=0\r\nDviWare=test_viewer.exe\r\n"};
    const State states[] = {
        {"reading", "lines.tex", "", {compile, started}},
        {"grace after the compiler ended", "grandchild.tex", "", {compile, {Do::Await, "compiles.txt", 2}}},
        {"waiting for the lock", "lines.tex", "", {compileInOther, started, compile}},
        {"compiles waiting", "lines.tex", "", {compile, started, compile, compile}},
        {"a dialog open", "lines.tex", "", {compile, started, {Do::Press, "Open TeXfile"}, {Do::AwaitDialog}}},
        {"settings changed, compiles waiting", "lines.tex", quiet, {compile, started, autoDviOn, compile, compile}},
        {"a second compile's turn", "lines.tex", "", {compile, started, compileInOther, compile, endedAndOtherStarted}},
        {"the error jump's editor starting", "error.tex", slowEditor, {compile, slowStarted}},
        {"AutoDVI's viewer starting", "paper.tex", slowViewer, {compile, slowStarted}},
        {"the compiler reading its input, a DDE viewer, compiles waiting",
         "input.tex",
         ddeViewerQuiet,
         {compile, started, ddeAutoDviOn, compile, compile},
         0},
    };
    for (const State& state : states) {
        SCOPED_TRACE(state.name);
        Installation installation;
        installation.add("test_viewer.exe", "slow_viewer.exe");
        installation.add("test_viewer.exe");
        const std::string tex = "TeX=" + installation.add("slow_compiler.exe") + "\r\n";
        installation.settings(tex + state.settings);
        const std::string name = state.document;
        const std::string document = '"' + installation.write(name, "x") + '"';
        installation.write(name.substr(0, name.size() - 4) + ".dvi", "an earlier DVI");
        const auto lines = [&](const char* file) { return readLines(installation.path(file)).size(); };
        const auto notes = [&] {
            return readFile(installation.path("compiles.txt")) + readFile(installation.path("viewer_starts.txt"));
        };
        Velumo velumo(installation, document);
        std::unique_ptr<Velumo> other;
        HWND main = velumo.mainWindow();
        for (const Step& step : state.steps) {
            if (step.what == Do::PressInOther && !other) other = std::make_unique<Velumo>(installation, document);
            if (step.what == Do::Press || step.what == Do::PressInOther) {
                press(childWithText(step.what == Do::Press ? main : other->mainWindow(), step.text));
                Sleep(300);
            }
            ASSERT_TRUE(step.what != Do::Await || waitUntil([&] { return lines(step.text) >= step.lines; }));
            ASSERT_TRUE(step.what != Do::AwaitDialog || velumo.waitForSystemDialog());
            if (step.what == Do::Rewrite) installation.settings(tex + step.text);
        }
        Sleep(state.settle);
        const std::string notedBefore = notes();
        const DWORD start = GetTickCount();
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(velumo.waitForExit(5000));
        const DWORD took = GetTickCount() - start;
        EXPECT_LT(took, 500u);
        EXPECT_EQ(notedBefore, notes()) << "a compile, an editor or a viewer started after the close";
        EXPECT_NE(std::string::npos, readFile(installation.ini()).find("Left=")) << "the position was not written";
        EXPECT_TRUE(!other || other->close());
        for (const std::string& run : readLines(installation.path("compiles.txt"))) {
            const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, std::stoul(run.substr(run.find(' '))));
            EXPECT_TRUE(!process || WaitForSingleObject(process, 1000) == WAIT_OBJECT_0) << run;
            if (!process) continue;
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
        for (const DWORD companion : childProcesses(velumo.processId())) { // they keep running by design
            const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, companion);
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
        std::printf("[ closing ] %s: %lu ms\n", state.name, static_cast<unsigned long>(took));
    }
}
