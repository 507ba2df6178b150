#include "text/TexPlaces.h"

#include <algorithm>

namespace text {
namespace {
// A warning or a box message with its dump takes at most this many lines.
constexpr size_t maxMessageLines = 16;

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string_view leadingDigits(std::string_view text) {
    size_t end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    return text.substr(0, end);
}

// "Package hyperref Warning: ...": how the warning's further lines start:
// with "(hyperref)" for a package's or a class's warning, "(Font)" for
// "LaTeX Font Warning", a blank for LaTeX's own warnings.
std::optional<std::string> warningLineMark(std::string_view line) {
    const size_t at = line.find(" Warning: ");
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view source = line.substr(0, at);
    if (source == "LaTeX") return " ";
    for (const std::string_view kind : {"LaTeX ", "Package ", "Class "})
        if (startsWith(source, kind) && source.size() > kind.size() &&
            source.find(' ', kind.size()) == std::string_view::npos)
            return "(" + std::string(source.substr(kind.size())) + ")";
    return std::nullopt;
}

// "... on input line 12." at the end of a warning.
std::string_view inputLineNumber(std::string_view text) {
    const std::string_view phrase = "on input line ";
    const size_t at = text.rfind(phrase);
    if (at == std::string_view::npos) return {};
    const std::string_view number = leadingDigits(text.substr(at + phrase.size()));
    const size_t end = at + phrase.size() + number.size();
    return end < text.size() && text[end] == '.' ? number : std::string_view();
}

// "... in paragraph at lines 3--4" gives 3, "... detected at line 7" gives 7.
std::string_view boxLineNumber(std::string_view text) {
    for (const std::string_view phrase : {" at lines ", " at line "})
        if (const size_t at = text.find(phrase); at != std::string_view::npos)
            return leadingDigits(text.substr(at + phrase.size()));
    return {};
}

bool startsMessage(std::string_view line) { return isBoxMessage(line) || warningLineMark(line); }

struct Message {
    size_t last = 0; // its last line
    std::string lineNumber;
};

// The message that starts at line first, when it names a line: its own lines
// are those that TeX's line breaks cut it into, a warning's lines that start
// with its mark, and the dump of an \hbox's text.
std::optional<Message> messageAt(const std::vector<std::string_view>& lines, size_t first, OutputEncoding encoding) {
    const std::string_view line = lines[first];
    const std::optional<std::string> mark = isBoxMessage(line) ? std::nullopt : warningLineMark(line);
    const size_t limit = std::min(lines.size(), first + maxMessageLines);
    const auto goesOn = [&](size_t last) {
        return last + 1 < limit && wrapsOnto(lines[last], lines[last + 1], encoding);
    };
    std::string text(line);
    size_t last = first;
    while (goesOn(last) || (mark && last + 1 < limit && startsWith(lines[last + 1], *mark)))
        text += lines[++last];
    const std::string_view number = mark ? inputLineNumber(text) : boxLineNumber(text);
    if (number.empty()) return std::nullopt;
    if (startsHboxDump(line) && last + 1 < limit)
        for (++last; goesOn(last);)
            ++last;
    return Message{last, std::string(number)};
}

// The message that holds the line: the nearest one that starts at or above it.
std::optional<std::pair<size_t, Message>> messageAround(const std::vector<std::string_view>& lines, size_t line,
                                                        OutputEncoding encoding) {
    for (size_t first = line + 1; first-- > 0 && line - first < maxMessageLines;) {
        if (!startsMessage(lines[first])) continue;
        std::optional<Message> message = messageAt(lines, first, encoding);
        if (!message || message->last < line) return std::nullopt;
        return std::pair{first, std::move(*message)};
    }
    return std::nullopt;
}

std::optional<TexPlace> errorPlace(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists,
                                   OutputEncoding encoding) {
    TexOutput read = readTexOutput(lines, exists, encoding);
    for (TexError& error : read.errors) {
        if (error.line > line + 2) break;
        // "Runaway argument?" and the text that ran away come right before their error.
        const size_t first = error.line >= 2 && isRunawayLine(lines[error.line - 2]) ? error.line - 2 : error.line;
        if (first <= line && line <= error.lastLine)
            return TexPlace{std::move(error.fileName), std::move(error.lineNumber), std::move(error.openFiles)};
    }
    return std::nullopt;
}
} // namespace

// A warning is looked for first: its lines are few and near, and one that
// follows an error without context is no part of that error.
std::optional<TexPlace> placeOfLine(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists,
                                    OutputEncoding encoding) {
    if (line >= lines.size()) return std::nullopt;
    if (const auto message = messageAround(lines, line, encoding))
        return TexPlace{{}, message->second.lineNumber, filesOpenAt(lines, message->first, exists, encoding)};
    return errorPlace(lines, line, exists, encoding);
}

} // namespace text
