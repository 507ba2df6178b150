#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "features/CompileTurn.h"
#include "support/World.h"

using namespace headless;

namespace {
const std::string document = "C:\\doc\\paper.tex";
const std::string pTeXOutput = "This is e-pTeX\r\n(./paper.tex\r\n! Undefined control sequence.\r\nl.12 \\badmacro\r\n"
                               "\r\n! Another error.\r\nl.20 x\r\n)";

struct CompileWorld : World {
    CompileWorld(const std::string& entries) {
        settings(entries);
        system.files.put(document, "\\documentclass{jarticle}");
        startWithArguments(document);
        ui.messages.clear();
    }
    HeadlessListBox& log() { return dynamic_cast<HeadlessListBox&>(main().control("ListBox1")); }
    void compile() { main().button("btnCompile").click(); }
};
} // namespace

TEST(Compile, ErrorLineSelectedAndEditorStartedAtItsLine) {
    CompileWorld world("TeX=C:\\tex\\platex.exe\r\nEditor=C:\\my ed\\ed.exe\r\nErrorJump=1\r\nJumpOption=-n%l +%l\r\n"
                       "AutoCompile=1\r\n");
    world.system.processes.run.outputReads = {pTeXOutput};
    std::string captionWhileRunning;
    bool timerWhileRunning = true;
    world.system.processes.run.whileRunning = [&] {
        captionWhileRunning = world.main().caption();
        timerWhileRunning = world.timer().enabled();
    };
    world.compile();

    EXPECT_EQ((std::vector<std::string>{"\"C:\\tex\\platex.exe\" paper.tex"}), world.system.processes.started);
    EXPECT_EQ("C:\\doc", world.system.files.currentDirectory);
    EXPECT_EQ((std::vector<std::string>{"R\x1A"}), world.system.processes.inputs);
    EXPECT_EQ("コンパイル中", captionWhileRunning);
    EXPECT_FALSE(timerWhileRunning);

    const std::string jump = "\"C:\\my ed\\ed.exe\" -n12 +12 \"C:\\doc\\paper.tex\"";
    EXPECT_EQ((std::vector<std::string>{"This is e-pTeX", "(./paper.tex", "! Undefined control sequence.",
                                        "l.12 \\badmacro", "", "! Another error.", "l.20 x", ")", "12", jump}),
              world.log().lines());
    EXPECT_EQ(2, world.log().selectedIndex());
    EXPECT_EQ((std::vector<ScriptedProcesses::Untracked::Start>{{jump, platform::ShowState::Normal}}),
              world.system.processes.untracked.started);
    EXPECT_EQ("Velumo - C:\\doc\\paper.tex", world.main().caption());
    EXPECT_TRUE(world.timer().enabled());
    EXPECT_TRUE(world.ui.messages.empty());
    EXPECT_EQ(0, world.system.processes.openHandles);
}

TEST(Compile, WithoutErrorJumpNothingIsSelectedOrStarted) {
    CompileWorld world("JumpOption=-n%l\r\n"); // "ErrorJump" absent reads as off here
    world.system.processes.run.outputReads = {pTeXOutput};
    world.main().item("Compile1").click();
    EXPECT_EQ(8, world.log().count());
    EXPECT_EQ(-1, world.log().selectedIndex());
    EXPECT_TRUE(world.system.processes.untracked.started.empty());
    EXPECT_FALSE(world.timer().enabled());
    EXPECT_EQ((std::vector<std::string>{"\"platex.exe\" paper.tex"}), world.system.processes.started);
}

TEST(Compile, ErrorOnTheLastLineOrWithoutANumberJumpsWithAnEmptyNumber) {
    for (const std::string& output : {std::string("x\n! Emergency stop."), std::string("! Bad.\nl.3&rm -rf 5")}) {
        CompileWorld world("ErrorJump=1\r\nJumpOption=-n%l\r\n");
        world.system.processes.run.outputReads = {output};
        world.compile();
        ASSERT_EQ(1u, world.system.processes.untracked.started.size()) << output;
        EXPECT_EQ("\"notepad.exe\" -n \"C:\\doc\\paper.tex\"", world.system.processes.untracked.started[0].commandLine);
        EXPECT_EQ("", world.log().line(world.log().count() - 2));
        EXPECT_TRUE(world.ui.messages.empty());
        EXPECT_EQ("Velumo - C:\\doc\\paper.tex", world.main().caption());
    }
}

