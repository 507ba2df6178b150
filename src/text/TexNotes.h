#pragma once
// The warnings and bad boxes of TeX's console output, each with its lines and
// the line of the file it names:
// - "LaTeX Warning: ... on input line 12.", "Package x Warning: ..." and
//   "Class x Warning: ..." with their "(x)" lines, "LaTeX Font Warning:" with
//   its "(Font)" lines; "on input line N." may be cut by TeX's line break;
// - "Overfull \hbox ... at lines 3--4" (the first line) and "... detected at
//   line 7", with the dump of the text that follows them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/TexMessages.h"

namespace text {

// What a line of the log belongs to, for the eye and for the keys that step
// from message to message.
enum class MessageKind : uint8_t { None = 0, Error, Warning, BadBox };

struct TexNote {
    size_t first = 0, last = 0; // its lines
    MessageKind kind = MessageKind::Warning;
    std::string lineNumber; // decimal digits; empty when it names no line
    // The existing files open where it starts, outermost first: indexes
    // [filesFrom, filesFrom + filesCount) of TexOutput::noteFiles.
    uint32_t filesFrom = 0, filesCount = 0;
};

// Every warning and bad box, in the order of their first lines. A line that
// starts one never belongs to the one before. Linear in the output: each
// message reads at most a fixed number of lines after its first.
std::vector<TexNote> findNotes(const std::vector<std::string_view>& lines, OutputEncoding encoding);

} // namespace text
