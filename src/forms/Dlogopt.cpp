#include "forms/Dlogopt.h"

#include "features/StrToInt.h"
#include "text/IntegerText.h"

#include <functional>

using namespace platform;

namespace {
// clang-format off
const FormSpec optionsForm{.name = "Form2", .caption = "オプション設定", .bounds = {0, 0, 332, 229}, .sizeIsClient = true,
                           .border = FormBorder::Dialog, .position = FormPosition::MainFormCenter};

const OpenDialogSpec programDialog{.filter = "実行可能ファイル|*.exe"};
// clang-format on
} // namespace

// clang-format off
TForm2::Controls::Controls(Form& window)
    : BitBtn1(window.add<ControlKind::OkButton>({.name = "BitBtn1", .bounds = {147, 198, 75, 25}, .caption = "OK", .isDefault = true})),
      BitBtn2(window.add<ControlKind::CancelButton>({.name = "BitBtn2", .bounds = {232, 198, 82, 25}, .caption = "キャンセル"})),
      PageControl1(window.add<ControlKind::PageControl>({.name = "PageControl1", .bounds = {16, 8, 305, 185}})),

      TabSheet1(window.add<ControlKind::TabPage>({.name = "TabSheet1", .parent = "PageControl1", .caption = "Editor"})),
      edtJumpOption(window.add<ControlKind::Edit>({.name = "edtJumpOption", .parent = "TabSheet1", .bounds = {152, 48, 89, 20}, .hint = "エディタのオプションを入力。%lを行番号に置換。", .showHint = true})),
      chkErrorJump(window.add<ControlKind::CheckBox>({.name = "chkErrorJump", .parent = "TabSheet1", .bounds = {32, 48, 113, 17}, .caption = "エラー時ジャンプ"})),
      Edit1(window.add<ControlKind::Edit>({.name = "Edit1", .parent = "TabSheet1", .bounds = {75, 14, 163, 20}, .hint = "編集に使うエディタの実行ファイル", .showHint = true})),
      chkFocusTeX(window.add<ControlKind::CheckBox>({.name = "chkFocusTeX", .parent = "TabSheet1", .bounds = {32, 80, 177, 17}, .caption = "DVIwareにフォーカスを移さない"})),
      Label1(window.add<ControlKind::Label>({.name = "Label1", .parent = "TabSheet1", .bounds = {16, 16, 0, 0}, .caption = "Editor"})),
      SpeedButton1(window.add<ControlKind::BrowseButton>({.name = "SpeedButton1", .parent = "TabSheet1", .bounds = {240, 16, 25, 25}})),

      TabSheet2(window.add<ControlKind::TabPage>({.name = "TabSheet2", .parent = "PageControl1", .caption = "TeXCompiler"})),
      chkAutoCompile(window.add<ControlKind::CheckBox>({.name = "chkAutoCompile", .parent = "TabSheet2", .bounds = {32, 48, 97, 17}, .caption = "自動コンパイル", .hint = "ファイルが更新されると、自動的にコンパイルする。"})),
      edtCheckInterval(window.add<ControlKind::Edit>({.name = "edtCheckInterval", .parent = "TabSheet2", .bounds = {112, 72, 65, 20}})),
      chkAutoDVI(window.add<ControlKind::CheckBox>({.name = "chkAutoDVI", .parent = "TabSheet2", .bounds = {32, 104, 249, 25}, .caption = "コンパイル成功時に自動的にDVIwareを起動", .hint = "エラーがなければDVIwareを起動する。"})),
      Edit3(window.add<ControlKind::Edit>({.name = "Edit3", .parent = "TabSheet2", .bounds = {75, 14, 163, 20}, .hint = "TeXコンパイラの実行コマンド", .showHint = true})),
      Label3(window.add<ControlKind::Label>({.name = "Label3", .parent = "TabSheet2", .bounds = {16, 16, 0, 0}, .caption = "TeX"})),
      SpeedButton3(window.add<ControlKind::BrowseButton>({.name = "SpeedButton3", .parent = "TabSheet2", .bounds = {240, 16, 25, 25}})),
      Label5(window.add<ControlKind::Label>({.name = "Label5", .parent = "TabSheet2", .bounds = {32, 80, 0, 0}, .caption = "チェック間隔"})),
      Label2(window.add<ControlKind::Label>({.name = "Label2", .parent = "TabSheet2", .bounds = {184, 80, 0, 0}, .caption = "ms"})),

      TabSheet3(window.add<ControlKind::TabPage>({.name = "TabSheet3", .parent = "PageControl1", .caption = "DVIware"})),
      chkUseDDE(window.add<ControlKind::CheckBox>({.name = "chkUseDDE", .parent = "TabSheet3", .bounds = {32, 61, 97, 17}, .caption = "DDE通信を使う"})),
      Edit4(window.add<ControlKind::Edit>({.name = "Edit4", .parent = "TabSheet3", .bounds = {75, 14, 163, 20}, .hint = "DVIビューアの実行ファイル", .showHint = true})),
      Label4(window.add<ControlKind::Label>({.name = "Label4", .parent = "TabSheet3", .bounds = {16, 16, 0, 0}, .caption = "DVIware"})),
      SpeedButton4(window.add<ControlKind::BrowseButton>({.name = "SpeedButton4", .parent = "TabSheet3", .bounds = {240, 16, 25, 25}})),

      TabSheet4(window.add<ControlKind::TabPage>({.name = "TabSheet4", .parent = "PageControl1", .caption = "DeleteLog"})),
      Edit2(window.add<ControlKind::Edit>({.name = "Edit2", .parent = "TabSheet4", .bounds = {24, 26, 233, 20}})),
      Label6(window.add<ControlKind::Label>({.name = "Label6", .parent = "TabSheet4", .bounds = {24, 10, 0, 0}, .caption = "拡張子(カンマで区切る)"})) {}
