#include "text/TexPlaces.h"

#include <algorithm>

namespace text {
namespace {
// A warning or a bad box takes at most this many lines (TexNotes), so its
// first line lies at most this far above any line of it.
constexpr size_t maxNoteLines = 16;
// Errors whose lines may hold a given line: the nearest that starts at or
// above it, and one or two before it whose lines run on past the runaway
// text of the next.
constexpr size_t maxErrorsBack = 4;
} // namespace

void LogMessages::mark(size_t first, size_t last, MessageKind kind) {
    const size_t end = std::min(last + 1, lines_.size());
    for (size_t line = first; line < end; ++line)
        lines_[line] = static_cast<uint8_t>(kind);
    lines_[first] |= startBit;
}

LogMessages::LogMessages(const std::vector<std::string_view>& lines, TexOutput read)
    : lines_(lines.size(), 0), read_(std::move(read)) {
    for (const TexError& error : read_.errors) {
        // "Runaway argument?" and the text that ran away come right before their error.
        const size_t first = error.line >= 2 && error.line < lines.size() && isRunawayLine(lines[error.line - 2])
                                 ? error.line - 2
                                 : error.line;
        errorFirsts_.push_back(first);
        if (first < lines.size()) mark(first, std::max(error.line, error.lastLine), MessageKind::Error);
    }
    // A warning or a box ends where an error starts.
    auto nextError = errorFirsts_.begin();
    for (TexNote& note : read_.notes) {
        if (note.first >= lines.size()) continue;
        nextError = std::upper_bound(nextError, errorFirsts_.end(), note.first);
        if (nextError != errorFirsts_.end() && *nextError <= note.last) note.last = static_cast<uint32_t>(*nextError - 1);
        mark(note.first, note.last, note.kind);
    }
}

// The line's kind says which message around it holds it: an error (TeX
// reports at most a hundred), or the warning or box that starts nearest above.
std::optional<TexPlace> LogMessages::placeOf(size_t line) const {
    const MessageKind kind = kindOf(line);
    if (kind == MessageKind::Error) {
        // The errors come in the order of their lines; one's first line may
        // reach back before the one before it only by its runaway text.
        size_t e = static_cast<size_t>(std::upper_bound(errorFirsts_.begin(), errorFirsts_.end(), line) -
                                       errorFirsts_.begin());
        for (size_t back = 0; e-- > 0 && back < maxErrorsBack; ++back) {
            const TexError& error = read_.errors[e];
            if (errorFirsts_[e] <= line && line <= std::max(error.line, error.lastLine))
                return TexPlace{error.fileName, error.lineNumber, error.openFiles};
        }
        return std::nullopt;
    }
    if (kind == MessageKind::None) return std::nullopt;
    size_t first = line;
    while (!startsMessage(first) && first > 0 && line - first < maxNoteLines)
        --first;
    const auto note = std::lower_bound(read_.notes.begin(), read_.notes.end(), first,
                                       [](const TexNote& n, size_t at) { return n.first < at; });
    if (note == read_.notes.end() || note->first != first || note->numberLength == 0) return std::nullopt;
    TexPlace place{{}, read_.noteNumbers.substr(note->numberAt, note->numberLength), {}};
    for (uint32_t k = 0; k < note->filesCount; ++k)
        place.openFiles.push_back(read_.opened[read_.noteFiles[note->filesFrom + k]]);
    return place;
}

std::optional<size_t> LogMessages::nextMessage(std::optional<size_t> after) const {
    for (size_t line = after ? *after + 1 : 0; line < lines_.size(); ++line)
        if (startsMessage(line)) return line;
    return std::nullopt;
}

std::optional<size_t> LogMessages::previousMessage(std::optional<size_t> before) const {
    for (size_t line = before ? std::min(*before, lines_.size()) : lines_.size(); line-- > 0;)
        if (startsMessage(line)) return line;
    return std::nullopt;
}

} // namespace text
