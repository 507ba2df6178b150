#include "features/CompileCommand.h"

#include "features/CompileTurn.h"
#include "features/ConsoleRedirect.h"
#include "features/DocumentFiles.h"
#include "text/ErrorJump.h"
#include "text/Lines.h"
#include "text/PathParts.h"

using namespace platform;

void CompileCommand::compile(Document document) {
    if (app_.terminated()) return;
    if (compiling_) {
        requested_ = std::move(document);
        return;
    }
    compiling_ = true;
    try {
        compileOnce(document);
        while (requested_ && !app_.terminated()) {
            const Document next = *requested_;
            requested_.reset();
            compileOnce(next);
        }
    } catch (...) {
        compiling_ = false;
        requested_.reset();
        throw;
    }
    compiling_ = false;
    requested_.reset();
}

void CompileCommand::compileOnce(const Document& document) {
    window_.compileStarting();

    std::string compiler, editor, jumpOption;
    bool errorJump = false, autoDvi = false;
    {
        settings::SettingsFile settings = settings_.open();
        compiler = settings.read(settings::tex);
        editor = settings.read(settings::editor);
        errorJump = settings.read(settings::errorJumpInCompile);
        jumpOption = settings.read(settings::jumpOption);
        autoDvi = settings.read(settings::autoDvi);
    }

    if (app_.os().files.fileAge(document.texPath) == -1) {
        app_.showMessage(document.texName + "は存在しません。");
    } else if (const std::optional<CapturedOutput> captured = runCompiler(document, compiler)) {
        // A compile cut short by the end of the program starts no editor and no viewer.
        const bool ending = app_.terminated();
        const std::string& output = captured->output;
        const text::OutputEncoding encoding = text::encodingOfOutput(output);
        const std::vector<std::string_view> lines = text::splitLines(output);
        // Output in UTF-8 is shown in the code page; its names are read as
        // the compiler wrote them. Shift-JIS output is shown as it came.
        if (encoding == text::OutputEncoding::Utf8) {
            const std::string shown = app_.os().codePage.fromUtf8(output);
            window_.log().setLines(text::splitLines(shown));
        } else {
            window_.log().setLines(lines);
        }
        const CompileOutput read = readCompileOutput(app_.os(), document, lines, encoding);
        window_.compileRan(document, read.filesRead);
        const bool NoErrorJump = !(errorJump && !ending && read.errorLine);
        if (!NoErrorJump) jumpToError(read, editor, jumpOption);
        if (!ending && autoDvi && NoErrorJump) window_.previewAfterCompile(document);
    }
    window_.compileEnded();
}

std::optional<CapturedOutput> CompileCommand::runCompiler(const Document& document, const std::string& compiler) {
    const CompileTurn turn(app_, document.texPath);
    if (!turn.taken()) return std::nullopt;
    // The document was just found, so its folder is there; should the change
    // still be refused, the compiler reports the file it cannot find.
    (void)app_.os().files.setCurrentDirectory(text::extractFileDir(document.texPath));
    try {
        return RunConsoleRedirect(app_.os().processes, app_.toolkit(),
                                  text::compileCommandLine(compiler, text::extractFileName(document.texPath)), "R",
                                  [this] { return app_.terminated(); });
    } catch (const Exception&) {
        // The caption comes back; the timer stays off, so a compiler that
        // cannot be started is not tried again at every tick.
        window_.restoreCaption();
        throw;
    }
}

void CompileCommand::jumpToError(const CompileOutput& read, const std::string& editor, const std::string& jumpOption) {
    ListBox& log = window_.log();
    log.select(static_cast<int>(*read.errorLine));
    log.addLine(read.lineNumber);
    const std::string jumpCommandLine =
        text::jumpCommandLine(editor, text::jumpOption(jumpOption, read.lineNumber), read.errorFile);
    log.addLine(jumpCommandLine);
    // An editor that cannot be started shows nothing: the jump's command line
    // stands in the log for the user to see.
    (void)app_.os().launcher.winExec(jumpCommandLine, ShowState::Normal);
}
