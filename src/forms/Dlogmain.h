#pragma once
// The main window: the current document, the log list, the five command
// buttons and the main menu. Each command is a short handler that hands the
// work to its feature (the compile, the preview, the companions, the watcher,
// the cleanup) and shows what the feature returns.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "features/Application.h"
#include "features/Companions.h"
#include "features/Compile.h"
#include "features/Document.h"
#include "features/LogLineJump.h"
#include "features/Watcher.h"
#include "settings/SettingsFile.h"

class TAboutBox;
class TForm2;

class TForm1 {
public:
    explicit TForm1(Application& app);

    platform::Form& window() { return *window_; }
    // The about box and the options dialog are made after the main window.
    void attachDialogs(TAboutBox& aboutBox, TForm2& optionsDialog) {
        aboutBox_ = &aboutBox;
        form2_ = &optionsDialog;
    }
    Companions& companions() { return companions_; }
    // The document adopted last: its TeXFileName and DviFileName.
    const Document& document() const { return document_; }

    void FormCreate();
    void FormShow();
    void FormClose();

    void SetFileName(const std::string& path);

    void btnOpenTeXClick();
    void Exit1Click();
    void btnCompileClick();
    void btnEditTeXClick();
    void btnOpenDviClick();
    void btnDelLogClick();
    void OptionClick();
    void Version1Click();
    void Timer1Timer();
    // A double-click or Enter on a line of the log.
    void ListBox1DblClick(int line);
    // F4 and Shift+F4: the next or the previous message of the log.
    enum class Step { Forward, Back };
    void stepToMessage(Step step);

private:
    // At start-up, cancelling the open dialog ends the program; from the
    // command it only leaves the document as it was.
    enum class Opening { ByCommand, AtStartUp };
    void openDocument(Opening opening);
    using Command = std::function<void()>;
    void wireCommands();
    void runCommand(const Command& command);
    void writeWindowPosition();
    const std::string& IniFileName() const { return app_.settings().path(); }
    settings::SettingsFile settingsFile() { return app_.settings().open(); }

    // The document is taken by value: the user may adopt another one while a
    // compile runs, and its error jump and preview still name its own.
    void compile(Document document);
    void compileOnce(const Document& document);
    void showErrorJump(const CompileResult& result);
    void preview(Document document);
    void restoreCaption();
    platform::LineTint tintOfLine(int line) const;

    Application& app_;
    TAboutBox* aboutBox_ = nullptr;
    TForm2* form2_ = nullptr;
    std::unique_ptr<platform::Form> window_;
    Document document_;

public:
    // The controls in tab order, as the constructor adds them: the log list,
    // the button panel, then the buttons on it.
    platform::ListBox& ListBox1;
    platform::Control& Panel1;
    platform::Button& btnCompile;
    platform::Button& btnDelLog;
    platform::Button& btnEditTeX;
    platform::Button& btnOpenDvi;
    platform::Button& btnOpenTeX;
    std::unique_ptr<platform::Timer> Timer1;
    std::unique_ptr<platform::OpenDialog> OpenDialog1;

private:
    Companions companions_;
    Watcher watcher_;
    // One compile runs at a time: one asked for while another runs (from a
    // timer tick or a click handled inside the running one) runs once more
    // right after it, for the document last asked for.
    bool compiling_ = false;
    std::optional<Document> compileAsked_;
    // The output of the compile whose log the list shows, for its clicks;
    // none while the list is being refilled or after a compile that failed
    // once it showed its log.
    std::optional<CompiledLog> shownLog_;
    // The commands asked for while an editor or viewer got ready, in order.
    std::deque<Command> heldBack_;
};
