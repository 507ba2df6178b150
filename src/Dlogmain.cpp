#include "Dlogmain.h"

#include "Cleanup.h"
#include "Dlogdlg.h"
#include "Dlogopt.h"
#include "text/CommandLine.h"

using namespace platform;

namespace {
// clang-format off
const FormSpec mainForm{"Form1", "Velumo", {0, 0, 267, 269}, false, FormBorder::Sizeable, FormPosition::Stored};

// In tab order: the log list, the button panel, then the buttons on it.
const std::vector<ControlSpec> mainLayout{
    {ControlKind::ListBox, "ListBox1", "", {0, 137, 259, 86}, "", "ログ表示", false, Align::Client, false, 12},
    {ControlKind::Panel, "Panel1", "", {0, 0, 259, 137}, "", "", false, Align::Top},
    {ControlKind::Button, "btnCompile", "Panel1", {136, 8, 97, 25}, "Compile TeXfile", "コンパイルしてDVIファイルを作成"},
    {ControlKind::Button, "btnDelLog", "Panel1", {136, 88, 97, 25}, "Delete Logfile", "ログファイルを削除"},
    {ControlKind::Button, "btnEditTeX", "Panel1", {32, 48, 65, 65}, "Edit TeXfile", "TeXファイルを編集"},
    {ControlKind::Button, "btnOpenDvi", "Panel1", {136, 48, 97, 25}, "Preview DVIfile", "DVIファイルを表示"},
    {ControlKind::Button, "btnOpenTeX", "Panel1", {16, 8, 97, 25}, "Open TeXfile", "使用するTeXファイルを開く"},
};

const std::vector<MenuItemSpec> mainMenu{
    {"File1", "", "&File"},
    {"Open1", "File1", "&Open", "Ctrl+O"},
    {"Exit1", "File1", "&Exit"},
    {"TeX", "", "&TeX"},
    {"Edit1", "TeX", "&Edit"},
    {"Compile1", "TeX", "&Compile"},
    {"Preview1", "TeX", "&Preview"},
    {"DeleteLog1", "TeX", "&Delete Log"},
    {"N1", "TeX", "-"},
    {"Option", "", "&Option"},
    {"Help", "", "&Help", "F1"},
    {"Version1", "Help", "&Version"},
};

// A new document's name is taken too: Edit then lets the editor create it.
const OpenDialogSpec documentDialog{"TeXファイルを開く", "TeXファイル|*.tex|TeXinfoファイル|*.texi", "tex", false};
// clang-format on
} // namespace

TForm1::TForm1(Application& app, const std::string& iniFileName)
    : IniFileName(iniFileName), app_(app), window_(app.toolkit().createForm(mainForm, mainLayout, mainMenu)),
      ListBox1(window_->get<ListBox>("ListBox1")), btnOpenTeX(window_->get<Button>("btnOpenTeX")),
      btnCompile(window_->get<Button>("btnCompile")), btnEditTeX(window_->get<Button>("btnEditTeX")),
      btnOpenDvi(window_->get<Button>("btnOpenDvi")), btnDelLog(window_->get<Button>("btnDelLog")),
      Timer1(app.toolkit().createTimer(*window_)), OpenDialog1(app.toolkit().createOpenDialog(documentDialog)),
      companions_(app), compileCommand_(app, IniFileName, *this) {
    wireCommands();
    FormCreate();
}

void TForm1::wireCommands() {
    // Once the end of the program is requested, no command starts new work.
    auto command = [this](void (TForm1::*handler)()) {
        return [this, handler] {
            if (!app_.terminated()) (this->*handler)();
        };
    };
    btnOpenTeX.onClick = command(&TForm1::btnOpenTeXClick);
    btnCompile.onClick = command(&TForm1::btnCompileClick);
    btnEditTeX.onClick = command(&TForm1::btnEditTeXClick);
    btnOpenDvi.onClick = command(&TForm1::btnOpenDviClick);
    btnDelLog.onClick = command(&TForm1::btnDelLogClick);

    const std::pair<const char*, void (TForm1::*)()> menuCommands[] = {
        {"Open1", &TForm1::btnOpenTeXClick},    {"Exit1", &TForm1::Exit1Click},
        {"Edit1", &TForm1::btnEditTeXClick},    {"Compile1", &TForm1::btnCompileClick},
        {"Preview1", &TForm1::btnOpenDviClick}, {"DeleteLog1", &TForm1::btnDelLogClick},
        {"Option", &TForm1::OptionClick},       {"Version1", &TForm1::Version1Click},
    };
    for (const auto& [name, handler] : menuCommands)
        window_->menuItem(name).onClick = command(handler);

    Timer1->onTimer = command(&TForm1::Timer1Timer);
    window_->onShow = [this] { FormShow(); };
    window_->onClose = [this] { FormClose(); };
}

