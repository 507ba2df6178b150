#include <gtest/gtest.h>

#include "support/World.h"

using namespace headless;

namespace {
const std::string document = "C:\\doc\\paper.tex";
const std::string dvi = "C:\\doc\\paper.dvi";

struct CompanionWorld : World {
    CompanionWorld(const std::string& entries, bool withDvi = true) {
        settings(entries);
        system.files.put(document, "x");
        if (withDvi) system.files.put(dvi, "dvi");
        startWithArguments(document);
        ui.messages.clear();
    }
    ScriptedDesktop& desktop() { return system.desktop; }
    ScriptedProcesses::Companions& companions() { return system.processes.companions; }
    void edit() { main().button("btnEditTeX").click(); }
    void preview() { main().button("btnOpenDvi").click(); }
};
} // namespace

TEST(Edit, StartsTheEditorOnTheDocumentAndRemembersItsFirstWindow) {
    CompanionWorld world("Editor=C:\\Program Files\\ed\\ed.exe\r\n");
    world.companions().windowsOf["C:\\Program Files\\ed\\ed.exe"] = 2;
    world.edit();
    EXPECT_EQ((std::vector<std::string>{"\"C:\\Program Files\\ed\\ed.exe\" \"C:\\doc\\paper.tex\""}),
              world.companions().started);
    EXPECT_EQ((std::vector<int>{5000}), world.companions().idleWaits);
    EXPECT_EQ(world.desktop().windows[0].handle, world.form1->companions().EditorWindow)
        << "the first in enumeration order";
    EXPECT_EQ(0, world.system.processes.openHandles);

    const WindowHandle first = world.form1->companions().EditorWindow;
    world.main().item("Edit1").click();
    EXPECT_EQ(2u, world.companions().started.size()) << "every edit starts a new editor";
    EXPECT_NE(first, world.form1->companions().EditorWindow);
}

TEST(Edit, RefusedStartShowsTheCodeAndKeepsTheEarlierWindow) {
    CompanionWorld world("Editor=C:\\none\\ed.exe\r\n");
    world.form1->companions().EditorWindow = 77;
    world.companions().failures["C:\\none\\ed.exe"] = 2;
    world.edit();
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::Plain, world.ui.messages[0].kind);
    EXPECT_EQ("実行できません(エラーコード2)", world.ui.messages[0].text);
    EXPECT_EQ(77u, world.form1->companions().EditorWindow);

    world.companions().failures["C:\\none\\ed.exe"] = 0xC0000005;
    world.edit();
    EXPECT_EQ("実行できません(エラーコード3221225477)", world.ui.messages.back().text);
}

TEST(Edit, ACompanionWithoutAWindowIsRememberedAsNone) {
    CompanionWorld world("");
    world.preview(); // the viewer and the first editor open windows, found by the search
    world.edit();
    ASSERT_NE(0u, world.form1->companions().ViewerWindow);
    ASSERT_NE(0u, world.form1->companions().EditorWindow);
    world.companions().windowsOf["notepad.exe"] = 0;
    world.edit();
    EXPECT_EQ(0u, world.form1->companions().EditorWindow)
        << "neither the first editor's window nor the viewer's from an earlier search";

    World none;
    none.settings("");
    none.create();
    none.form1->btnEditTeXClick();
    EXPECT_EQ("\"notepad.exe\" \"\"", none.system.processes.companions.started.at(0));
}

// The window answers while the editor gets ready; a preview asked for then
// runs once the edit is done, so its focus step finds the new editor.
TEST(Edit, ACommandAskedForWhileTheEditorGetsReadyRunsAfterTheEdit) {
    CompanionWorld world("FocusTeX=1\r\n");
    world.companions().whileGettingReady = [&] { world.ui.postedEvents.push_back([&] { world.preview(); }); };
    world.edit();
    const std::string editor = std::to_string(world.form1->companions().EditorWindow);
    EXPECT_EQ((std::vector<std::string>{"foreground " + editor, "active " + editor}), world.desktop().focusCalls);

    // The exit is never held back: a compile asked for just before it never starts.
    world.companions().whileGettingReady = [&] {
        world.ui.postedEvents.push_back([&] { world.main().button("btnCompile").click(); });
        world.ui.postedEvents.push_back([&] { world.main().item("Exit1").click(); });
    };
    world.edit();
    EXPECT_TRUE(world.ui.terminated);
    EXPECT_TRUE(world.system.processes.started.empty());
}

