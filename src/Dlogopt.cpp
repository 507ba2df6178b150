#include "Dlogopt.h"

#include "text/IntegerText.h"

using namespace platform;

namespace {
// clang-format off
const FormSpec optionsForm{"Form2", "オプション設定", {0, 0, 332, 229}, true, FormBorder::Dialog,
                           FormPosition::MainFormCenter};

// In tab order: the two buttons, the page control, then each page's controls.
const std::vector<ControlSpec> optionsLayout{
    {ControlKind::OkButton, "BitBtn1", "", {147, 198, 75, 25}, "OK", "", false, Align::None, true},
    {ControlKind::CancelButton, "BitBtn2", "", {232, 198, 82, 25}, "キャンセル"},
    {ControlKind::PageControl, "PageControl1", "", {16, 8, 305, 185}},

    {ControlKind::TabPage, "TabSheet1", "PageControl1", {}, "Editor"},
    {ControlKind::Edit, "edtJumpOption", "TabSheet1", {152, 48, 89, 20}, "",
     "エディタのオプションを入力。%lを行番号に置換。", true},
    {ControlKind::CheckBox, "chkErrorJump", "TabSheet1", {32, 48, 113, 17}, "エラー時ジャンプ"},
    {ControlKind::Edit, "Edit1", "TabSheet1", {75, 14, 163, 20}, "", "編集に使うエディタの実行ファイル", true},
    {ControlKind::CheckBox, "chkFocusTeX", "TabSheet1", {32, 80, 177, 17}, "DVIwareにフォーカスを移さない"},
    {ControlKind::Label, "Label1", "TabSheet1", {16, 16, 0, 0}, "Editor"},
    {ControlKind::BrowseButton, "SpeedButton1", "TabSheet1", {240, 16, 25, 25}},

    {ControlKind::TabPage, "TabSheet2", "PageControl1", {}, "TeXCompiler"},
    {ControlKind::CheckBox, "chkAutoCompile", "TabSheet2", {32, 48, 97, 17}, "自動コンパイル",
     "ファイルが更新されると、自動的にコンパイルする。"},
    {ControlKind::Edit, "edtCheckInterval", "TabSheet2", {112, 72, 65, 20}},
    {ControlKind::CheckBox, "chkAutoDVI", "TabSheet2", {32, 104, 249, 25}, "コンパイル成功時に自動的にDVIwareを起動",
     "エラーがなければDVIwareを起動する。"},
    {ControlKind::Edit, "Edit3", "TabSheet2", {75, 14, 163, 20}, "", "TeXコンパイラの実行コマンド", true},
    {ControlKind::Label, "Label3", "TabSheet2", {16, 16, 0, 0}, "TeX"},
    {ControlKind::BrowseButton, "SpeedButton3", "TabSheet2", {240, 16, 25, 25}},
    {ControlKind::Label, "Label5", "TabSheet2", {32, 80, 0, 0}, "チェック間隔"},
    {ControlKind::Label, "Label2", "TabSheet2", {184, 80, 0, 0}, "ms"},

    {ControlKind::TabPage, "TabSheet3", "PageControl1", {}, "DVIware"},
    {ControlKind::CheckBox, "chkUseDDE", "TabSheet3", {32, 61, 97, 17}, "DDE通信を使う"},
    {ControlKind::Edit, "Edit4", "TabSheet3", {75, 14, 163, 20}, "", "DVIビューアの実行ファイル", true},
    {ControlKind::Label, "Label4", "TabSheet3", {16, 16, 0, 0}, "DVIware"},
    {ControlKind::BrowseButton, "SpeedButton4", "TabSheet3", {240, 16, 25, 25}},

    {ControlKind::TabPage, "TabSheet4", "PageControl1", {}, "DeleteLog"},
    {ControlKind::Edit, "Edit2", "TabSheet4", {24, 26, 233, 20}},
    {ControlKind::Label, "Label6", "TabSheet4", {24, 10, 0, 0}, "拡張子(カンマで区切る)"},
};

const OpenDialogSpec programDialog{"", "実行可能ファイル|*.exe", ""};
// clang-format on
} // namespace

TForm2::Controls::Controls(Form& window)
    : Edit1(window.get<Edit>("Edit1")), edtJumpOption(window.get<Edit>("edtJumpOption")),
      chkErrorJump(window.get<CheckBox>("chkErrorJump")), chkFocusTeX(window.get<CheckBox>("chkFocusTeX")),
      Edit3(window.get<Edit>("Edit3")), chkAutoCompile(window.get<CheckBox>("chkAutoCompile")),
      edtCheckInterval(window.get<Edit>("edtCheckInterval")), chkAutoDVI(window.get<CheckBox>("chkAutoDVI")),
      Edit4(window.get<Edit>("Edit4")), chkUseDDE(window.get<CheckBox>("chkUseDDE")), Edit2(window.get<Edit>("Edit2")),
      PageControl1(window.get<PageControl>("PageControl1")), SpeedButton1(window.get<Button>("SpeedButton1")),
      SpeedButton3(window.get<Button>("SpeedButton3")), SpeedButton4(window.get<Button>("SpeedButton4")) {}

