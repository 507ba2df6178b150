#include "Dlogopt.h"

#include "settings/SettingKeys.h"
#include "text/IntegerText.h"

using namespace platform;
namespace key = settings::key;
namespace byDefault = settings::byDefault;

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

TForm2::TForm2(Application& app, const std::string& iniFileName)
    : app_(app), iniFileName_(iniFileName), window_(app.toolkit().createForm(optionsForm, optionsLayout)),
      Edit1(window_->get<Edit>("Edit1")), edtJumpOption(window_->get<Edit>("edtJumpOption")),
      chkErrorJump(window_->get<CheckBox>("chkErrorJump")), chkFocusTeX(window_->get<CheckBox>("chkFocusTeX")),
      Edit3(window_->get<Edit>("Edit3")), chkAutoCompile(window_->get<CheckBox>("chkAutoCompile")),
      edtCheckInterval(window_->get<Edit>("edtCheckInterval")), chkAutoDVI(window_->get<CheckBox>("chkAutoDVI")),
      Edit4(window_->get<Edit>("Edit4")), chkUseDDE(window_->get<CheckBox>("chkUseDDE")),
      Edit2(window_->get<Edit>("Edit2")), PageControl1(window_->get<PageControl>("PageControl1")),
      SpeedButton1(window_->get<Button>("SpeedButton1")), SpeedButton3(window_->get<Button>("SpeedButton3")),
      SpeedButton4(window_->get<Button>("SpeedButton4")), OpenDialog1(app.toolkit().createOpenDialog(programDialog)) {
    for (Button* browse : {&SpeedButton1, &SpeedButton3, &SpeedButton4})
        browse->onClick = [this, browse] { SpeedButton1Click(*browse); };
    edtCheckInterval.onChange = [this] { edtCheckIntervalChange(); };
    FormCreate();
}

void TForm2::FormCreate() {
    settings::SettingsFile settings(app_.os().profile, iniFileName_);
    Edit1.setText(settings.readString(key::editor, byDefault::editor));
    Edit3.setText(settings.readString(key::tex, byDefault::tex));
    Edit4.setText(settings.readString(key::dviWare, byDefault::dviWare));
    chkAutoCompile.setChecked(settings.readBool(key::autoCompile, byDefault::autoCompile));
    edtCheckInterval.setText(text::intToStr(settings.readInteger(key::checkInterval, byDefault::checkInterval)));
    Edit2.setText(settings.readString(key::fileExt, byDefault::fileExt));
    chkErrorJump.setChecked(settings.readBool(key::errorJump, byDefault::errorJumpInOptions));
    edtJumpOption.setText(settings.readString(key::jumpOption, byDefault::jumpOption));
    chkUseDDE.setChecked(settings.readBool(key::useDde, byDefault::useDde));
    chkAutoDVI.setChecked(settings.readBool(key::autoDvi, byDefault::autoDvi));
    chkFocusTeX.setChecked(settings.readBool(key::focusTeX, byDefault::focusTeX));
}

Edit& TForm2::editFor(Button& browseButton) {
    if (&browseButton == &SpeedButton3) return Edit3;
    if (&browseButton == &SpeedButton4) return Edit4;
    return Edit1;
}

void TForm2::SpeedButton1Click(Button& sender) {
    Edit& programEdit = editFor(sender);
    OpenDialog1->setFileName(programEdit.text());
    if (app_.executeOpenDialog(*OpenDialog1)) programEdit.setText(OpenDialog1->fileName());
}

void TForm2::edtCheckIntervalChange() {
    if (text::strToInt(edtCheckInterval.text()) > 0) return;
    app_.messageDialog("0より大きい整数を入力してください。", MessageType::Error, mbOK);
    edtCheckInterval.setText("1000");
}

int32_t TForm2::checkInterval() const { return text::strToInt(edtCheckInterval.text()); }

void TForm2::saveOptions(settings::SettingsFile& settings) {
    settings.writeString(key::editor, Edit1.text());
    settings.writeString(key::tex, Edit3.text());
    settings.writeString(key::dviWare, Edit4.text());
    settings.writeBool(key::autoCompile, chkAutoCompile.checked());
    settings.writeInteger(key::checkInterval, checkInterval());
    settings.writeString(key::fileExt, Edit2.text());
    settings.writeBool(key::errorJump, chkErrorJump.checked());
    settings.writeString(key::jumpOption, edtJumpOption.text());
    settings.writeBool(key::useDde, chkUseDDE.checked());
    settings.writeBool(key::autoDvi, chkAutoDVI.checked());
    settings.writeBool(key::focusTeX, chkFocusTeX.checked());
}
