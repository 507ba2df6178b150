#include "forms/Dlogmain.h"

#include "features/Cleanup.h"
#include "features/Preview.h"
#include "features/WindowPlacement.h"
#include "forms/Dlogdlg.h"
#include "forms/Dlogopt.h"
#include "text/CommandLine.h"

#include <utility>

using namespace platform;

namespace {
// clang-format off
const FormSpec mainForm{.name = "Form1", .caption = "Velumo", .bounds = {0, 0, 267, 269}};

const std::vector<MenuItemSpec> mainMenu{
    {.name = "File1", .caption = "&File"},
    {.name = "Open1", .parent = "File1", .caption = "&Open", .shortcut = "Ctrl+O"},
    {.name = "Exit1", .parent = "File1", .caption = "&Exit"},
    {.name = "TeX", .caption = "&TeX"},
    {.name = "Edit1", .parent = "TeX", .caption = "&Edit"},
    {.name = "Compile1", .parent = "TeX", .caption = "&Compile"},
    {.name = "Preview1", .parent = "TeX", .caption = "&Preview"},
    {.name = "DeleteLog1", .parent = "TeX", .caption = "&Delete Log"},
    {.name = "N1", .parent = "TeX", .caption = "-"},
    {.name = "Option", .caption = "&Option"},
    {.name = "Help", .caption = "&Help", .shortcut = "F1"},
    {.name = "Version1", .parent = "Help", .caption = "&Version"},
};

// A new document's name is taken too: Edit then lets the editor create it.
const OpenDialogSpec documentDialog{.title = "TeXファイルを開く", .filter = "TeXファイル|*.tex|TeXinfoファイル|*.texi",
                                    .defaultExt = "tex", .fileMustExist = false};
// clang-format on
} // namespace

// clang-format off
TForm1::TForm1(Application& app)
    : app_(app), window_(app.toolkit().createForm(mainForm, mainMenu)),
      ListBox1(window_->add<ControlKind::ListBox>({.name = "ListBox1", .bounds = {0, 137, 259, 86}, .hint = "ログ表示", .align = Align::Client, .itemHeight = 12})),
      Panel1(window_->add<ControlKind::Panel>({.name = "Panel1", .bounds = {0, 0, 259, 137}, .align = Align::Top})),
      btnCompile(window_->add<ControlKind::Button>({.name = "btnCompile", .parent = "Panel1", .bounds = {136, 8, 97, 25}, .caption = "Compile TeXfile", .hint = "コンパイルしてDVIファイルを作成"})),
      btnDelLog(window_->add<ControlKind::Button>({.name = "btnDelLog", .parent = "Panel1", .bounds = {136, 88, 97, 25}, .caption = "Delete Logfile", .hint = "ログファイルを削除"})),
      btnEditTeX(window_->add<ControlKind::Button>({.name = "btnEditTeX", .parent = "Panel1", .bounds = {32, 48, 65, 65}, .caption = "Edit TeXfile", .hint = "TeXファイルを編集"})),
      btnOpenDvi(window_->add<ControlKind::Button>({.name = "btnOpenDvi", .parent = "Panel1", .bounds = {136, 48, 97, 25}, .caption = "Preview DVIfile", .hint = "DVIファイルを表示"})),
      btnOpenTeX(window_->add<ControlKind::Button>({.name = "btnOpenTeX", .parent = "Panel1", .bounds = {16, 8, 97, 25}, .caption = "Open TeXfile", .hint = "使用するTeXファイルを開く"})),
      Timer1(app.toolkit().createTimer(*window_)), OpenDialog1(app.toolkit().createOpenDialog(documentDialog)),
      companions_(app) {
    wireCommands();
    FormCreate();
}
// clang-format on

