#pragma once
// The compile: runs the TeX compiler hidden in the document's folder, shows
// its output in the log list and, with error jumping on, starts the editor at
// the first error's line. One compile runs at a time: one asked for while
// another runs (from a timer tick or a click handled inside the running one)
// runs once more right after it, for the document last asked for, unless the
// end of the program has been requested meanwhile.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "features/Application.h"
#include "features/ConsoleRedirect.h"
#include "features/Document.h"
#include "features/DocumentFiles.h"
#include "settings/SettingsFile.h"

// What a compile asks of the window it runs in.
class CompileWindow {
public:
    virtual ~CompileWindow() = default;
    // The caption says "コンパイル中" and the watcher's timer stops.
    virtual void compileStarting() = 0;
    // The caption names the current document again; the timer stays as it is.
    virtual void restoreCaption() = 0;
    // The caption names the current document again and the timer runs as stored.
    virtual void compileEnded() = 0;
    virtual platform::ListBox& log() = 0;
    // The compiler ran on the document and read these of its files.
    virtual void compileRan(const Document& document, const std::vector<std::string>& filesRead) = 0;
    // A compile that made no error jump, with automatic preview on.
    virtual void previewAfterCompile(const Document& document) = 0;
};

class CompileCommand {
public:
    CompileCommand(Application& app, const settings::SettingsStore& settings, CompileWindow& window)
        : app_(app), settings_(settings), window_(window) {}

    // The document is taken by value: the user may adopt another one while it
    // runs, and its error jump and preview still name its own.
    void compile(Document document);

private:
    void compileOnce(const Document& document);
    // Runs the compiler in the document's folder once no other copy of the
    // program compiles the same document; nothing when the end of the program
    // is requested first.
    std::optional<CapturedOutput> runCompiler(const Document& document, const std::string& compiler);
    // Selects the error, starts the editor at its line in the file TeX was
    // reading, and adds the line number and the editor's command line to the log.
    void jumpToError(const CompileOutput& read, const std::string& editor, const std::string& jumpOption);

    Application& app_;
    const settings::SettingsStore& settings_;
    CompileWindow& window_;
    bool compiling_ = false;
    std::optional<Document> requested_;
};
