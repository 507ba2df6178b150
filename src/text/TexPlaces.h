#pragma once
// Which message each line of TeX's console output belongs to, and which place
// in a file that message speaks of, so that the log can show each kind apart
// and a double-click or a key can send the editor there:
// - an error, from its "!" or "file:line:" line (and the "Runaway
//   argument?" lines just before it) to the line after its context line
//   "l.N": the error's file and line;
// - a warning or a bad box (TexNotes.h) that names a line: that line of the
//   file TeX was reading where the message starts. One that names no line
//   is still a message, with no place.
// A warning that starts inside an error's lines (after an error that showed
// no context) takes its own lines from the error.
#include <cstdint>
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

// The messages of one compile's output, read once: a byte for every line,
// which tells the kind of message it belongs to and whether the message starts
// there, and what the reading found. A line's message is found among the few
// lines above it; stepping to the next message reads the bytes on the way.
class LogMessages {
public:
    LogMessages() = default;
    // The output's lines and what reading them found.
    LogMessages(const std::vector<std::string_view>& lines, TexOutput read);

    size_t lineCount() const { return lines_.size(); }
    MessageKind kindOf(size_t line) const {
        return line < lines_.size() ? static_cast<MessageKind>(lines_[line] & kindBits) : MessageKind::None;
    }
    // The place the message that holds the line speaks of.
    std::optional<TexPlace> placeOf(size_t line) const;
    // The first line of the nearest message that starts after the line (from
    // the top when none is given), or before it (from the bottom).
    std::optional<size_t> nextMessage(std::optional<size_t> after) const;
    std::optional<size_t> previousMessage(std::optional<size_t> before) const;

private:
    static constexpr uint8_t kindBits = 0x03, startBit = 0x80;
    bool startsMessage(size_t line) const { return (lines_[line] & startBit) != 0; }
    void mark(size_t first, size_t last, MessageKind kind);

    std::vector<uint8_t> lines_;
    std::vector<size_t> errorFirsts_; // each error's first line, with a "Runaway argument?" before it
    TexOutput read_;
};

} // namespace text
