// The compile: runs the TeX compiler hidden in the document's folder, shows
// its output in the log list and, with error jumping on, starts the editor at
// the first error's line.
#include "ConsoleRedirect.h"
#include "Dlogmain.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "text/ErrorJump.h"
#include "text/Lines.h"
#include "text/PathParts.h"

using namespace platform;
namespace key = settings::key;
namespace byDefault = settings::byDefault;

void TForm1::btnCompileClick(const void* sender) { compile(document_, sender); }

// A compile belongs to the document it started with, taken by value: the user
// may adopt another one while it runs, and its error jump and preview still
// name its own.
void TForm1::compile(Document document, const void* sender) {
    if (app_.terminated()) return;
    if (compiling_) {
        compileRequested_ = true;
        requestedDocument_ = document;
        requestedSender_ = sender;
        return;
    }
    compiling_ = true;
    try {
        compileOnce(document, sender);
        while (compileRequested_ && !app_.terminated()) {
            compileRequested_ = false;
            const Document requested = requestedDocument_;
            compileOnce(requested, requestedSender_);
        }
    } catch (...) {
        compiling_ = compileRequested_ = false;
        throw;
    }
    compiling_ = compileRequested_ = false;
}

void TForm1::compileOnce(const Document& document, const void* sender) {
    bool NoErrorJump = true;
    Timer1->setEnabled(false);
    window_->setCaption("コンパイル中");

    std::string compiler, editor, jumpOption;
    bool errorJump = false, autoDvi = false;
    {
        settings::SettingsFile settings(app_.os().profile, IniFileName);
        compiler = settings.readString(key::tex, byDefault::tex);
        editor = settings.readString(key::editor, byDefault::editor);
        errorJump = settings.readBool(key::errorJump, byDefault::errorJumpInCompile);
        jumpOption = settings.readString(key::jumpOption, byDefault::jumpOption);
        autoDvi = settings.readBool(key::autoDvi, byDefault::autoDvi);
    }

    if (app_.os().files.fileAge(document.texPath) == -1) {
        app_.showMessage(document.texName + "は存在しません。");
    } else {
        app_.os().files.setCurrentDirectory(text::extractFileDir(document.texPath));
        std::string output, errors;
        try {
            RunConsoleRedirect(app_.os().processes, app_.toolkit(),
                               text::compileCommandLine(compiler, text::extractFileName(document.texPath)), "R", output,
                               errors, [this] { return app_.terminated(); });
        } catch (const Exception&) {
            // The caption comes back; the timer stays off, so a compiler that
            // cannot be started is not tried again at every tick.
            window_->setCaption("Velumo - " + TeXFileName);
            throw;
        }
        // A compile cut short by the end of the program starts no editor and no viewer.
        const bool ending = app_.terminated();
        fillLogAndJumpToFirstError(document, output, errorJump && !ending, editor, jumpOption, NoErrorJump);
        if (!ending) afterCompile(document, NoErrorJump, autoDvi, sender);
    }
    restoreCaptionAndTimer();
}

void TForm1::fillLogAndJumpToFirstError(const Document& document, const std::string& compilerOutput, bool errorJump,
                                        const std::string& editor, const std::string& jumpOption, bool& NoErrorJump) {
    const std::vector<std::string> lines = text::splitLines(compilerOutput);
    ListBox1.setLines(lines);
    if (!errorJump) return;
    const std::optional<size_t> errorLine = text::firstErrorLine(lines);
    if (!errorLine) return;

    ListBox1.select(static_cast<int>(*errorLine));
    const std::string lineNumber = text::lineNumberText(lines, *errorLine);
    ListBox1.addLine(lineNumber);
    const std::string jumpCommandLine =
        text::jumpCommandLine(editor, text::jumpOption(jumpOption, lineNumber), document.texPath);
    ListBox1.addLine(jumpCommandLine);
    app_.os().launcher.winExec(jumpCommandLine, showNormal);
    NoErrorJump = false;
}

void TForm1::restoreCaptionAndTimer() {
    window_->setCaption("Velumo - " + TeXFileName);
    settings::SettingsFile settings(app_.os().profile, IniFileName);
    Timer1->setEnabled(settings.readBool(key::autoCompile, byDefault::autoCompile));
}
