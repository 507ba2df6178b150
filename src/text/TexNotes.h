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

// A warning or a bad box, in a few bytes: a log may hold one on every other
// line. Lines are counted in 32 bits, as a program of 32 bits can hold no
// output of more lines.
struct TexNote {
    uint32_t first = 0, last = 0; // its lines
    // The digits of the line it names, at numberAt of the notes' numbers;
    // none (numberLength 0) when it names no line.
    uint32_t numberAt = 0;
    // The existing files open where it starts, outermost first: indexes
    // [filesFrom, filesFrom + filesCount) of TexOutput::noteFiles.
    uint32_t filesFrom = 0;
    uint8_t numberLength = 0, filesCount = 0;
    MessageKind kind = MessageKind::Warning;
};

// Every warning and bad box, in the order of their first lines; the digits
// of the lines they name go to numbers. A line that starts one never belongs
// to the one before. Linear in the output: each message reads at most a fixed
// number of lines after its first.
std::vector<TexNote> findNotes(const std::vector<std::string_view>& lines, OutputEncoding encoding,
                               std::string& numbers);

} // namespace text