TEST(Compile, EmptyOutputEmptiesTheLog) {
    CompileWorld world("ErrorJump=1\r\n");
    world.log().setLines({"old"});
    world.compile();
    EXPECT_EQ(0, world.log().count());
    EXPECT_TRUE(world.system.processes.untracked.started.empty());
}

TEST(Compile, MissingDocumentIsReportedAndNothingRuns) {
    CompileWorld world("AutoCompile=1\r\n");
    world.system.files.remove(document);
    world.log().setLines({"old"});
    world.compile();
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::Plain, world.ui.messages[0].kind);
    EXPECT_EQ("Velumo", world.ui.messages[0].caption);
    EXPECT_EQ("C:\\doc\\paper.texは存在しません。", world.ui.messages[0].text);
    EXPECT_TRUE(world.system.processes.started.empty());
    EXPECT_EQ(1, world.log().count());
    EXPECT_EQ("Velumo - C:\\doc\\paper.tex", world.main().caption());
    EXPECT_TRUE(world.timer().enabled());

    World none; // no document adopted yet
    none.settings("");
    none.create();
    none.form1->btnCompileClick();
    EXPECT_EQ("は存在しません。", none.ui.messages.at(0).text);
    EXPECT_EQ("Velumo - ", none.main().caption());
}

TEST(Compile, CompilerThatCannotStartIsReportedCaptionRestoredTimerLeftOff) {
    CompileWorld world("TeX=C:\\none\\platex.exe\r\nAutoCompile=1\r\n");
    world.system.processes.failures["\"C:\\none\\platex.exe\" paper.tex"] = 2;
    world.log().setLines({"previous"});
    world.timer().setEnabled(true);
    world.compile();
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::ErrorBox, world.ui.messages[0].kind);
    EXPECT_EQ("システムエラー。コード：2.\r\n指定されたファイルが見つかりません。.", world.ui.messages[0].text);
    EXPECT_EQ("Velumo - C:\\doc\\paper.tex", world.main().caption());
    EXPECT_FALSE(world.timer().enabled());
    EXPECT_EQ((std::vector<std::string>{"previous"}), world.log().lines());
    EXPECT_EQ(0, world.system.processes.openHandles);

    world.system.processes.failures.clear(); // the next compile works again
    world.compile();
    EXPECT_EQ(2u, world.system.processes.started.size());
    EXPECT_TRUE(world.timer().enabled());
}

// Requests keep coming: two during the first compile, one more during the
// compile that followed it. Each is served, one after the other.
TEST(Compile, ASecondCompileDuringACompileRunsAfterItNotBesideIt) {
    CompileWorld world("");
    size_t clickedDuring = 0;
    world.system.processes.run.whileRunning = [&] {
        const size_t running = world.system.processes.started.size();
        if (running > 2 || clickedDuring == running) return;
        clickedDuring = running;
        world.compile();
        if (running == 1) world.main().item("Compile1").click();
    };
    world.compile();
    EXPECT_EQ(3u, world.system.processes.started.size()) << "two requests during a compile give one more compile";
    EXPECT_EQ(1, world.system.processes.mostRunningAtOnce);
    EXPECT_EQ(0, world.system.processes.openHandles);
    EXPECT_EQ("Velumo - C:\\doc\\paper.tex", world.main().caption());
}

TEST(CompileTurn, OneLockPerFileAsWindowsComparesNames) {
    const std::string name = compileLockName("C:\\doc\\paper.tex");
    EXPECT_EQ(name, compileLockName("c:\\DOC\\PAPER.TEX"));
    EXPECT_NE(name, compileLockName("C:\\doc\\paper2.tex"));
    EXPECT_NE(compileLockName("C:\\ア.tex"), compileLockName("C:\\ヂ.tex")) << "a second byte is no letter";
    EXPECT_EQ(name.size(), compileLockName(std::string(300, 'x')).size());
    EXPECT_EQ(std::string::npos, name.find('\\'));
}