void TForm1::wireCommands() {
    auto command = [this](void (TForm1::*handler)()) {
        return [this, handler] { runCommand([this, handler] { (this->*handler)(); }); };
    };
    btnOpenTeX.onClick = command(&TForm1::btnOpenTeXClick);
    btnCompile.onClick = command(&TForm1::btnCompileClick);
    btnEditTeX.onClick = command(&TForm1::btnEditTeXClick);
    btnOpenDvi.onClick = command(&TForm1::btnOpenDviClick);
    btnDelLog.onClick = command(&TForm1::btnDelLogClick);

    const std::pair<const char*, void (TForm1::*)()> menuCommands[] = {
        {"Open1", &TForm1::btnOpenTeXClick},     {"Edit1", &TForm1::btnEditTeXClick},
        {"Compile1", &TForm1::btnCompileClick},  {"Preview1", &TForm1::btnOpenDviClick},
        {"DeleteLog1", &TForm1::btnDelLogClick}, {"Option", &TForm1::OptionClick},
        {"Version1", &TForm1::Version1Click},
    };
    for (const auto& [name, handler] : menuCommands)
        window_->menuItem(name).onClick = command(handler);
    // The exit, like the close box, is never held back.
    window_->menuItem("Exit1").onClick = [this] {
        if (!app_.terminated()) Exit1Click();
    };

    Timer1->onTimer = command(&TForm1::Timer1Timer);
    ListBox1.onOpenLine = [this](int line) { runCommand([this, line] { ListBox1DblClick(line); }); };
    ListBox1.tintOf = [this](int line) { return tintOfLine(line); };
    window_->addKeyCommand("F4", [this] { runCommand([this] { stepToMessage(Step::Forward); }); });
    window_->addKeyCommand("Shift+F4", [this] { runCommand([this] { stepToMessage(Step::Back); }); });
    window_->onShow = [this] { FormShow(); };
    window_->onClose = [this] { FormClose(); };
}

// Once the end of the program is requested, no command starts new work. One
// asked for while an editor or viewer gets ready runs once the command that
// started it is done, as it would had the window not answered meanwhile.
void TForm1::runCommand(const Command& command) {
    if (app_.terminated()) return;
    if (companions_.waiting()) {
        heldBack_.push_back(command);
        return;
    }
    command();
    while (!heldBack_.empty() && !app_.terminated()) {
        const Command next = std::move(heldBack_.front());
        heldBack_.pop_front();
        next();
    }
}

void TForm1::FormCreate() {
    {
        settings::SettingsFile settings = settingsFile();
        Timer1->setEnabled(settings.read(settings::autoCompile));
        Timer1->setInterval(settings.read(settings::checkInterval));
        const int top = settings.read(settings::top);
        const int left = settings.read(settings::left);
        const WindowPosition shown = reachablePosition(app_.os().desktop, {left, top}, window_->width(),
                                                       window_->height(), window_->titleBarHeight());
        window_->setPosition(shown.left, shown.top);
    }
}

