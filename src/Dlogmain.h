#pragma once
// The main window: the current document, the log list, the five command
// buttons and the main menu. It owns the document state and runs every command.
#include <cstdint>
#include <memory>
#include <string>

#include "Application.h"
#include "DdeClientConv.h"
#include "Document.h"

class TAboutBox;
class TForm2;

class TForm1 {
public:
    explicit TForm1(Application& app);

    platform::Form& window() { return *window_; }
    // The about box and the options dialog are created after the main window
    // (the options dialog reads the settings path from it).
    void attachDialogs(TAboutBox& aboutBox, TForm2& optionsDialog) {
        aboutBox_ = &aboutBox;
        form2_ = &optionsDialog;
    }

    void FormCreate();
    void FormShow();
    void FormClose();

    void SetFileName(const std::string& path);

    void btnOpenTeXClick(const void* sender);
    void Exit1Click(const void* sender);
    void OptionClick(const void* sender);
    void btnCompileClick(const void* sender);
    void btnEditTeXClick(const void* sender);
    void btnOpenDviClick(const void* sender);
    void btnDelLogClick(const void* sender);
    void Version1Click(const void* sender);
    void Timer1Timer(const void* sender);

    std::string TeXFileName;
    std::string DviFileName;
    std::string IniFileName;

private:
    void wireCommands();
    void writeWindowPosition();
    std::string locate(const std::string& name);
    void compile(Document document, const void* sender);
    void compileOnce(const Document& document, const void* sender);
    void fillLogAndJumpToFirstError(const Document& document, const std::string& compilerOutput, bool errorJump,
                                    const std::string& editor, const std::string& jumpOption, bool& NoErrorJump);
    void afterCompile(const Document& document, bool NoErrorJump, bool autoDvi, const void* sender);
    void restoreCaptionAndTimer();
    void preview(Document document, const void* sender);
    void refreshViewerOverDde(const std::string& dviPath);

    Document document_;

    // The document and its file age when the watcher last compiled it.
    struct WatchedVersion {
        std::string texPath;
        int32_t age = -1;
        bool operator==(const WatchedVersion&) const = default;
    };
    WatchedVersion lastWatcherCompile_;

    // A compile asked for while one runs is not started beside it (both would
    // write the same files): it runs once more right after the running one,
    // unless the end of the program has been requested meanwhile.
    bool compiling_ = false;
    bool compileRequested_ = false;
    Document requestedDocument_;
    const void* requestedSender_ = nullptr;

    Application& app_;
    TAboutBox* aboutBox_ = nullptr;
    TForm2* form2_ = nullptr;
    std::unique_ptr<platform::Form> window_;

public:
    platform::ListBox& ListBox1;
    platform::Button& btnOpenTeX;
    platform::Button& btnCompile;
    platform::Button& btnEditTeX;
    platform::Button& btnOpenDvi;
    platform::Button& btnDelLog;
    std::unique_ptr<platform::Timer> Timer1;
    std::unique_ptr<platform::OpenDialog> OpenDialog1;
    DdeClientConv DdeClientConv1;
};
