#include <gtest/gtest.h>

#include "support/World.h"

using namespace headless;

namespace {
const std::string positiveText = "0より大きい整数を入力してください。";

struct OptionsWorld : World {
    OptionsWorld(const std::string& entries = "Top=0\r\n") {
        settings(entries);
        startWithArguments("paper");
        ui.messages.clear();
    }
    // Shows the options dialog; the user acts, then presses the given button.
    void openOptions(std::function<void(HeadlessForm&)> act, ModalResult answer = ModalResult::OK) {
        ui.onModal["Form2"] = [act, answer](HeadlessForm& form) {
            act(form);
            form.button(answer == ModalResult::OK ? "BitBtn1" : "BitBtn2").click();
            return ModalResult::None;
        };
        main().item("Option").click();
    }
};
} // namespace

TEST(Options, WithoutSettingsTheDialogShowsTheDefaults) {
    World world;
    world.create();
    TForm2::Controls& f = world.form2->controls();
    EXPECT_EQ("notepad.exe", f.Edit1.text());
    EXPECT_EQ("platex.exe", f.Edit3.text());
    EXPECT_EQ("dviout.exe", f.Edit4.text());
    EXPECT_EQ("1000", f.edtCheckInterval.text());
    EXPECT_EQ("log,aux", f.Edit2.text());
    EXPECT_EQ("", f.edtJumpOption.text());
    EXPECT_TRUE(f.chkErrorJump.checked());
    EXPECT_FALSE(f.chkAutoCompile.checked() || f.chkAutoDVI.checked() || f.chkUseDDE.checked() ||
                 f.chkFocusTeX.checked());
    EXPECT_EQ(0, f.PageControl1.activePage());
}

// Another copy of the program, or the user with a text editor, changes the
// file while the program runs: the dialog shows the file as it is then, and OK
// writes back what it showed.
TEST(Options, EachOpeningShowsTheFileAsStoredThen) {
    OptionsWorld world("CheckInterval=0x7D0\r\nErrorJump=0\r\nUseDDE=2\r\nEditor=C:\\表\\ed.exe\r\n");
    EXPECT_EQ("2000", world.form2->controls().edtCheckInterval.text());
    EXPECT_FALSE(world.form2->controls().chkErrorJump.checked());
    EXPECT_TRUE(world.form2->controls().chkUseDDE.checked());
    EXPECT_EQ("C:\\表\\ed.exe", world.form2->controls().Edit1.text());

    world.settings("TeX=C:\\tex\\platex.exe\r\nJumpOption=-n%l\r\nCheckInterval=0\r\nUseDDE=1\r\n");
    std::string shownTeX;
    world.openOptions([&](HeadlessForm& form) { shownTeX = form.edit("Edit3").text(); });
    EXPECT_EQ("C:\\tex\\platex.exe", shownTeX);
    EXPECT_EQ((std::vector<std::string>{positiveText}), world.messageTexts()) << "a stored interval below 1";
    EXPECT_EQ("[Option]\r\nTeX=C:\\tex\\platex.exe\r\nJumpOption=-n%l\r\nCheckInterval=1000\r\nUseDDE=1\r\n"
              "Editor=notepad.exe\r\nDviWare=dviout.exe\r\nAutoCompile=0\r\nFileExt=log,aux\r\nErrorJump=1\r\n"
              "AutoDVI=0\r\nFocusTeX=0\r\n",
              world.ini());
}

// Every option goes from the file into its control and back unchanged, in the
// file's order: the binding table names each setting once.
TEST(Options, EveryOptionMakesTheRoundTripThroughItsControl) {
    const std::string stored = "Editor=C:\\ed\\ed.exe\r\nTeX=C:\\tex\\platex.exe\r\nDviWare=C:\\v\\dviout.exe\r\n"
                               "AutoCompile=1\r\nCheckInterval=2500\r\nFileExt=log,aux,dvi\r\nErrorJump=0\r\n"
                               "JumpOption=-n%l\r\nUseDDE=1\r\nAutoDVI=1\r\nFocusTeX=1\r\n";
    OptionsWorld world(stored);
    world.openOptions([](HeadlessForm&) {});
    EXPECT_EQ("[Option]\r\n" + stored, world.ini());
}

TEST(Options, HexadecimalEntryIsKeptAndSavedAsDecimal) {
    OptionsWorld world;
    world.openOptions([](HeadlessForm& form) {
        form.edit("edtCheckInterval").setText("$10");
        form.checkBox("chkAutoCompile").setChecked(true);
    });
    EXPECT_TRUE(world.ui.messages.empty());
    EXPECT_EQ("$10", world.form2->controls().edtCheckInterval.text());
    EXPECT_NE(std::string::npos, world.ini().find("AutoCompile=1\r\nCheckInterval=16\r\n"));
    EXPECT_TRUE(world.timer().enabled());
    EXPECT_EQ(16, world.timer().interval());

    world.openOptions([](HeadlessForm& form) {
        form.checkBox("chkAutoCompile").setChecked(false);
        form.edit("edtCheckInterval").setText("2000");
    });
    EXPECT_FALSE(world.timer().enabled());
    EXPECT_EQ(2000, world.timer().interval());
}

