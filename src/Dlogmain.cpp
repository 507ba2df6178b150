#include "Dlogmain.h"

#include "Dlogdlg.h"
#include "Dlogopt.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "text/CommandLine.h"
#include "text/FileNames.h"
#include "text/PathParts.h"

using namespace platform;
namespace key = settings::key;
namespace byDefault = settings::byDefault;

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

TForm1::TForm1(Application& app)
    : app_(app), window_(app.toolkit().createForm(mainForm, mainLayout, mainMenu)),
      ListBox1(window_->get<ListBox>("ListBox1")), btnOpenTeX(window_->get<Button>("btnOpenTeX")),
      btnCompile(window_->get<Button>("btnCompile")), btnEditTeX(window_->get<Button>("btnEditTeX")),
      btnOpenDvi(window_->get<Button>("btnOpenDvi")), btnDelLog(window_->get<Button>("btnDelLog")),
      Timer1(app.toolkit().createTimer(*window_)), OpenDialog1(app.toolkit().createOpenDialog(documentDialog)),
      DdeClientConv1(app.os()) {
    wireCommands();
    FormCreate();
}

void TForm1::wireCommands() {
    // Once the end of the program is requested, no command starts new work.
    auto command = [this](void (TForm1::*handler)(const void*), const void* sender) {
        return [this, handler, sender] {
            if (!app_.terminated()) (this->*handler)(sender);
        };
    };
    btnOpenTeX.onClick = command(&TForm1::btnOpenTeXClick, &btnOpenTeX);
    btnCompile.onClick = command(&TForm1::btnCompileClick, &btnCompile);
    btnEditTeX.onClick = command(&TForm1::btnEditTeXClick, &btnEditTeX);
    btnOpenDvi.onClick = command(&TForm1::btnOpenDviClick, &btnOpenDvi);
    btnDelLog.onClick = command(&TForm1::btnDelLogClick, &btnDelLog);

    const std::pair<const char*, void (TForm1::*)(const void*)> menuCommands[] = {
        {"Open1", &TForm1::btnOpenTeXClick},    {"Exit1", &TForm1::Exit1Click},
        {"Edit1", &TForm1::btnEditTeXClick},    {"Compile1", &TForm1::btnCompileClick},
        {"Preview1", &TForm1::btnOpenDviClick}, {"DeleteLog1", &TForm1::btnDelLogClick},
        {"Option", &TForm1::OptionClick},       {"Version1", &TForm1::Version1Click},
    };
    for (const auto& [name, handler] : menuCommands) {
        MenuItem& item = window_->menuItem(name);
        item.onClick = command(handler, &item);
    }

    Timer1->onTimer = command(&TForm1::Timer1Timer, Timer1.get());
    window_->onShow = [this] { FormShow(); };
    window_->onClose = [this] { FormClose(); };
}

void TForm1::FormCreate() {
    IniFileName = text::changeFileExt(app_.os().program.executablePath(), ".ini");
    {
        settings::SettingsFile settings(app_.os().profile, IniFileName);
        Timer1->setEnabled(settings.readBool(key::autoCompile, byDefault::autoCompile));
        Timer1->setInterval(settings.readInteger(key::checkInterval, byDefault::checkInterval));
        const int top = settings.readInteger(key::top, byDefault::top);
        const int left = settings.readInteger(key::left, byDefault::left);
        window_->setPosition(left, top);
    }
    TeXFileName.clear();
}

void TForm1::FormShow() {
    FileSystem& files = app_.os().files;
    while (files.fileAge(IniFileName) == -1 && !app_.terminated()) {
        app_.messageDialog("初回起動です。エディタ、TeXコンパイラ、DVIウェアを設定してください。",
                           MessageType::Information, mbOK);
        OptionClick(window_.get());
        if (files.fileAge(IniFileName) == -1) window_->close();
    }
    if (app_.terminated() || !TeXFileName.empty()) return;

    const std::vector<std::string> arguments = text::splitCommandLine(app_.os().program.commandLine());
    if (arguments.size() >= 2)
        SetFileName(arguments[1]);
    else
        btnOpenTeXClick(window_.get());
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
    settings::SettingsFile settings(app_.os().profile, IniFileName);
    settings.writeInteger(key::top, window_->top());
    settings.writeInteger(key::left, window_->left());
}

void TForm1::SetFileName(const std::string& path) {
    TeXFileName = text::changeFileExt(path, ".tex");
    DviFileName = text::changeFileExt(path, ".dvi");
    document_ = {TeXFileName, DviFileName, locate(TeXFileName), locate(DviFileName)};
    window_->setCaption("Velumo - " + TeXFileName);
}

// A relative name is resolved against the folder that is current now; a full
// path is kept exactly as given.
std::string TForm1::locate(const std::string& name) {
    return text::isFullyQualifiedPath(name) ? name : app_.os().files.fullPathName(name);
}

void TForm1::btnOpenTeXClick(const void* sender) {
    if (app_.executeOpenDialog(*OpenDialog1))
        SetFileName(OpenDialog1->fileName());
    else if (sender == window_.get())
        window_->close();
}

void TForm1::Exit1Click(const void*) { window_->close(); }

void TForm1::OptionClick(const void*) {
    if (app_.showModal(form2_->window()) != ModalResult::OK) return;
    settings::SettingsFile settings(app_.os().profile, IniFileName);
    form2_->saveOptions(settings);
    Timer1->setEnabled(form2_->autoCompileChecked());
    Timer1->setInterval(form2_->checkInterval());
}

void TForm1::Version1Click(const void*) { app_.showModal(aboutBox_->window()); }