// A command asked for while a program that a command started gets ready runs
// once that command is done, and none runs once the window is closed: no
// program starts while another gets ready, nor after the close.
TEST(Edit, CommandsAskedForWhileAProgramGetsReadyAreHeldBack) {
    using Act = std::function<void(CompanionWorld&)>;
    const Act edit = [](CompanionWorld& world) { world.edit(); };
    const Act compile = [](CompanionWorld& world) { world.main().button("btnCompile").click(); };
    const Act exit = [](CompanionWorld& world) { world.main().item("Exit1").click(); };
    const Act openErrorLine = [](CompanionWorld& world) {
        dynamic_cast<HeadlessListBox&>(world.main().control("ListBox1")).doubleClick(1);
    };
    const std::string editor = "\"ed.exe\" \"C:\\doc\\paper.tex\"", jump = "\"ed.exe\" -n12 \"C:\\doc\\paper.tex\"";
    struct Case {
        const char* what;
        const char* settings;
        Act command;
        std::vector<Act> askedMeanwhile;
        std::vector<std::string> starts;
    };
    const Case cases[] = {
        {"a double-click while the editor gets ready", "", edit, {openErrorLine}, {editor, jump}},
        {"an edit and a double-click around a close", "", edit, {edit, exit, openErrorLine}, {editor}},
        {"an edit while the error jump's editor gets ready", "ErrorJump=1\r\n", compile, {edit}, {jump, editor}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CompanionWorld world("Editor=ed.exe\r\nJumpOption=-n%l\r\n" + std::string(c.settings));
        world.system.processes.run.outputReads = {"(./paper.tex\r\n! Undefined control sequence.\r\nl.12 \\x\r\n)"};
        compile(world);                  // the log to double-click on
        std::vector<std::string> starts; // "!" marks a start while another program gets ready
        world.companions().onStart = world.system.processes.untracked.onStart = [&](const std::string& commandLine) {
            starts.push_back((world.form1->companions().waiting() ? "! " : "") + commandLine);
        };
        world.companions().whileGettingReady = [&] {
            for (const Act& act : c.askedMeanwhile)
                world.ui.postedEvents.push_back([&world, act] { act(world); });
        };
        c.command(world);
        EXPECT_EQ(c.starts, starts);
    }
}

TEST(Preview, StartsTheViewerThenBringsItForward) {
    CompanionWorld world("DviWare=C:\\dviout\\dviout.exe\r\n");
    world.preview();
    EXPECT_EQ((std::vector<std::string>{"\"C:\\dviout\\dviout.exe\" \"C:\\doc\\paper.dvi\""}),
              world.companions().started);
    const WindowHandle viewer = world.form1->companions().ViewerWindow;
    ASSERT_NE(0u, viewer);
    EXPECT_EQ(500, world.desktop().slept);
    EXPECT_TRUE(world.desktop().focusCalls.empty());

    world.main().item("Preview1").click();
    EXPECT_EQ(1u, world.companions().started.size());
    const std::string v = std::to_string(viewer);
    EXPECT_EQ((std::vector<std::string>{"foreground " + v, "active " + v}), world.desktop().focusCalls);
    EXPECT_TRUE(world.system.dde.executes.empty());
    EXPECT_EQ(1000, world.desktop().slept);
}

TEST(Preview, AViewerClosedOrDisabledIsStartedAgain) {
    CompanionWorld world("");
    world.preview();
    world.desktop().closeWindow(world.form1->companions().ViewerWindow);
    world.preview();
    EXPECT_EQ(2u, world.companions().started.size());
    world.desktop().disableWindow(world.form1->companions().ViewerWindow);
    world.preview();
    EXPECT_EQ(3u, world.companions().started.size());
}

TEST(Preview, FocusGoesBackToTheEditorAfterEveryShowing) {
    CompanionWorld world("FocusTeX=1\r\nDviWare=C:\\none.exe\r\n");
    world.preview(); // no editor yet: the focus step is given none
    EXPECT_EQ((std::vector<std::string>{"foreground 0", "active 0"}), world.desktop().focusCalls);

    world.companions().failures["C:\\none.exe"] = 2;
    world.desktop().closeWindow(world.form1->companions().ViewerWindow);
    world.edit();
    world.desktop().focusCalls.clear();
    world.preview();
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ("実行できません(エラーコード2)", world.ui.messages[0].text);
    const std::string e = std::to_string(world.form1->companions().EditorWindow);
    EXPECT_EQ((std::vector<std::string>{"foreground " + e, "active " + e}), world.desktop().focusCalls);
    EXPECT_EQ(1000, world.desktop().slept) << "the pause comes after a failed start too";
}

TEST(PreviewDde, ARunningViewerIsToldToOpenTheFileAgain) {
    CompanionWorld world("UseDDE=1\r\n");
    world.system.dde.serverAnswers = true;
    world.preview(); // the first preview always starts the viewer
    EXPECT_TRUE(world.system.dde.executes.empty());
    world.preview();
    EXPECT_EQ(1u, world.companions().started.size());
    EXPECT_EQ((std::vector<std::string>{"windvi|windvi"}), world.system.dde.connections);
    const std::string text = "[FileOpen(\"C:\\doc\\paper.dvi\")]";
    EXPECT_EQ((std::vector<ScriptedDde::Execute>{{text + std::string(1, '\0'), 1}}), world.system.dde.executes);
    EXPECT_EQ(0, world.system.dde.openConversations);
    EXPECT_TRUE(world.system.dde.liveStrings.empty());
    EXPECT_TRUE(world.desktop().focusCalls.empty()) << "DDE does not bring the viewer forward";
    EXPECT_EQ(1000, world.desktop().slept);
}

TEST(PreviewDde, APathWithBlanksAndDoubleBytesGoesInUnchangedInTheConversationsFormat) {
    World world;
    world.settings("UseDDE=1\r\n");
    world.system.files.put("C:\\my docs\\表\\論文.tex", "x");
    world.system.files.put("C:\\my docs\\表\\論文.dvi", "x");
    world.startWithArguments("\"C:\\my docs\\表\\論文.tex\"");
    world.system.dde.serverAnswers = true;
    world.system.dde.format = 0xC001;
    world.form1->btnOpenDviClick();
    world.form1->btnOpenDviClick();
    ASSERT_EQ(1u, world.system.dde.executes.size());
    EXPECT_EQ(std::string("[FileOpen(\"C:\\my docs\\表\\論文.dvi\")]") + '\0', world.system.dde.executes[0].data);
    EXPECT_EQ(0xC001u, world.system.dde.executes[0].format);
}

TEST(PreviewDde, NobodyAnsweringStartsWindviOnceAndTriesAgain) {
    CompanionWorld world("UseDDE=1\r\n");
    world.preview();
    world.system.processes.untracked.onStart = [&](const std::string&) { world.system.dde.serverAnswers = true; };
    world.preview();
    EXPECT_EQ((std::vector<ScriptedProcesses::Untracked::Start>{{"windvi windvi", platform::ShowState::MinNoActivate}}),
              world.system.processes.untracked.started);
    EXPECT_EQ(2, world.system.dde.connectAttempts);
    EXPECT_EQ(1u, world.system.dde.executes.size());

    CompanionWorld refused("UseDDE=1\r\n");
    refused.preview();
    refused.system.processes.untracked.starts = false; // windvi cannot be started either
    refused.preview();
    EXPECT_EQ(1, refused.system.dde.connectAttempts) << "no second attempt after a failed start";
    EXPECT_TRUE(refused.system.dde.executes.empty());
    EXPECT_TRUE(refused.system.dde.liveStrings.empty());
    EXPECT_TRUE(refused.ui.messages.empty());
    EXPECT_EQ(1000, refused.desktop().slept);
}

TEST(PreviewDde, AFailedDataHandleSendsNothingAndStillEndsTheConversation) {
    CompanionWorld world("UseDDE=1\r\n");
    world.system.dde.serverAnswers = true;
    world.system.dde.dataFails = true;
    world.preview();
    world.preview();
    EXPECT_TRUE(world.system.dde.executes.empty());
    EXPECT_EQ(0, world.system.dde.openConversations);
    EXPECT_TRUE(world.system.dde.liveStrings.empty());
}

TEST(PreviewMissingDvi, TheQuestionOffersACompile) {
    CompanionWorld world("", false);
    world.ui.messageAnswers = {ModalResult::No};
    world.preview();
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageType::Confirmation, world.ui.messages[0].type);
    EXPECT_EQ(unsigned(mbYes | mbNo | mbCancel), world.ui.messages[0].buttons);
    EXPECT_EQ("C:\\doc\\paper.dviは存在しません。コンパイルしますか？", world.ui.messages[0].text);
    EXPECT_TRUE(world.system.processes.started.empty());
    EXPECT_EQ(0, world.desktop().slept);

    world.ui.messageAnswers = {ModalResult::Yes};
    world.preview();
    EXPECT_EQ(1u, world.system.processes.started.size());
    EXPECT_TRUE(world.companions().started.empty());
}

