// What every toolkit does alike, run against each backend: the headless one
// of the unit tests and the real windows under Wine. ToolkitFixture.h is the
// backend's own.
#include "ToolkitFixture.h"

namespace {

using namespace platform;

const FormSpec dialog{.name = "Dialog",
                      .caption = "Dialog",
                      .bounds = {0, 0, 240, 120},
                      .sizeIsClient = true,
                      .border = FormBorder::Dialog,
                      .position = FormPosition::ScreenCenter};

class ToolkitBehaviour : public ToolkitFixture {};

TEST_F(ToolkitBehaviour, EditReportsEachNewTextOnceWhenTheProgramSetsIt) {
    auto form = toolkit().createForm(dialog);
    Edit& edit = form->add<ControlKind::Edit>({.name = "Edit", .bounds = {8, 8, 150, 20}});
    std::vector<std::string> seen;
    edit.onChange = [&] { seen.push_back(edit.text()); };

    edit.setText("platex.exe");
    edit.setText("platex.exe");
    edit.setText("表示");
    EXPECT_EQ(seen, (std::vector<std::string>{"platex.exe", "表示"}));
}

TEST_F(ToolkitBehaviour, OkAndCancelButtonsRunTheirClickThenCloseTheModalForm) {
    auto form = toolkit().createForm(dialog);
    std::vector<std::string> clicked;
    Button& ok = form->add<ControlKind::OkButton>({.name = "Ok", .bounds = {8, 80, 75, 25}, .caption = "OK"});
    Button& cancel =
        form->add<ControlKind::CancelButton>({.name = "Cancel", .bounds = {90, 80, 75, 25}, .caption = "Cancel"});
    Button& done =
        form->add<ControlKind::PushOkButton>({.name = "Done", .bounds = {170, 80, 60, 25}, .caption = "Done"});
    for (Button* button : {&ok, &cancel, &done})
        button->onClick = [&clicked, button] { clicked.push_back(button->layout().name); };

    EXPECT_EQ(showModalWhile(*form, [&] { click(ok); }), ModalResult::OK);
    EXPECT_EQ(showModalWhile(*form, [&] { click(cancel); }), ModalResult::Cancel);
    EXPECT_EQ(showModalWhile(*form, [&] { click(done); }), ModalResult::OK);
    EXPECT_EQ(clicked, (std::vector<std::string>{"Ok", "Cancel", "Done"}));
}

TEST_F(ToolkitBehaviour, ClosingAModalFormCancelsItAndOnlyAFormNotModalRunsOnClose) {
    auto form = toolkit().createForm(dialog);
    int closeEvents = 0;
    form->onClose = [&] { ++closeEvents; };

    EXPECT_EQ(showModalWhile(*form, [&] { form->close(); }), ModalResult::Cancel);
    EXPECT_EQ(closeEvents, 0);
    form->close();
    EXPECT_EQ(closeEvents, 1);
}

TEST_F(ToolkitBehaviour, NewTimerRunsEverySecond) {
    auto form = toolkit().createForm(dialog);
    auto timer = toolkit().createTimer(*form);
    EXPECT_TRUE(timer->enabled());
    EXPECT_EQ(timer->interval(), 1000);
}

TEST_F(ToolkitBehaviour, EnterInAMessageDialogAnswersOkWhenThereIsOneElseYes) {
    EXPECT_EQ(pressEnterIn("保存しますか?", MessageType::Confirmation, mbYes | mbNo | mbCancel), ModalResult::Yes);
    EXPECT_EQ(pressEnterIn("続けますか?", MessageType::Warning, mbYes | mbNo | mbOK), ModalResult::OK);
    EXPECT_EQ(pressEnterIn("終わりました", MessageType::Information, mbOK), ModalResult::OK);
}

} // namespace