// clang-format on

namespace {
using Controls = TForm2::Controls;
// The check a stored integer goes through before its edit shows it.
using IntegerCheck = std::function<std::string(const std::string&)>;

// An option: its setting bound to the control that shows it, each of the kind
// the other needs.
class Option {
public:
    virtual ~Option() = default;
    // The stored value as the control shows it ("1" or "0" for a check box).
    virtual std::string read(settings::SettingsFile& settings, const IntegerCheck& check) const = 0;
    virtual void show(Controls& controls, const std::string& value) const = 0;
    virtual void save(settings::SettingsFile& settings, Controls& controls) const = 0;
};

// A setting and the accessor of the control that shows it.
template <class Setting, class Widget> class Bound : public Option {
public:
    Bound(Setting setting, Widget& (*control)(Controls&)) : setting_(setting), control_(control) {}

protected:
    Setting setting_;
    Widget& (*control_)(Controls&);
};

// A text in an edit.
class TextOption final : public Bound<settings::Text, Edit> {
public:
    using Bound::Bound;
    std::string read(settings::SettingsFile& settings, const IntegerCheck&) const override {
        return settings.read(setting_);
    }
    void show(Controls& controls, const std::string& value) const override { control_(controls).setText(value); }
    void save(settings::SettingsFile& settings, Controls& controls) const override {
        settings.write(setting_, control_(controls).text());
    }
};

// A flag in a check box.
class FlagOption final : public Bound<settings::Flag, CheckBox> {
public:
    using Bound::Bound;
    std::string read(settings::SettingsFile& settings, const IntegerCheck&) const override {
        return settings.read(setting_) ? "1" : "0";
    }
    void show(Controls& controls, const std::string& value) const override {
        control_(controls).setChecked(value == "1");
    }
    void save(settings::SettingsFile& settings, Controls& controls) const override {
        settings.write(setting_, control_(controls).checked());
    }
};

// An integer in an edit: the stored value goes through the check a typed one
// does, and the edit's text is converted strictly when saved.
class IntegerOption final : public Bound<settings::Integer, Edit> {
public:
    using Bound::Bound;
    std::string read(settings::SettingsFile& settings, const IntegerCheck& check) const override {
        return check(text::intToStr(settings.read(setting_)));
    }
    void show(Controls& controls, const std::string& value) const override { control_(controls).setText(value); }
    void save(settings::SettingsFile& settings, Controls& controls) const override {
        settings.write(setting_, strToInt(control_(controls).text()));
    }
};

// One row per option, in the order the settings file is written. The
// designer's names: Edit1 holds the editor, Edit3 the compiler, Edit4 the DVI
// viewer, Edit2 the extensions that cleanup deletes, edtJumpOption the
// editor's option for the jump, edtCheckInterval the watcher's interval; each
// check box is named after its setting.
const std::vector<std::unique_ptr<const Option>>& options() {
    static const std::vector<std::unique_ptr<const Option>> rows = [] {
        std::vector<std::unique_ptr<const Option>> made;
        // clang-format off
        made.push_back(std::make_unique<TextOption>(settings::editor,            [](Controls& c) -> Edit& { return c.Edit1; }));
        made.push_back(std::make_unique<TextOption>(settings::tex,               [](Controls& c) -> Edit& { return c.Edit3; }));
        made.push_back(std::make_unique<TextOption>(settings::dviWare,           [](Controls& c) -> Edit& { return c.Edit4; }));
        made.push_back(std::make_unique<FlagOption>(settings::autoCompile,       [](Controls& c) -> CheckBox& { return c.chkAutoCompile; }));
        made.push_back(std::make_unique<IntegerOption>(settings::checkInterval,  [](Controls& c) -> Edit& { return c.edtCheckInterval; }));
        made.push_back(std::make_unique<TextOption>(settings::fileExt,           [](Controls& c) -> Edit& { return c.Edit2; }));
        made.push_back(std::make_unique<FlagOption>(settings::errorJumpInOptions,[](Controls& c) -> CheckBox& { return c.chkErrorJump; }));
        made.push_back(std::make_unique<TextOption>(settings::jumpOption,        [](Controls& c) -> Edit& { return c.edtJumpOption; }));
        made.push_back(std::make_unique<FlagOption>(settings::useDde,            [](Controls& c) -> CheckBox& { return c.chkUseDDE; }));
        made.push_back(std::make_unique<FlagOption>(settings::autoDvi,           [](Controls& c) -> CheckBox& { return c.chkAutoDVI; }));
        made.push_back(std::make_unique<FlagOption>(settings::focusTeX,          [](Controls& c) -> CheckBox& { return c.chkFocusTeX; }));
        // clang-format on
        return made;
    }();
    return rows;
}
} // namespace

