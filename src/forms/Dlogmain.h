#pragma once
// The main window: the current document, the log list, the five command
// buttons and the main menu. Each command is a short handler that hands the
// work to its feature: the compile, the companions (editor and viewer), the
// watcher and the cleanup.
#include <memory>
#include <string>

#include "features/Application.h"
#include "features/Companions.h"
#include "features/CompileCommand.h"
#include "features/Document.h"
#include "features/Preview.h"
#include "features/Watcher.h"
#include "settings/SettingsFile.h"

class TAboutBox;
class TForm2;

class TForm1 : private CompileWindow {
public:
    TForm1(Application& app, const settings::SettingsStore& settings);

    platform::Form& window() { return *window_; }
    // The about box and the options dialog are made after the main window.
    void attachDialogs(TAboutBox& aboutBox, TForm2& optionsDialog) {
        aboutBox_ = &aboutBox;
        form2_ = &optionsDialog;
    }
    Companions& companions() { return companions_; }

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

    std::string TeXFileName;
    std::string DviFileName;
    const std::string IniFileName;

private:
    // At start-up, cancelling the open dialog ends the program; from the
    // command it only leaves the document as it was.
    enum class Opening { ByCommand, AtStartUp };
    void openDocument(Opening opening);
    void wireCommands();
    void writeWindowPosition();
    settings::SettingsFile settingsFile() { return settings_.open(); }

    void compileStarting() override;
    void restoreCaption() override;
    void compileEnded() override;
    platform::ListBox& log() override { return ListBox1; }
    void compileRan(const Document& document, const std::vector<std::string>& filesRead) override {
        watcher_.compiled(document, filesRead, app_.os().files);
    }
    void previewAfterCompile(const Document& document) override { preview_.show(document); }

    Application& app_;
    const settings::SettingsStore& settings_;
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
    CompileCommand compileCommand_;
    Preview preview_;
};
