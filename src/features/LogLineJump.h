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
#include "text/TexPlaces.h"

// What the lines of the log are read against: the document compiled, how its
// compiler wrote its output, and the messages found when the compile read it.
// The lines themselves are not kept: a log of a hundred thousand lines is
// held once, by the log list.
struct CompiledLog {
    Document document;
    text::OutputEncoding encoding = text::OutputEncoding::CodePage;
    text::LogMessages messages; // one kind for each of the compile's own lines of the list
};

// The editor's command line for a line of the log, the settings "Editor" and
// "JumpOption" read now; nothing for a line that speaks of no place, or one
// that the compile did not write (the lines the error jump added).
std::optional<std::string> logLineJump(Application& app, const CompiledLog& log, size_t line);