TForm2::TForm2(Application& app)
    : app_(app), form_(app.toolkit(), optionsForm, [this](Form& window) { return makeControls(window); }),
      OpenDialog1(app.toolkit().createOpenDialog(programDialog)) {
    FormCreate();
}

// Reads the options in the settings file's order, each as the text its
// control shows ("1" or "0" for a check box). The interval goes through the
// same check as a typed one, so a stored interval that is not greater than 0
// is reported and "1000" is what the dialog shows.
TForm2::Values TForm2::readOptions() {
    settings::SettingsFile settings = app_.settings().open();
    const IntegerCheck check = [this](const std::string& text) { return checkedInterval(text); };
    Values values;
    for (const auto& option : options())
        values.push_back(option->read(settings, check));
    return values;
}

// At start-up the values wait for the window, which is made when first needed.
void TForm2::FormCreate() { loaded_ = readOptions(); }

void TForm2::loadStoredOptions() { showValues(controls(), readOptions()); }

void TForm2::showValues(Controls& controls, const Values& values) {
    for (size_t i = 0; i < options().size(); ++i)
        options()[i]->show(controls, values[i]);
}

// The controls show the values read at start-up.
std::unique_ptr<TForm2::Controls> TForm2::makeControls(Form& window) {
    auto controls = std::make_unique<Controls>(window);
    showValues(*controls, loaded_);

    for (Button* browse : {&controls->SpeedButton1, &controls->SpeedButton3, &controls->SpeedButton4})
        browse->onClick = [this, browse] { SpeedButton1Click(*browse); };
    controls->edtCheckInterval.onChange = [this] { edtCheckIntervalChange(); };
    return controls;
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
    if (strToInt(text) > 0) return text;
    app_.messageDialog("0より大きい整数を入力してください。", MessageType::Error, mbOK);
    return "1000";
}

void TForm2::edtCheckIntervalChange() {
    Edit& interval = controls().edtCheckInterval;
    const std::string text = interval.text();
    const std::string checked = checkedInterval(text);
    if (checked != text) interval.setText(checked);
}

int32_t TForm2::checkInterval() { return strToInt(controls().edtCheckInterval.text()); }

void TForm2::saveOptions(settings::SettingsFile& settings) {
    for (const auto& option : options())
        option->save(settings, controls());
}
