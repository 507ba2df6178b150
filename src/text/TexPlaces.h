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

// The messages of one compile's output, read once: a kind for every line (a
// byte a line) and the messages in the order of their first lines. Each
// question costs at most a logarithm of the messages.
class LogMessages {
public:
    LogMessages() = default;
    // The output's lines and what reading them found.
    LogMessages(const std::vector<std::string_view>& lines, TexOutput read);

    size_t lineCount() const { return kinds_.size(); }
    MessageKind kindOf(size_t line) const { return line < kinds_.size() ? kinds_[line] : MessageKind::None; }
    // The place the message that holds the line speaks of.
    std::optional<TexPlace> placeOf(size_t line) const;
    // The first line of the nearest message that starts after the line (from
    // the top when none is given), or before it.
    std::optional<size_t> nextMessage(std::optional<size_t> after) const;
    std::optional<size_t> previousMessage(std::optional<size_t> before) const;

private:
    struct Entry {
        size_t first, last;
        MessageKind kind;
        size_t index; // of errors_ or notes_, by kind
    };
    const Entry* entryOf(size_t line) const;

    std::vector<MessageKind> kinds_;
    std::vector<Entry> entries_;
    TexOutput read_;
};

// The place the given line of the output speaks of: the output read once for
// that question alone.
std::optional<TexPlace> placeOfLine(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists,
                                    OutputEncoding encoding = OutputEncoding::CodePage);

} // namespace text
