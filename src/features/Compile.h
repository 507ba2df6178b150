#pragma once
// The compile: runs the TeX compiler hidden in the document's folder and
// reads its output. It returns what happened; the window shows it, and starts
// the editor and the viewer that the result asks for.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "features/Application.h"
#include "features/Document.h"
#include "features/Watcher.h"
#include "text/Lines.h"
#include "text/TexMessages.h"
#include "text/TexPlaces.h"

// The jump to the compile's first error: the log line to select, the line
// number in the file TeX was reading (may be empty) and the editor's command
// line on that file, both added to the log to show what was run.
struct ErrorJump {
    size_t errorLine = 0;
    std::string lineNumber;
    std::string editorCommandLine;
};

struct CompileResult {
    enum class Outcome {
        NoDocument, // the document's file is not there; nothing ran
        NotRun,     // the end of the program was requested before the compiler's turn came
        Ran,
    };
    Outcome outcome = Outcome::NotRun;
    // The end of the program was requested while the compiler ran (it was
    // ended) or while its output was read: no editor or viewer starts.
    bool cutShort = false;
    // The compiler's output as the log shows it, one line each: output in
    // UTF-8 is shown in the code page, Shift-JIS output as it came. A log of
    // a hundred thousand lines is held once, not once more for each line.
    text::TextLines log;
    // How the compiler wrote it; output in UTF-8 is kept as written too, since
    // the names in it are looked up by their UTF-8 form.
    text::OutputEncoding encoding = text::OutputEncoding::CodePage;
    text::TextLines utf8Output;
    // With error jumping on, the first error's jump.
    std::optional<ErrorJump> jump;
    // Every file of the document that the compile read.
    std::vector<std::string> filesRead;
    // Every error, warning and bad box of the log, and each line's kind.
    text::LogMessages messages;
    // No error jump was made and automatic preview is on.
    bool previewNext = false;
};

// Shows the log of a compile that ran, as soon as it is there.
using ShowLog = std::function<void(const text::TextLines& log)>;

// Compiles the document once. Its settings are read at the start, in the
// settings file's order. When the compiler ran, its log goes to showLog while
// the output is still being read for the document's files and first error,
// and the watcher learns the version done. Raises EOSError when the compiler
// cannot be started.
CompileResult compileDocument(Application& app, Watcher& watcher, const Document& document, const ShowLog& showLog);
