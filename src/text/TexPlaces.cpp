#include "text/TexPlaces.h"

#include <algorithm>

namespace text {
namespace {
// A message's first line lies at most this many entries before any line of
// it: an error's lines are at most a few dozen (TexFileTrail), a warning's or
// a box's at most sixteen (TexNotes), and no two messages start on one line.
constexpr size_t maxEntriesBack = 64;

void mark(std::vector<MessageKind>& kinds, size_t first, size_t last, MessageKind kind) {
    std::fill(kinds.begin() + static_cast<std::ptrdiff_t>(first),
              kinds.begin() + static_cast<std::ptrdiff_t>(std::min(last + 1, kinds.size())), kind);
}
} // namespace

LogMessages::LogMessages(const std::vector<std::string_view>& lines, TexOutput read)
    : kinds_(lines.size(), MessageKind::None), read_(std::move(read)) {
    std::vector<size_t> errorStarts;
    for (size_t e = 0; e < read_.errors.size(); ++e) {
        const TexError& error = read_.errors[e];
        if (error.line >= lines.size()) continue;
        // "Runaway argument?" and the text that ran away come right before their error.
        const size_t first = error.line >= 2 && isRunawayLine(lines[error.line - 2]) ? error.line - 2 : error.line;
        const size_t last = std::max(error.line, error.lastLine);
        mark(kinds_, first, last, MessageKind::Error);
        entries_.push_back({first, last, MessageKind::Error, e});
        errorStarts.push_back(first);
    }
    // A warning or a box ends where an error starts.
    auto nextError = errorStarts.begin();
    for (size_t n = 0; n < read_.notes.size(); ++n) {
        TexNote& note = read_.notes[n];
        if (note.first >= lines.size()) continue;
        nextError = std::upper_bound(nextError, errorStarts.end(), note.first);
        if (nextError != errorStarts.end() && *nextError <= note.last) note.last = *nextError - 1;
        mark(kinds_, note.first, note.last, note.kind);
        entries_.push_back({note.first, note.last, note.kind, n});
    }
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.first < b.first; });
}

// The line's kind says which of the messages around it holds it.
const LogMessages::Entry* LogMessages::entryOf(size_t line) const {
    const MessageKind kind = kindOf(line);
    if (kind == MessageKind::None) return nullptr;
    auto after = std::upper_bound(entries_.begin(), entries_.end(), line,
                                  [](size_t at, const Entry& entry) { return at < entry.first; });
    for (size_t back = 0; after != entries_.begin() && back < maxEntriesBack; ++back) {
        const Entry& entry = *--after;
        if (entry.kind == kind && line <= entry.last) return &entry;
    }
    return nullptr;
}

std::optional<TexPlace> LogMessages::placeOf(size_t line) const {
    const Entry* entry = entryOf(line);
    if (!entry) return std::nullopt;
    if (entry->kind == MessageKind::Error) {
        const TexError& error = read_.errors[entry->index];
        return TexPlace{error.fileName, error.lineNumber, error.openFiles};
    }
    const TexNote& note = read_.notes[entry->index];
    if (note.lineNumber.empty()) return std::nullopt;
    TexPlace place{{}, note.lineNumber, {}};
    for (uint32_t k = 0; k < note.filesCount; ++k)
        place.openFiles.push_back(read_.opened[read_.noteFiles[note.filesFrom + k]]);
    return place;
}

std::optional<size_t> LogMessages::nextMessage(std::optional<size_t> after) const {
    const auto next = !after ? entries_.begin()
                             : std::upper_bound(entries_.begin(), entries_.end(), *after,
                                                [](size_t at, const Entry& entry) { return at < entry.first; });
    if (next == entries_.end()) return std::nullopt;
    return next->first;
}

std::optional<size_t> LogMessages::previousMessage(std::optional<size_t> before) const {
    const auto next = !before ? entries_.end()
                              : std::lower_bound(entries_.begin(), entries_.end(), *before,
                                                 [](const Entry& entry, size_t at) { return entry.first < at; });
    if (next == entries_.begin()) return std::nullopt;
    return std::prev(next)->first;
}

std::optional<TexPlace> placeOfLine(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists,
                                    OutputEncoding encoding) {
    return LogMessages(lines, readTexOutput(lines, exists, encoding)).placeOf(line);
}

} // namespace text
