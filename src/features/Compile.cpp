#include "features/Compile.h"

#include <future>

#include "features/CompileTurn.h"
#include "features/ConsoleRedirect.h"
#include "features/DocumentFiles.h"
#include "text/CommandLine.h"
#include "text/Lines.h"
#include "text/PathParts.h"

namespace {
// How often the window handles its messages while the output is read.
constexpr int readingPollMs = 50;

struct CompileSettings {
    std::string compiler, editor, jumpOption;
    bool errorJump = false, autoDvi = false;
};

CompileSettings readCompileSettings(const settings::SettingsStore& store) {
    settings::SettingsFile settings = store.open();
    CompileSettings read;
    read.compiler = settings.read(settings::tex);
    read.editor = settings.read(settings::editor);
    read.errorJump = settings.read(settings::errorJumpInCompile);
    read.jumpOption = settings.read(settings::jumpOption);
    read.autoDvi = settings.read(settings::autoDvi);
    return read;
}

// Runs the compiler in the document's folder once no other copy of the
// program compiles the same document; nothing when the end of the program is
// requested first.
std::optional<CapturedOutput> runCompiler(Application& app, const Document& document, const std::string& compiler) {
    const CompileTurn turn(app, document.texPath);
    if (!turn.taken()) return std::nullopt;
    // The document was just found, so its folder is there; should the change
    // still be refused, the compiler reports the file it cannot find.
    (void)app.os().files.setCurrentDirectory(text::extractFileDir(document.texPath));
    return RunConsoleRedirect(app.os().processes, app.toolkit(),
                              text::compileCommandLine(compiler, text::extractFileName(document.texPath)), "R",
                              [&app] { return app.terminated(); });
}
} // namespace

CompileResult compileDocument(Application& app, Watcher& watcher, const Document& document, const ShowLog& showLog) {
    const CompileSettings settings = readCompileSettings(app.settings());
    CompileResult result;
    if (app.os().files.fileAge(document.texPath) == -1) {
        result.outcome = CompileResult::Outcome::NoDocument;
        return result;
    }
    std::optional<CapturedOutput> captured = runCompiler(app, document, settings.compiler);
    if (!captured) return result;
    result.outcome = CompileResult::Outcome::Ran;
    result.cutShort = app.terminated();

    std::string& output = captured->output;
    const text::OutputEncoding encoding = text::encodingOfOutput(output);
    // Names in the output are read as the compiler wrote them: Shift-JIS
    // output is its own log, UTF-8 output is read before it is converted.
    result.encoding = encoding;
    if (encoding == text::OutputEncoding::Utf8) {
        result.log = text::TextLines(app.os().codePage.fromUtf8(output));
        result.utf8Output = text::TextLines(std::move(output));
    } else {
        result.log = text::TextLines(std::move(output));
    }
    const std::vector<std::string_view>& written =
        encoding == text::OutputEncoding::Utf8 ? result.utf8Output.lines() : result.log.lines();
    // The window fills its list while the output is read for its files on a
    // thread of its own: for a log of a hundred thousand lines the reading
    // takes tens of milliseconds that the fill would otherwise wait for. The
    // reading asks nothing but the file system, and it has ended before
    // anything it reads goes out of scope, also when showing the log fails.
    std::future<CompileOutput> reading = std::async(std::launch::async, [&app, &document, &written, encoding] {
        return readCompileOutput(app.os(), document, written, encoding);
    });
    showLog(result.log);
    // The window answers while the reading ends: a close asked for meanwhile
    // ends the program without an editor or viewer started.
    while (reading.wait_for(std::chrono::milliseconds(readingPollMs)) != std::future_status::ready)
        app.toolkit().processMessages();
    CompileOutput read = reading.get();
    result.filesRead = read.filesRead;
    result.messages = std::move(read.messages);
    watcher.compiled(document, read.filesRead, app.os().files);
    result.cutShort = result.cutShort || app.terminated();

    if (settings.errorJump && !result.cutShort && read.errorLine) {
        const std::string option = text::jumpOption(settings.jumpOption, read.lineNumber);
        result.jump =
            ErrorJump{*read.errorLine, read.lineNumber, text::jumpCommandLine(settings.editor, option, read.errorFile)};
    }
    result.previewNext = !result.cutShort && settings.autoDvi && !result.jump;
    return result;
}
