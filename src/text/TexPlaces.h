#pragma once
// Which place in a file a line of TeX's console output speaks of, so that a
// double-click on the line can send the editor there:
// - a line of an error's message or context, from its "!" or "file:line:"
//   line to the line after its context line "l.N" (and the "Runaway
//   argument?" lines just before it): the error's file and line;
// - a warning that names a line of the file TeX was reading, over all of its
//   lines: "LaTeX Warning: ... on input line 12.", "Package x Warning: ..."
//   and "Class x Warning: ..." with their "(x)" lines, "LaTeX Font Warning:"
//   with its "(Font)" lines; "on input line N." may be cut by TeX's line break;
// - "Overfull \hbox ... at lines 3--4" (the first line) and "... detected at
//   line 7", with the dump of the text that follows them.
// Any other line speaks of no place.
#include <optional>
#include <string>
#include <vector>

#include "text/TexFileTrail.h"

namespace text {

struct TexPlace {
    // The file TeX names itself (the -file-line-error form); empty when it names none.
    std::string fileName;
    // Decimal digits; empty for an error that shows no line.
    std::string lineNumber;
    // The existing files open where the message starts, outermost first.
    std::vector<std::string> openFiles;
};

// The place the given line of the output speaks of. Reads the output at
// most twice: linear in it.
std::optional<TexPlace> placeOfLine(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists,
                                    OutputEncoding encoding = OutputEncoding::CodePage);

} // namespace text
