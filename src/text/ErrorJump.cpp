#include "text/ErrorJump.h"

namespace text {
namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isErrorLine(std::string_view line) { return !line.empty() && line[0] == '!'; }

// TeX's context line: "l.", the line number, a blank, then the source text.
bool isContextLine(std::string_view line) { return line.size() > 2 && line.substr(0, 2) == "l." && isDigit(line[2]); }

std::string numberOfContextLine(std::string_view contextLine) {
    const size_t blank = contextLine.find(' ');
    if (blank == std::string_view::npos || blank < 3) return {};
    const std::string_view number = contextLine.substr(2, blank - 2);
    for (char c : number)
        if (!isDigit(c)) return {};
    return std::string(number);
}
} // namespace

std::string compileCommandLine(const std::string& compiler, const std::string& documentFileName) {
    return "\"" + compiler + "\" " + documentFileName;
}

std::optional<size_t> firstErrorLine(const std::vector<std::string_view>& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (isErrorLine(lines[i])) return i;
    return std::nullopt;
}

// Several of TeX's messages put lines of their own ("<inserted text>", "<to be
// read again>", the rest of the message) between the error and its context line.
std::string lineNumberText(const std::vector<std::string_view>& lines, size_t errorLine) {
    if (errorLine >= lines.size()) return {};
    for (size_t i = errorLine + 1; i < lines.size() && !isErrorLine(lines[i]); ++i)
        if (isContextLine(lines[i])) return numberOfContextLine(lines[i]);
    return {};
}

std::string jumpOption(const std::string& option, const std::string& lineNumber) {
    std::string result;
    for (size_t i = 0; i < option.size(); ++i) {
        if (option.compare(i, 2, "%l") == 0) {
            result += lineNumber;
            ++i;
        } else {
            result += option[i];
        }
    }
    return result;
}

std::string jumpCommandLine(const std::string& editor, const std::string& option, const std::string& document) {
    return "\"" + editor + "\" " + option + " \"" + document + "\"";
}

} // namespace text
