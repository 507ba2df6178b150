#include <gtest/gtest.h>

#include "support/World.h"

using namespace headless;

namespace {
const std::string firstRunText = "初回起動です。エディタ、TeXコンパイラ、DVIウェアを設定してください。";

ModalResult pressOk(HeadlessForm&) { return ModalResult::OK; }
} // namespace

TEST(Startup, FirstStartWithOkWritesAllSettingsThenAdoptsTheArgument) {
    World world;
    world.ui.onModal["Form2"] = pressOk;
    world.startWithArguments("paper");

    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::Typed, world.ui.messages[0].kind);
    EXPECT_EQ(MessageType::Information, world.ui.messages[0].type);
    EXPECT_EQ(unsigned(mbOK), world.ui.messages[0].buttons);
    EXPECT_EQ(firstRunText, world.ui.messages[0].text);
    EXPECT_EQ("[Option]\r\nEditor=notepad.exe\r\nTeX=platex.exe\r\nDviWare=dviout.exe\r\nAutoCompile=0\r\n"
              "CheckInterval=1000\r\nFileExt=log,aux\r\nErrorJump=1\r\nJumpOption=\r\nUseDDE=0\r\nAutoDVI=0\r\n"
              "FocusTeX=0\r\n",
              world.ini());
    EXPECT_EQ("paper.tex", world.form1->document().TeXFileName);
    EXPECT_EQ("paper.dvi", world.form1->document().DviFileName);
    EXPECT_EQ("Velumo - paper.tex", world.main().caption());
    EXPECT_FALSE(world.ui.terminated);
}

TEST(Startup, FirstStartCancelledEndsWithOnlyThePositionStored) {
    World world;
    world.ui.openDialogAnswers.push_back("C:\\doc\\never.tex");
    world.start();
    EXPECT_EQ(1u, world.options().showModalCount);
    EXPECT_TRUE(world.ui.terminated);
    EXPECT_EQ("[Option]\r\nTop=0\r\nLeft=0\r\n", world.ini());
    EXPECT_EQ(1u, world.ui.messages.size()) << "no further dialogs once the program is ending";
    EXPECT_TRUE(world.ui.openDialogStarts.empty());

    World next; // the next start finds the file: no first-run message, readers' defaults
    next.system.files = world.system.files;
    next.ui.openDialogAnswers.push_back("C:\\doc\\paper.tex");
    next.start();
    EXPECT_TRUE(next.ui.messages.empty());
    EXPECT_EQ("notepad.exe", next.form2->controls().Edit1.text());
    EXPECT_EQ("Velumo - C:\\doc\\paper.tex", next.main().caption());
}

TEST(Startup, RefusedFirstWriteIsReportedAndTheProgramStillEnds) {
    World world;
    world.system.files.readOnlyFolders.insert("C:\\Velumo");
    world.start(); // the options dialog is cancelled; the close cannot store the position
    ASSERT_EQ(2u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::ErrorBox, world.ui.messages[1].kind);
    EXPECT_EQ("Velumo", world.ui.messages[1].caption);
    EXPECT_EQ("C:\\Velumo\\Velumo.ini に書き込めません.", world.ui.messages[1].text);
    EXPECT_TRUE(world.ui.terminated);
}

TEST(Startup, RefusedWriteOnOkEndsTheStartUpStepsAndShowsTheWindow) {
    World world;
    world.system.files.readOnlyFolders.insert("C:\\Velumo");
    world.ui.onModal["Form2"] = pressOk;
    world.startWithArguments("paper");
    ASSERT_EQ(2u, world.ui.messages.size());
    EXPECT_EQ("C:\\Velumo\\Velumo.ini に書き込めません.", world.ui.messages[1].text);
    EXPECT_FALSE(world.ui.terminated);
    EXPECT_TRUE(world.main().visible());
    EXPECT_EQ("", world.form1->document().TeXFileName);
    EXPECT_EQ("Velumo", world.main().caption());
}

TEST(Startup, StoredTimerIsApplied) {
    World world;
    world.settings("AutoCompile=1\r\nCheckInterval=$20\r\n");
    world.create();
    EXPECT_TRUE(world.timer().enabled());
    EXPECT_EQ(32, world.timer().interval());

    World plain;
    plain.settings("Editor=x\r\n");
    plain.create();
    EXPECT_EQ(0, plain.main().top());
    EXPECT_EQ(0, plain.main().left());
    EXPECT_FALSE(plain.timer().enabled());
    EXPECT_EQ(1000, plain.timer().interval());
}