// Another copy of the program compiles the document, which this copy adopted
// under another spelling: the compile waits under the caption "コンパイル中",
// the window handling its messages, and runs once the other copy is done.
TEST(CompileTurn, ACompileWaitsWhileAnotherCopyCompilesTheSameDocument) {
    World world;
    world.settings("");
    world.system.files.put(document, "x");
    world.startWithArguments("C:\\doc\\sub\\..\\Paper");
    MemoryLocks& locks = world.system.locks;
    locks.heldElsewhere = {compileLockName("C:\\DOC\\PAPER.TEX")};
    std::vector<std::string> captions;
    bool messageHandled = false;
    locks.whileWaiting = [&] {
        captions.push_back(world.main().caption());
        world.ui.postedEvents.push_back([&] { messageHandled = true; });
        if (locks.waits == 3) locks.heldElsewhere.clear();
    };
    world.system.processes.run.whileRunning = [&] { EXPECT_EQ(1u, locks.held.size()) << "held while it runs"; };
    world.main().button("btnCompile").click();
    EXPECT_EQ((std::vector<std::string>(3, "コンパイル中")), captions);
    EXPECT_TRUE(messageHandled);
    EXPECT_EQ(1u, world.system.processes.started.size());
    EXPECT_TRUE(locks.held.empty());
    EXPECT_EQ("Velumo - C:\\doc\\sub\\..\\Paper.tex", world.main().caption());

    // Closed while it waits: the wait ends and nothing is compiled.
    locks.heldElsewhere = {compileLockName(document)};
    locks.whileWaiting = [&] { world.main().item("Exit1").click(); };
    world.main().button("btnCompile").click();
    EXPECT_EQ(1u, world.system.processes.started.size());
    EXPECT_TRUE(world.ui.terminated);
    EXPECT_TRUE(locks.held.empty());
}

// Started as "Velumo sub\paper" from C:\work: the first compile makes C:\work\sub
// current, and every later command still finds the document it adopted.
TEST(Compile, ARelativeDocumentIsFoundAfterTheCompileChangedTheFolder) {
    World world;
    world.settings("ErrorJump=1\r\nJumpOption=-n%l\r\nAutoCompile=1\r\n");
    world.system.files.put("C:\\work\\sub\\paper.tex", "x");
    world.system.files.currentDirectory = "C:\\work";
    world.startWithArguments("sub\\paper");
    world.system.processes.run.outputReads = {"! Bad.\r\nl.3 x\r\n"};
    world.main().button("btnCompile").click();
    world.main().button("btnCompile").click();
    world.main().button("btnEditTeX").click();

    EXPECT_TRUE(world.ui.messages.empty());
    EXPECT_EQ("Velumo - sub\\paper.tex", world.main().caption());
    EXPECT_EQ((std::vector<std::string>{"\"platex.exe\" paper.tex", "\"platex.exe\" paper.tex"}),
              world.system.processes.started);
    EXPECT_EQ("\"notepad.exe\" -n3 \"C:\\work\\sub\\paper.tex\"",
              world.system.processes.untracked.started.at(1).commandLine);
    EXPECT_EQ((std::vector<std::string>{"\"notepad.exe\" \"C:\\work\\sub\\paper.tex\""}),
              world.system.processes.companions.started);

    world.system.processes.run.outputReads = {};
    world.system.files.put("C:\\work\\sub\\paper.tex", "x", 0x5A000010);
    world.timer().elapse(); // saved, and the DVI is still missing
    EXPECT_EQ(3u, world.system.processes.started.size());
    world.system.files.put("C:\\work\\sub\\paper.dvi", "dvi");
    world.main().button("btnOpenDvi").click();
    EXPECT_EQ("\"dviout.exe\" \"C:\\work\\sub\\paper.dvi\"", world.system.processes.companions.started.back());
}

// The user opens another document while the compiler runs: the compile's
// error jump and its preview name the document that was compiled.
TEST(Compile, ErrorJumpAndPreviewNameTheDocumentThatWasCompiled) {
    for (const bool errorJump : {true, false}) {
        CompileWorld world(errorJump ? "ErrorJump=1\r\nAutoDVI=1\r\n" : "AutoDVI=1\r\n");
        world.system.files.put("C:\\doc\\paper.dvi", "dvi");
        world.system.processes.run.outputReads = {"! Bad.\r\nl.3 x\r\n"};
        world.system.processes.run.whileRunning = [&] {
            world.ui.openDialogAnswers.push_back("C:\\other\\next.tex");
            world.main().button("btnOpenTeX").click();
        };
        world.compile();
        EXPECT_EQ("Velumo - C:\\other\\next.tex", world.main().caption());
        if (errorJump) {
            EXPECT_EQ("\"notepad.exe\"  \"C:\\doc\\paper.tex\"",
                      world.system.processes.untracked.started.at(0).commandLine);
            EXPECT_TRUE(world.system.processes.companions.started.empty());
        } else {
            EXPECT_EQ((std::vector<std::string>{"\"dviout.exe\" \"C:\\doc\\paper.dvi\""}),
                      world.system.processes.companions.started);
        }
    }
}

