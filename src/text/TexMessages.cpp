#include "text/TexMessages.h"

#include <algorithm>

namespace text {
namespace {
constexpr size_t maxPrintLine = 79;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
unsigned char firstByte(std::string_view s) { return s.empty() ? 0 : static_cast<unsigned char>(s[0]); }

// The bytes of the character that a byte starts, as TeX reckons them when it
// decides to break early.
size_t characterBytes(unsigned char lead, OutputEncoding encoding) {
    if (encoding == OutputEncoding::CodePage) return isLeadByte(lead) ? 2 : 1;
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

size_t utf8Characters(std::string_view s) {
    size_t count = 0;
    for (const char c : s)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}
} // namespace

// TeX's line breaks may fall inside a character of several bytes (upTeX
// names a file of an error byte by byte): they are stepped over there.
OutputEncoding encodingOfOutput(std::string_view output) {
    bool severalBytes = false;
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    for (size_t i = 0; i < output.size();) {
        const unsigned char lead = static_cast<unsigned char>(output[i++]);
        if (lead < 0x80) continue;
        const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                              : lead >= 0xE0 && lead <= 0xEF ? 3
                              : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                             : 0;
        if (length == 0) return OutputEncoding::CodePage;
        // No overlong form, no surrogate, nothing past U+10FFFF.
        unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        for (size_t k = 1; k < length; ++k) {
            while (i < output.size() && isLineEnd(output[i]))
                ++i;
            if (i == output.size()) return OutputEncoding::CodePage;
            const unsigned char next = static_cast<unsigned char>(output[i++]);
            if (next < low || next > high) return OutputEncoding::CodePage;
            low = 0x80;
            high = 0xBF;
        }
        severalBytes = true;
    }
    return severalBytes ? OutputEncoding::Utf8 : OutputEncoding::CodePage;
}

bool isErrorLine(std::string_view line) { return !line.empty() && line[0] == '!'; }

std::optional<FileLineError> fileLineError(std::string_view line) {
    // The name ends at the first ":digits:" after its first byte, so that a
    // drive ("C:/texmf/...") stays part of it.
    for (size_t colon = line.find(':', 1); colon != std::string_view::npos; colon = line.find(':', colon + 1)) {
        size_t end = colon + 1;
        while (end < line.size() && isDigit(line[end]))
            ++end;
        if (end > colon + 1 && end < line.size() && line[end] == ':')
            return FileLineError{line.substr(0, colon), line.substr(colon + 1, end - colon - 1)};
    }
    return std::nullopt;
}

bool isContextLine(std::string_view line) { return line.size() > 2 && startsWith(line, "l.") && isDigit(line[2]); }

std::string_view contextLineNumber(std::string_view contextLine) {
    const size_t blank = contextLine.find(' ');
    if (blank == std::string_view::npos || blank < 3) return {};
    const std::string_view number = contextLine.substr(2, blank - 2);
    for (const char c : number)
        if (!isDigit(c)) return {};
    return number;
}

bool isRunawayLine(std::string_view line) { return startsWith(line, "Runaway ") && line.back() == '?'; }

// The box a line's "Overfull \hbox (" and its kin speak of: 'h', 'v', or
// nothing for any other line. Most lines are passed by their first byte.
static char boxOfMessage(std::string_view line) {
    if (line.empty() || (line[0] != 'O' && line[0] != 'U' && line[0] != 'T' && line[0] != 'L')) return 0;
    for (const std::string_view kind : {"Overfull \\", "Underfull \\", "Tight \\", "Loose \\"})
        if (startsWith(line, kind) && line.size() > kind.size() && line.substr(kind.size() + 1, 5) == "box (")
            return line[kind.size()];
    return 0;
}

bool startsHboxDump(std::string_view line) { return boxOfMessage(line) == 'h'; }

bool isBoxMessage(std::string_view line) {
    const char box = boxOfMessage(line);
    return box == 'h' || box == 'v';
}

bool isBoxListingLine(std::string_view line) {
    if (startsWith(line, "\\hbox(") || startsWith(line, "\\vbox(")) return true;
    const size_t dots = line.find_first_not_of('.');
    return dots > 0 && dots != std::string_view::npos && (line[dots] == '\\' || line[dots] == '|');
}

bool isMessageContinuation(std::string_view line) {
    if (line.empty() || line[0] != '(') return false;
    // A package's name is a short word: a file's name, which most lines that
    // start with "(" hold, is given up on at a separator.
    constexpr size_t longestName = 40;
    size_t close = 1;
    const size_t end = std::min(line.size(), longestName);
    while (close < end && line[close] != ' ' && line[close] != '(' && line[close] != ')' && line[close] != '/' &&
           line[close] != '\\')
        ++close;
    return close > 1 && close < line.size() && line[close] == ')' && line.substr(close + 1, 2) == "  ";
}

bool isQuotingMessage(std::string_view line) {
    return startsWith(line, "Missing character: There is no ") ||
           line == "(If you can't figure out why I needed to see a number," ||
           line == "look up `weird error' in the index to The TeXbook.)";
}

bool startsPdfTexMessage(std::string_view text) {
    return startsWith(text, "pdfTeX warning") || startsWith(text, "pdfTeX error");
}

bool isEmergencyStop(std::string_view line) {
    if (startsWith(line, "! Emergency stop.")) return true;
    // "./main.tex:24: Emergency stop."
    const std::optional<FileLineError> named = fileLineError(line);
    return named && line.substr(named->name.size() + named->lineNumber.size() + 2) == " Emergency stop.";
}

// pTeX whose inner encoding is EUC-JP or Shift-JIS counts a character of
// several bytes as the two bytes it takes inside, also when it prints UTF-8.
size_t innerColumns(std::string_view s) {
    size_t columns = 0;
    for (const char c : s) {
        const unsigned char byte = static_cast<unsigned char>(c);
        columns += byte < 0x80 ? 1 : (byte & 0xC0) != 0x80 ? 2 : 0;
    }
    return columns;
}

bool wrapsOnto(std::string_view line, std::string_view next, OutputEncoding encoding) {
    if (line.size() == maxPrintLine) return true;
    if (encoding == OutputEncoding::Utf8 && line.size() > maxPrintLine) {
        if (utf8Characters(line) == maxPrintLine) return true;
        // Broken one column early rather than split a two-column character.
        const size_t columns = innerColumns(line);
        return columns == maxPrintLine || (columns == maxPrintLine - 1 && firstByte(next) >= 0xC0);
    }
    return line.size() < maxPrintLine && line.size() + characterBytes(firstByte(next), encoding) > maxPrintLine;
}

bool mayWrap(std::string_view line, OutputEncoding encoding) {
    const size_t longestCharacter = encoding == OutputEncoding::CodePage ? 2 : 4;
    return line.size() + longestCharacter > maxPrintLine;
}

} // namespace text
