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

void TForm1::btnCompileClick(const void* sender) {
    if (compiling_) {
        compileRequested_ = true;
        requestedSender_ = sender;
        return;
    }
    compiling_ = true;
    try {
        compileOnce(sender);
        while (compileRequested_) {
            compileRequested_ = false;
            compileOnce(requestedSender_);
        }
    } catch (...) {
        compiling_ = compileRequested_ = false;
        throw;
    }
    compiling_ = false;
}

void TForm1::compileOnce(const void* sender) {
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

    if (app_.os().files.fileAge(TeXFileName) == -1) {
        app_.showMessage(TeXFileName + "は存在しません。");
    } else {
        app_.os().files.setCurrentDirectory(text::extractFileDir(TeXFileName));
        std::string output, errors;
        try {
            RunConsoleRedirect(app_.os().processes, app_.toolkit(),
                               text::compileCommandLine(compiler, text::extractFileName(TeXFileName)), "R", output,
                               errors);
        } catch (const Exception&) {
            // The caption comes back; the timer stays off, so a compiler that
            // cannot be started is not tried again at every tick.
            window_->setCaption("Velumo - " + TeXFileName);
            throw;
        }
        fillLogAndJumpToFirstError(output, errorJump, editor, jumpOption, NoErrorJump);
        afterCompile(NoErrorJump, autoDvi, sender);
    }
    restoreCaptionAndTimer();
}

void TForm1::fillLogAndJumpToFirstError(const std::string& compilerOutput, bool errorJump, const std::string& editor,
                                        const std::string& jumpOption, bool& NoErrorJump) {
    const std::vector<std::string> lines = text::splitLines(compilerOutput);
    ListBox1.setLines(lines);
    if (!errorJump) return;
    const std::optional<size_t> errorLine = text::firstErrorLine(lines);
    if (!errorLine) return;

    ListBox1.select(static_cast<int>(*errorLine));
    const std::string lineNumber = text::lineNumberText(lines, *errorLine);
    ListBox1.addLine(lineNumber);
    const std::string jumpCommandLine =
        text::jumpCommandLine(editor, text::jumpOption(jumpOption, lineNumber), TeXFileName);
    ListBox1.addLine(jumpCommandLine);
    app_.os().launcher.winExec(jumpCommandLine, showNormal);
    NoErrorJump = false;
}

void TForm1::restoreCaptionAndTimer() {
    window_->setCaption("Velumo - " + TeXFileName);
    settings::SettingsFile settings(app_.os().profile, IniFileName);
    Timer1->setEnabled(settings.readBool(key::autoCompile, byDefault::autoCompile));
}