// Once the window is closed during a compile, the compile asked for meanwhile
// is dropped and no command starts anything new.
TEST(Compile, NothingNewStartsOnceTheEndIsRequested) {
    CompileWorld world("");
    world.system.processes.run.whileRunning = [&] {
        world.compile();
        world.main().item("Exit1").click();
        world.main().button("btnEditTeX").click();
        world.timer().setEnabled(true);
        world.timer().elapse();
    };
    world.compile();
    EXPECT_EQ(1u, world.system.processes.started.size());
    EXPECT_TRUE(world.system.processes.companions.started.empty());
    EXPECT_TRUE(world.ui.terminated);
}

// The log shows while the output is still read for its files: a close then
// cuts the compile short too, and neither the error jump nor the automatic
// preview follows it.
TEST(Compile, AClosingWhileTheOutputIsReadStartsNoEditorOrViewer) {
    for (const char* settings : {"ErrorJump=1\r\n", "ErrorJump=0\r\nAutoDVI=1\r\n"}) {
        SCOPED_TRACE(settings);
        CompileWorld world(settings);
        world.system.processes.run.outputReads = {pTeXOutput};
        Watcher watcher;
        const CompileResult result =
            compileDocument(*world.app, watcher, adoptDocument(world.system.files, document),
                            [&](const text::TextLines&) { world.main().item("Exit1").click(); });
        EXPECT_TRUE(result.cutShort);
        EXPECT_FALSE(result.jump);
        EXPECT_FALSE(result.previewNext);
    }
}

// pTeX loops for ever on "\\def\\a{\\a}\\a": closing the window ends it and
// everything it started, keeps what it wrote, and starts nothing more, not
// even the viewer on the DVI an earlier compile left.
TEST(Compile, ClosingDuringAnEndlessCompileEndsTheCompilerAtOnce) {
    CompileWorld world("ErrorJump=1\r\nAutoDVI=1\r\n");
    world.system.files.put("C:\\doc\\paper.dvi", "dvi");
    world.system.processes.run.runsForever = true;
    world.system.processes.run.outputReads = {"! TeX capacity exceeded.\r\n"};
    world.system.processes.run.whileRunning = [&] { world.main().item("Exit1").click(); };
    world.compile();
    EXPECT_EQ(1, world.system.processes.endedTrees);
    EXPECT_EQ(0, world.system.processes.running);
    EXPECT_EQ(0, world.system.processes.openHandles);
    EXPECT_EQ((std::vector<std::string>{"! TeX capacity exceeded."}), world.log().lines());
    EXPECT_TRUE(world.system.processes.untracked.started.empty());
    EXPECT_TRUE(world.system.processes.companions.started.empty());
    EXPECT_TRUE(world.ui.terminated);
}

// Real pTeX output of documents of several files (tex-output/): the editor goes
// to the file TeX was reading at the first error, named by its full path; an
// error in a file of the TeX installation, or output without file marks, goes
// to the document.
TEST(Compile, ErrorJumpOpensTheFileWhereTheErrorIs) {
    const std::string folder = "C:\\doc one\\";
    struct Case {
        const char* recording;
        std::string file, line;
        std::string output = "! Undefined control sequence.\r\nl.12 \\badmacro\r\n";
    };
    for (const Case& c :
         {Case{"several-files.txt", folder + "mystyle.sty", "3"}, Case{"nested.txt", folder + "outer.tex", "6"},
          Case{"wrapped-name.txt",
               folder + "long\\a_rather_long_folder_name_for_chapters\\and_another_level_of_folders_"
                        "here\\third\\chapter_with_a_long_name.tex",
               "2"},
          Case{"shift-jis-names.txt", folder + "表.tex", "2"},
          Case{"installation-file.txt", folder + "paper.tex", "48"},
          Case{"no-file-marks", folder + "paper.tex", "12"},
          // A log made on Linux names files from the root, as Windows takes
          // them on the current drive.
          Case{"linux-paths", folder + "chapter.tex", "7",
               "(/doc one/paper.tex\r\n/doc one/chapter.tex:7: Undefined control sequence.\r\nl.7 \\x\r\n"}}) {
        SCOPED_TRACE(c.recording);
        World world;
        world.settings("Editor=ed.exe\r\nErrorJump=1\r\nJumpOption=-n%l\r\n");
        for (const char* name : {"paper.tex", "mystyle.sty", "chapter.tex", "outer.tex", "inner.tex", "表.tex"})
            world.system.files.put(folder + name, "x");
        world.system.files.put(c.file, "x");
        world.startWithArguments("\"" + folder + "paper.tex\"");
        std::ifstream recorded(std::string(VELUMO_TEX_OUTPUT_DIR) + "/" + c.recording, std::ios::binary);
        std::stringstream output;
        if (recorded)
            output << recorded.rdbuf();
        else
            output << c.output;
        world.system.processes.run.outputReads = {output.str()};
        world.main().button("btnCompile").click();

        const std::string jump = "\"ed.exe\" -n" + c.line + " \"" + c.file + "\"";
        ASSERT_EQ(1u, world.system.processes.untracked.started.size());
        EXPECT_EQ(jump, world.system.processes.untracked.started[0].commandLine);
        const std::vector<std::string> log = dynamic_cast<HeadlessListBox&>(world.main().control("ListBox1")).lines();
        EXPECT_EQ((std::vector<std::string>{c.line, jump}), std::vector<std::string>(log.end() - 2, log.end()));
    }
}

