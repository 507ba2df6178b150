#pragma once
// A double-click on a line of the log: the editor goes to the place in a file
// that the line speaks of (an error, a warning that names a line, an overfull
// or underfull box), with the error jump's command line and by its rules for
// which file the editor gets. Between compiles the log is the last compile's.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "features/Application.h"
#include "features/Document.h"
#include "text/Lines.h"
#include "text/TexMessages.h"

// What the lines of the log are read against: the document compiled and how
// its compiler wrote its output. The log list holds Shift-JIS output as it
// came, so only UTF-8 output, whose names are looked up by their UTF-8 form,
// is kept beside it: a log of a hundred thousand lines is not held twice.
struct CompiledLog {
    Document document;
    text::OutputEncoding encoding = text::OutputEncoding::CodePage;
    size_t lineCount = 0;       // the compile's own lines of the log list
    text::TextLines utf8Output; // UTF-8 output as written; empty otherwise
};

// The editor's command line for a line of the log, the settings "Editor" and
// "JumpOption" read now; nothing for a line that speaks of no place, or one
// that the compile did not write (the lines the error jump added). written:
// the output as the compiler wrote it, one line each.
std::optional<std::string> logLineJump(Application& app, const CompiledLog& log,
                                       const std::vector<std::string_view>& written, size_t line);