// A 1280 x 1024 primary monitor (task bar 40 pixels high), with or without a
// second one; the window is 267 x 269 under a title bar 26 pixels high.
TEST(Startup, AStoredPositionIsKeptWhileTheTitleBarIsOnAMonitor) {
    using Monitor = ScriptedDesktop::Monitor;
    const Monitor primary{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
    const Monitor left{{-1920, 0, 0, 1080}, {-1920, 0, 0, 1040}};
    const Monitor right{{1280, 0, 3200, 1200}, {1280, 0, 3200, 1160}};
    struct Case {
        std::vector<Monitor> monitors;
        int left, top;
        int expectedLeft, expectedTop;
    };
    for (const Case& c :
         {Case{{primary}, 100, 200, 100, 200}, Case{{primary}, 1279, 1023, 1279, 1023},
          Case{{primary}, 2600, 1500, 1013, 715}, Case{{primary}, -1800, 0, 0, 0}, Case{{primary}, 3000, -40, 1013, 0},
          Case{{primary}, 500, -26, 500, 0}, Case{{primary}, 500, -25, 500, -25},
          Case{{primary, left}, -1800, 100, -1800, 100}, Case{{primary, left}, -2500, 1200, -1920, 771},
          Case{{primary, right}, 2600, 1500, 2600, 891}, Case{{primary, right}, 3300, 20, 2933, 20}}) {
        World world;
        world.system.desktop.monitors = c.monitors;
        world.settings("Top=" + std::to_string(c.top) + "\r\nLeft=" + std::to_string(c.left) + "\r\n");
        world.startWithArguments("paper");
        EXPECT_EQ(c.expectedLeft, world.main().left()) << c.left << "," << c.top;
        EXPECT_EQ(c.expectedTop, world.main().top()) << c.left << "," << c.top;

        world.main().item("Exit1").click(); // the position the window has is what is stored
        EXPECT_EQ("[Option]\r\nTop=" + std::to_string(c.expectedTop) + "\r\nLeft=" + std::to_string(c.expectedLeft) +
                      "\r\n",
                  world.ini());
    }
}

TEST(Startup, OnlyTheFirstArgumentCountsAndStaysAsGiven) {
    World world;
    world.settings("");
    world.startWithArguments("\"sub dir\\my paper.texi\" other.tex");
    EXPECT_EQ("sub dir\\my paper.tex", world.form1->document().TeXFileName);
    EXPECT_EQ("sub dir\\my paper.dvi", world.form1->document().DviFileName);
    EXPECT_TRUE(world.ui.openDialogStarts.empty());
}

TEST(Startup, OpenDialogCancelledAtStartEndsAfterStoringThePosition) {
    World world;
    world.settings("Editor=vi\r\n");
    world.create();
    world.main().moveTo(120, 80);
    world.main().show();
    EXPECT_EQ(1u, world.ui.openDialogStarts.size());
    EXPECT_TRUE(world.ui.terminated);
    EXPECT_EQ("[Option]\r\nEditor=vi\r\nTop=80\r\nLeft=120\r\n", world.ini());
}

TEST(OpenCommand, ChoosingAdoptsTheFileAndCancelFromTheMenuChangesNothing) {
    World world;
    world.settings("");
    world.ui.openDialogAnswers = {std::string("C:\\doc\\manual.texi"), std::nullopt};
    world.start();
    EXPECT_EQ("C:\\doc\\manual.tex", world.form1->document().TeXFileName);
    EXPECT_EQ("C:\\doc\\manual.dvi", world.form1->document().DviFileName);

    world.main().item("Open1").click();
    EXPECT_FALSE(world.ui.terminated);
    EXPECT_EQ("Velumo - C:\\doc\\manual.tex", world.main().caption());
    EXPECT_EQ("C:\\doc\\manual.texi", world.ui.openDialogStarts.back()) << "starts from the last choice";

    world.ui.openDialogAnswers.push_back("D:\\b.tex");
    world.main().button("btnOpenTeX").click();
    EXPECT_EQ("Velumo - D:\\b.tex", world.main().caption());
}

TEST(Closing, ExitAndCloseBoxStoreTopThenLeftAndEndTheProgram) {
    World world;
    world.settings("Top=5\r\nLeft=6\r\n");
    world.startWithArguments("a.tex");
    world.main().moveTo(300, 200);
    world.system.profile.writtenKeys.clear();
    world.main().item("Exit1").click();
    EXPECT_EQ((std::vector<std::string>{"Top", "Left"}), world.system.profile.writtenKeys);
    EXPECT_EQ("[Option]\r\nTop=200\r\nLeft=300\r\n", world.ini());
    EXPECT_TRUE(world.ui.terminated);

    // Once the end is requested, dialogs close at once as if cancelled.
    EXPECT_EQ(ModalResult::No, world.app->messageDialog("q", MessageType::Confirmation, mbYes | mbNo));
    EXPECT_EQ(ModalResult::Cancel, world.app->messageDialog("q", MessageType::Confirmation, mbYes | mbNo | mbCancel));
    world.main().item("Option").click();
    EXPECT_EQ(0, world.options().showModalCount);
}

TEST(Closing, RefusedPositionWriteIsReportedAndTheProgramEnds) {
    World world;
    world.settings("");
    world.startWithArguments("a.tex");
    world.system.files.readOnlyFolders.insert("C:\\Velumo");
    world.main().close();
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::ErrorBox, world.ui.messages[0].kind);
    EXPECT_TRUE(world.ui.terminated);
}