TForm2::TForm2(Application& app, const std::string& iniFileName)
    : app_(app), iniFileName_(iniFileName), OpenDialog1(app.toolkit().createOpenDialog(programDialog)) {
    FormCreate();
}

// Reads the options in the settings file's order. The interval goes through
// the same check as a typed one, so a stored interval that is not greater
// than 0 is reported now, at start-up, and "1000" is what the dialog will show.
void TForm2::FormCreate() {
    settings::SettingsFile settings(app_.os().profile, iniFileName_);
    loaded_.editor = settings.read(settings::editor);
    loaded_.tex = settings.read(settings::tex);
    loaded_.dviWare = settings.read(settings::dviWare);
    loaded_.autoCompile = settings.read(settings::autoCompile);
    loaded_.checkInterval = checkedInterval(text::intToStr(settings.read(settings::checkInterval)));
    loaded_.fileExt = settings.read(settings::fileExt);
    loaded_.errorJump = settings.read(settings::errorJumpInOptions);
    loaded_.jumpOption = settings.read(settings::jumpOption);
    loaded_.useDde = settings.read(settings::useDde);
    loaded_.autoDvi = settings.read(settings::autoDvi);
    loaded_.focusTeX = settings.read(settings::focusTeX);
}

Form& TForm2::window() {
    if (!window_) makeWindow();
    return *window_;
}

TForm2::Controls& TForm2::controls() {
    if (!window_) makeWindow();
    return *controls_;
}

void TForm2::makeWindow() {
    std::unique_ptr<Form> window = app_.toolkit().createForm(optionsForm, optionsLayout);
    auto controls = std::make_unique<Controls>(*window);
    controls->Edit1.setText(loaded_.editor);
    controls->Edit3.setText(loaded_.tex);
    controls->Edit4.setText(loaded_.dviWare);
    controls->chkAutoCompile.setChecked(loaded_.autoCompile);
    controls->edtCheckInterval.setText(loaded_.checkInterval);
    controls->Edit2.setText(loaded_.fileExt);
    controls->chkErrorJump.setChecked(loaded_.errorJump);
    controls->edtJumpOption.setText(loaded_.jumpOption);
    controls->chkUseDDE.setChecked(loaded_.useDde);
    controls->chkAutoDVI.setChecked(loaded_.autoDvi);
    controls->chkFocusTeX.setChecked(loaded_.focusTeX);

    for (Button* browse : {&controls->SpeedButton1, &controls->SpeedButton3, &controls->SpeedButton4})
        browse->onClick = [this, browse] { SpeedButton1Click(*browse); };
    controls->edtCheckInterval.onChange = [this] { edtCheckIntervalChange(); };
    window_ = std::move(window);
    controls_ = std::move(controls);
}

Edit& TForm2::editFor(Button& browseButton) {
    Controls& c = controls();
    if (&browseButton == &c.SpeedButton3) return c.Edit3;
    if (&browseButton == &c.SpeedButton4) return c.Edit4;
    return c.Edit1;
}

void TForm2::SpeedButton1Click(Button& sender) {
    Edit& programEdit = editFor(sender);
    OpenDialog1->setFileName(programEdit.text());
    if (app_.executeOpenDialog(*OpenDialog1)) programEdit.setText(OpenDialog1->fileName());
}

// A text that does not convert raises, and the caller's text stays; a number
// not greater than 0 is reported and gives way to "1000".
std::string TForm2::checkedInterval(const std::string& text) {
    if (text::strToInt(text) > 0) return text;
    app_.messageDialog("0より大きい整数を入力してください。", MessageType::Error, mbOK);
    return "1000";
}

void TForm2::edtCheckIntervalChange() {
    Edit& interval = controls().edtCheckInterval;
    const std::string text = interval.text();
    const std::string checked = checkedInterval(text);
    if (checked != text) interval.setText(checked);
}

int32_t TForm2::checkInterval() { return text::strToInt(controls().edtCheckInterval.text()); }

void TForm2::saveOptions(settings::SettingsFile& settings) {
    Controls& c = controls();
    settings.write(settings::editor, c.Edit1.text());
    settings.write(settings::tex, c.Edit3.text());
    settings.write(settings::dviWare, c.Edit4.text());
    settings.write(settings::autoCompile, c.chkAutoCompile.checked());
    settings.write(settings::checkInterval, checkInterval());
    settings.write(settings::fileExt, c.Edit2.text());
    settings.write(settings::errorJumpInOptions, c.chkErrorJump.checked());
    settings.write(settings::jumpOption, c.edtJumpOption.text());
    settings.write(settings::useDde, c.chkUseDDE.checked());
    settings.write(settings::autoDvi, c.chkAutoDVI.checked());
    settings.write(settings::focusTeX, c.chkFocusTeX.checked());
}