TEST(AutoDvi, ACleanCompileShowsTheDviAndAnErrorJumpDoesNot) {
    CompanionWorld world("AutoDVI=1\r\nErrorJump=1\r\n");
    world.system.processes.companions.windowsOf["dviout.exe"] = 1;
    world.system.processes.run.outputReads = {"fine\r\n"};
    world.main().button("btnCompile").click();
    EXPECT_EQ(1u, world.companions().started.size());
    EXPECT_NE(0u, world.form1->companions().ViewerWindow);

    world.system.processes.run.outputReads = {"! Bad.\r\nl.2 x\r\n"};
    world.main().button("btnCompile").click();
    EXPECT_EQ(1u, world.companions().started.size()) << "no preview after an error jump";

    CompanionWorld off("AutoDVI=0\r\n");
    off.main().button("btnCompile").click();
    EXPECT_TRUE(off.companions().started.empty());
}

TEST(AutoDvi, PreviewAndCompileNestUntilTheUserSaysNo) {
    CompanionWorld world("AutoDVI=1\r\n", false);
    world.ui.messageAnswers = {ModalResult::Yes, ModalResult::Yes, ModalResult::Cancel};
    world.preview();
    EXPECT_EQ(3u, world.ui.messages.size()) << "asked again while the compile makes no DVI";
    EXPECT_EQ(2u, world.system.processes.started.size());
    EXPECT_EQ(1, world.system.processes.mostRunningAtOnce);
    EXPECT_EQ("Velumo - C:\\doc\\paper.tex", world.main().caption());
}

TEST(DdeStart, InitialisationErrorTexts) {
    EXPECT_EQ("DDE 実行時にメモリ不足エラーが発生しました", ddeInitializeErrorText(0x4007));
    EXPECT_EQ("DDE 実行時にメモリ不足エラーが発生しました", ddeInitializeErrorText(0x4008));
    EXPECT_EQ("DDE エラー ($0400A) のため対話を確立できません", ddeInitializeErrorText(0x400A));
    EXPECT_EQ("DDE がエラーを返しました ($04006)", ddeInitializeErrorText(0x4006));
}
