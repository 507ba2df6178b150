#include "text/TexNotes.h"

#include <algorithm>
#include <optional>

namespace text {
namespace {
// A warning or a box message with its dump takes at most this many lines, so
// each line of the output is read for at most this many messages.
constexpr size_t maxMessageLines = 16;
// TeX counts lines in 31 bits: a longer number is no line of a file.
constexpr size_t maxNumberDigits = 10;

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
    // Most lines of a log start with none of the three words: they are told
    // by their first byte, before the line is searched.
    if (line.empty() || (line[0] != 'L' && line[0] != 'P' && line[0] != 'C')) return std::nullopt;
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

// The message that starts at line first: its own lines are those that TeX's
// line breaks cut it into, a warning's lines that start with its mark, and
// the dump of an \hbox's text.
TexNote noteAt(const std::vector<std::string_view>& lines, size_t first, OutputEncoding encoding,
              std::string& numbers) {
    const std::string_view line = lines[first];
    const bool box = isBoxMessage(line);
    const std::optional<std::string> mark = box ? std::nullopt : warningLineMark(line);
    const size_t limit = std::min(lines.size(), first + maxMessageLines);
    const auto goesOn = [&](size_t last) {
        return last + 1 < limit && wrapsOnto(lines[last], lines[last + 1], encoding);
    };
    std::string text(line);
    size_t last = first;
    while (goesOn(last) || (mark && last + 1 < limit && startsWith(lines[last + 1], *mark)))
        text += lines[++last];
    if (startsHboxDump(line) && last + 1 < limit)
        for (++last; goesOn(last);)
            ++last;
    TexNote note;
    note.first = static_cast<uint32_t>(first);
    note.last = static_cast<uint32_t>(last);
    note.kind = box ? MessageKind::BadBox : MessageKind::Warning;
    const std::string_view number = mark ? inputLineNumber(text) : boxLineNumber(text);
    if (number.size() <= maxNumberDigits) {
        note.numberAt = static_cast<uint32_t>(numbers.size());
        note.numberLength = static_cast<uint8_t>(number.size());
        numbers += number;
    }
    return note;
}

bool startsNote(std::string_view line) { return isBoxMessage(line) || warningLineMark(line); }
} // namespace

// The notes are counted first, so that they are held without room to spare.
std::vector<TexNote> findNotes(const std::vector<std::string_view>& lines, OutputEncoding encoding,
                               std::string& numbers) {
    std::vector<TexNote> notes;
    notes.reserve(static_cast<size_t>(std::count_if(lines.begin(), lines.end(), startsNote)));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!startsNote(lines[i])) continue;
        if (!notes.empty() && notes.back().last >= i) notes.back().last = static_cast<uint32_t>(i - 1);
        notes.push_back(noteAt(lines, i, encoding, numbers));
    }
    return notes;
}

} // namespace text