void TForm1::FormCreate() {
    {
        settings::SettingsFile settings = settingsFile();
        Timer1->setEnabled(settings.read(settings::autoCompile));
        Timer1->setInterval(settings.read(settings::checkInterval));
        const int top = settings.read(settings::top);
        const int left = settings.read(settings::left);
        window_->setPosition(left, top);
    }
    TeXFileName.clear();
}

void TForm1::FormShow() {
    FileSystem& files = app_.os().files;
    while (files.fileAge(IniFileName) == -1 && !app_.terminated()) {
        app_.messageDialog("初回起動です。エディタ、TeXコンパイラ、DVIウェアを設定してください。",
                           MessageType::Information, mbOK);
        OptionClick();
        if (files.fileAge(IniFileName) == -1) window_->close();
    }
    if (app_.terminated() || !TeXFileName.empty()) return;

    const std::vector<std::string> arguments = text::splitCommandLine(app_.os().program.commandLine());
    if (arguments.size() >= 2)
        SetFileName(arguments[1]);
    else
        openDocument(Opening::AtStartUp);
}

// Closing stores the window's position and ends the program. A position that
// cannot be written is reported, and the program ends all the same.
void TForm1::FormClose() {
    try {
        writeWindowPosition();
    } catch (const Exception& error) {
        app_.showException(error);
    }
    app_.terminate();
}

void TForm1::writeWindowPosition() {
    settings::SettingsFile settings = settingsFile();
    settings.write(settings::top, window_->top());
    settings.write(settings::left, window_->left());
}

void TForm1::SetFileName(const std::string& path) {
    document_ = adoptDocument(app_.os().files, path);
    TeXFileName = document_.texName;
    DviFileName = document_.dviName;
    restoreCaption();
}

void TForm1::btnOpenTeXClick() { openDocument(Opening::ByCommand); }

void TForm1::openDocument(Opening opening) {
    if (app_.executeOpenDialog(*OpenDialog1))
        SetFileName(OpenDialog1->fileName());
    else if (opening == Opening::AtStartUp)
        window_->close();
}

void TForm1::Exit1Click() { window_->close(); }

void TForm1::OptionClick() {
    if (app_.showModal(form2_->window()) != ModalResult::OK) return;
    settings::SettingsFile settings = settingsFile();
    form2_->saveOptions(settings);
    Timer1->setEnabled(form2_->autoCompileChecked());
    Timer1->setInterval(form2_->checkInterval());
}

void TForm1::Version1Click() { app_.showModal(aboutBox_->window()); }

void TForm1::btnCompileClick() { compileCommand_.compile(document_); }

void TForm1::btnEditTeXClick() { companions_.edit(settingsFile().read(settings::editor), document_.texPath); }

void TForm1::btnOpenDviClick() { preview(document_); }

// A missing DVI is offered to be compiled first; the compile, when it ends
// cleanly with automatic preview on, comes back here.
void TForm1::preview(const Document& document) {
    ViewerSettings viewer;
    {
        settings::SettingsFile settings = settingsFile();
        viewer = {settings.read(settings::dviWare), settings.read(settings::useDde), settings.read(settings::focusTeX)};
    }
    if (app_.os().files.fileAge(document.dviPath) == -1) {
        if (app_.messageDialog(document.dviName + "は存在しません。コンパイルしますか？", MessageType::Confirmation,
                               mbYes | mbNo | mbCancel) == ModalResult::Yes)
            compileCommand_.compile(document);
        return;
    }
    companions_.showDvi(document.dviPath, viewer);
}

void TForm1::btnDelLogClick() {
    if (app_.messageDialog("中間ファイルを削除します。よろしいですか？", MessageType::Confirmation,
                           mbYes | mbNo | mbCancel) != ModalResult::Yes)
        return;
    const std::string extensions = settingsFile().read(settings::fileExt);
    if (!document_.texPath.empty()) deleteIntermediateFiles(app_.os().files, document_.texPath, extensions);
}

void TForm1::Timer1Timer() {
    if (!settingsFile().read(settings::autoCompile)) return;
    if (watcher_.shouldCompile(document_, app_.os().files)) btnCompileClick();
}

void TForm1::compileStarting() {
    Timer1->setEnabled(false);
    window_->setCaption("コンパイル中");
}

void TForm1::restoreCaption() { window_->setCaption("Velumo - " + TeXFileName); }

void TForm1::compileEnded() {
    restoreCaption();
    Timer1->setEnabled(settingsFile().read(settings::autoCompile));
}