void TForm1::FormShow() {
    FileSystem& files = app_.os().files;
    while (files.fileAge(IniFileName()) == -1 && !app_.terminated()) {
        app_.messageDialog("初回起動です。エディタ、TeXコンパイラ、DVIウェアを設定してください。",
                           MessageType::Information, mbOK);
        OptionClick();
        if (files.fileAge(IniFileName()) == -1) window_->close();
    }
    if (app_.terminated() || !document_.TeXFileName.empty()) return;

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

void TForm1::btnCompileClick() { compile(document_); }

void TForm1::btnEditTeXClick() { companions_.edit(settingsFile().read(settings::editor), document_.texPath); }

void TForm1::btnOpenDviClick() { preview(document_); }

void TForm1::btnDelLogClick() {
    if (app_.messageDialog("中間ファイルを削除します。よろしいですか？", MessageType::Confirmation,
                           mbYes | mbNo | mbCancel) != ModalResult::Yes)
        return;
    const std::string extensions = settingsFile().read(settings::fileExt);
    if (!document_.texPath.empty()) deleteIntermediateFiles(app_.os().files, document_.texPath, extensions);
}

// The dialog shows what the settings file holds now, so that OK writes back
// only what the user saw: another copy of the program, or a text editor, may
// have changed the file since the last showing.
void TForm1::OptionClick() {
    form2_->loadStoredOptions();
    if (app_.showModal(form2_->window()) != ModalResult::OK) return;
    settings::SettingsFile settings = settingsFile();
    form2_->saveOptions(settings);
    watcher_.settingsChanged();
    Timer1->setEnabled(form2_->autoCompileChecked());
    Timer1->setInterval(form2_->checkInterval());
}

void TForm1::Version1Click() { app_.showModal(aboutBox_->window()); }

void TForm1::Timer1Timer() {
    if (!settingsFile().read(settings::autoCompile)) return;
    if (watcher_.shouldCompile(document_, app_.os().files)) btnCompileClick();
}

// The editor goes where the line of the log says, as the error jump sends it.
// During a compile the list is being refilled, and a line means nothing yet.
void TForm1::ListBox1DblClick(int line) {
    if (compiling_ || !shownLog_ || line < 0) return;
    if (const std::optional<std::string> commandLine = logLineJump(app_, *shownLog_, static_cast<size_t>(line)))
        companions_.editAtError(*commandLine);
}

// F4 and Shift+F4: the next or the previous message of the last compile's
// log, from the selected line, shown and opened as a double-click opens it.
// There is nothing to go to during a compile, whose log is being refilled.
void TForm1::stepToMessage(Step step) {
    if (compiling_) return;
    const int selected = ListBox1.selectedIndex();
    const std::optional<size_t> from = selected >= 0 ? std::optional<size_t>(selected) : std::nullopt;
    int target = -1;
    if (shownLog_) {
        const text::LogMessages& messages = shownLog_->messages;
        const std::optional<size_t> found =
            step == Step::Forward ? messages.nextMessage(from) : messages.previousMessage(from);
        if (found) target = static_cast<int>(*found);
    }
    if (target < 0) {
        app_.toolkit().beep();
        return;
    }
    ListBox1.select(target);
    ListBox1DblClick(target);
}

// Each line is drawn in the colour of the message it belongs to.
LineTint TForm1::tintOfLine(int line) const {
    if (!shownLog_ || line < 0) return LineTint::Plain;
    switch (shownLog_->messages.kindOf(static_cast<size_t>(line))) {
    case text::MessageKind::Error:
        return LineTint::Error;
    case text::MessageKind::Warning:
        return LineTint::Warning;
    case text::MessageKind::BadBox:
        return LineTint::Quiet;
    case text::MessageKind::None:
        break;
    }
    return LineTint::Plain;
}

void TForm1::compile(Document document) {
    if (app_.terminated()) return;
    if (compiling_) {
        compileAsked_ = std::move(document);
        return;
    }
    compiling_ = true;
    struct Idle {
        TForm1& form;
        ~Idle() {
            form.compiling_ = false;
            form.compileAsked_.reset();
        }
    } idle{*this};
    std::optional<Document> next = std::move(document);
    while (next && !app_.terminated()) {
        compileOnce(*next);
        next = std::exchange(compileAsked_, std::nullopt);
    }
}

// While a compile runs, the caption says "コンパイル中" and the watcher's timer
// is off; at its end the caption names the current document again and the
// timer runs as stored.
void TForm1::compileOnce(const Document& document) {
    Timer1->setEnabled(false);
    window_->setCaption("コンパイル中");
    CompileResult result;
    try {
        result = compileDocument(app_, watcher_, document, [this](const text::TextLines& log) {
            shownLog_.reset();
            ListBox1.setLines(log.lines());
        });
    } catch (const Exception&) {
        // The timer stays off, so a compiler that cannot be started is not
        // tried again at every tick.
        restoreCaption();
        throw;
    }
    if (result.outcome == CompileResult::Outcome::NoDocument)
        app_.showMessage(document.TeXFileName + "は存在しません。");
    // The log shows its colours before the error jump's editor gets ready.
    if (result.outcome == CompileResult::Outcome::Ran) {
        shownLog_ = CompiledLog{document, result.encoding, std::move(result.messages)};
        ListBox1.redraw();
        showErrorJump(result);
    }
    if (result.previewNext) preview(document);
    restoreCaption();
    Timer1->setEnabled(settingsFile().read(settings::autoCompile));
}

void TForm1::showErrorJump(const CompileResult& result) {
    if (!result.jump) return;
    ListBox1.select(static_cast<int>(result.jump->errorLine));
    ListBox1.addLine(result.jump->lineNumber);
    ListBox1.addLine(result.jump->editorCommandLine);
    companions_.editAtError(result.jump->editorCommandLine);
}

// A preview without a DVI may ask for a compile; the document is taken by
// value, as the compile takes it.
void TForm1::preview(Document document) {
    if (previewDocument(app_, companions_, document) == PreviewResult::CompileAsked) compile(std::move(document));
}

void TForm1::restoreCaption() { window_->setCaption("Velumo - " + document_.TeXFileName); }