TEST(Options, CancelWritesNothingAndTheNextOpeningShowsTheFileAgain) {
    OptionsWorld world("AutoCompile=1\r\n");
    const std::string before = world.ini();
    world.timer().setEnabled(false);
    world.openOptions(
        [](HeadlessForm& form) {
            form.edit("Edit1").setText("C:\\Program Files\\ed.exe");
            form.checkBox("chkAutoCompile").setChecked(false);
        },
        ModalResult::Cancel);
    EXPECT_EQ(before, world.ini());
    EXPECT_FALSE(world.timer().enabled());

    world.openOptions([](HeadlessForm&) {});
    EXPECT_NE(std::string::npos, world.ini().find("Editor=notepad.exe\r\n"));
    EXPECT_TRUE(world.timer().enabled());
}

TEST(Options, CloseBoxCancels) {
    OptionsWorld world;
    const std::string before = world.ini();
    world.ui.onModal["Form2"] = [](HeadlessForm& form) {
        form.edit("Edit2").setText("log");
        form.close();
        return ModalResult::None;
    };
    world.main().item("Option").click();
    EXPECT_EQ(before, world.ini());
}

TEST(IntervalCheck, ZeroOrNegativeIsReportedAndReset) {
    OptionsWorld world;
    HeadlessEdit& interval = world.options().edit("edtCheckInterval");
    interval.setText("");
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::ErrorBox, world.ui.messages[0].kind);
    EXPECT_EQ("'' は整数ではありません.", world.ui.messages[0].text);
    EXPECT_EQ("", interval.text()) << "no reset for a text that is not a number";

    world.ui.messages.clear();
    interval.type("0");
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ(MessageKind::Typed, world.ui.messages[0].kind);
    EXPECT_EQ(MessageType::Error, world.ui.messages[0].type);
    EXPECT_EQ(unsigned(mbOK), world.ui.messages[0].buttons);
    EXPECT_EQ(positiveText, world.ui.messages[0].text);
    EXPECT_EQ("1000", interval.text());

    world.ui.messages.clear();
    interval.setText("");
    world.ui.messages.clear();
    interval.type("-5"); // "-" is no integer yet; "-5" is not greater than 0
    EXPECT_EQ((std::vector<std::string>{"'-' は整数ではありません.", positiveText}), world.messageTexts());
    EXPECT_EQ("1000", interval.text());

    world.ui.messages.clear();
    interval.setText("5");
    interval.setText(" 12");
    EXPECT_TRUE(world.ui.messages.empty());
    EXPECT_EQ(" 12", interval.text());
}

TEST(IntervalCheck, StoredIntervalBelowOneIsReportedOnceAtStartUp) {
    World world;
    world.settings("CheckInterval=-3\r\n");
    world.create();
    EXPECT_EQ((std::vector<std::string>{positiveText}), world.messageTexts());
    EXPECT_EQ(0u, world.ui.forms.count("Form2")) << "the window is made when the dialog is first needed";
    EXPECT_EQ("1000", world.form2->controls().edtCheckInterval.text());
    EXPECT_EQ(1u, world.ui.messages.size()) << "making the window reports nothing more";
    EXPECT_NE(std::string::npos, world.ini().find("CheckInterval=-3"));
}

TEST(OptionsSave, IntervalThatIsNoIntegerStopsTheSaveAtThatKey) {
    OptionsWorld world("CheckInterval=500\r\nFileExt=bbl\r\nFocusTeX=1\r\n");
    world.timer().setInterval(500);
    world.openOptions([](HeadlessForm& form) {
        form.edit("edtCheckInterval").setText("");
        form.edit("Edit1").setText("ed.exe");
        form.edit("Edit2").setText("log");
    });
    EXPECT_EQ("'' は整数ではありません.", world.ui.messages.back().text);
    EXPECT_EQ("[Option]\r\nCheckInterval=500\r\nFileExt=bbl\r\nFocusTeX=1\r\nEditor=ed.exe\r\nTeX=platex.exe\r\n"
              "DviWare=dviout.exe\r\nAutoCompile=0\r\n",
              world.ini());
    EXPECT_EQ(500, world.timer().interval());
    EXPECT_EQ("log", world.form2->controls().Edit2.text());
    EXPECT_GE(world.system.profile.flushCount, 1);
}

TEST(OptionsSave, RefusedWriteInTheMiddleKeepsEarlierKeysAndTheTimer) {
    OptionsWorld world("Top=1\r\n");
    world.timer().setEnabled(false);
    world.system.profile.acceptedWritesLeft = 5;
    const int flushesBefore = world.system.profile.flushCount;
    world.openOptions([](HeadlessForm& form) { form.checkBox("chkAutoCompile").setChecked(true); });
    EXPECT_EQ((std::vector<std::string>{"C:\\Velumo\\Velumo.ini に書き込めません."}), world.messageTexts());
    EXPECT_EQ("[Option]\r\nTop=1\r\nEditor=notepad.exe\r\nTeX=platex.exe\r\nDviWare=dviout.exe\r\n"
              "AutoCompile=1\r\nCheckInterval=1000\r\n",
              world.ini());
    EXPECT_FALSE(world.timer().enabled());
    EXPECT_EQ(flushesBefore + 2, world.system.profile.flushCount)
        << "the reading at the opening and the save each release their access, the save on failure too";
}