// Between compiles a double-click works on the last log, read as TeX wrote it
// (UTF-8 here, shown in the code page); during a compile it does nothing.
TEST(Compile, ADoubleClickReadsTheLastLogAsWrittenAndNothingDuringACompile) {
    CompileWorld world("Editor=ed.exe\r\nJumpOption=-n%l\r\n");
    world.system.files.put("C:\\doc\\第1章.tex", "");
    world.system.processes.run.outputReads = {"(./paper.tex (./\xe7\xac\xac"
                                              "1\xe7\xab\xa0.tex\n" // 第1章
                                              "LaTeX Warning: Citation `x' on page 1 undefined on input line 7.\n))"};
    world.compile();
    world.log().doubleClick(1);
    world.system.processes.run.whileRunning = [&] { world.log().doubleClick(1); };
    world.compile();
    const auto& started = world.system.processes.untracked.started;
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ("\"ed.exe\" -n7 \"C:\\doc\\第1章.tex\"", started[0].commandLine);
}

// Each line of the last log is drawn in its message's colour, and F4 and
// Shift+F4 step through the messages' first lines, the editor following as a
// double-click sends it; a warning that names no line is only selected. With
// nothing further a beep, and during a compile nothing at all.
TEST(Compile, F4StepsThroughTheLastLogsMessagesWhichAreDrawnByKind) {
    CompileWorld world("Editor=ed.exe\r\nJumpOption=-n%l\r\n");
    world.system.processes.run.outputReads = {"(./paper.tex\n"
                                              "! Undefined control sequence.\nl.4 \\foo\n\n"
                                              "LaTeX Warning: There were undefined references.\n"
                                              "Package hyperref Warning: Token not allowed\n"
                                              "(hyperref)                on input line 9.\n"
                                              "Underfull \\hbox (badness 10000) detected at line 12\n[][]\n)"};
    world.compile();
    using enum LineTint;
    std::vector<LineTint> tints;
    for (int line = 0; line < world.log().count(); ++line)
        tints.push_back(world.log().tint(line));
    EXPECT_EQ((std::vector<LineTint>{Plain, Error, Error, Error, Warning, Warning, Warning, Quiet, Quiet, Plain}), tints);
    EXPECT_EQ(1, world.log().redraws);

    const auto& started = world.system.processes.untracked.started;
    const auto press = [&](const char* key, int selected, size_t editors) {
        EXPECT_TRUE(world.main().pressKey(key));
        EXPECT_EQ(selected, world.log().selectedIndex()) << key;
        EXPECT_EQ(editors, started.size()) << key;
    };
    press("F4", 1, 1);
    EXPECT_EQ("\"ed.exe\" -n4 \"C:\\doc\\paper.tex\"", started.back().commandLine);
    press("F4", 4, 1);
    press("F4", 5, 2);
    EXPECT_EQ("\"ed.exe\" -n9 \"C:\\doc\\paper.tex\"", started.back().commandLine);
    press("F4", 7, 3);
    EXPECT_EQ("\"ed.exe\" -n12 \"C:\\doc\\paper.tex\"", started.back().commandLine);
    EXPECT_EQ(0, world.ui.beeps);
    press("F4", 7, 3);
    EXPECT_EQ(1, world.ui.beeps);
    world.log().select(6);
    press("Shift+F4", 5, 4);
    press("Shift+F4", 4, 4);
    press("Shift+F4", 1, 5);
    press("Shift+F4", 1, 5);
    EXPECT_EQ(2, world.ui.beeps);

    world.log().select(-1);
    world.system.processes.run.whileRunning = [&] { world.main().pressKey("F4"); };
    world.compile();
    EXPECT_EQ(-1, world.log().selectedIndex());
    EXPECT_EQ(2, world.ui.beeps);
    EXPECT_EQ(5u, started.size());
}
