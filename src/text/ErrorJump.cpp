#include "text/ErrorJump.h"

namespace text {

std::string compileCommandLine(const std::string& compiler, const std::string& documentFileName) {
    return "\"" + compiler + "\" " + documentFileName;
}

std::optional<size_t> firstErrorLine(const std::vector<std::string>& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].empty() && lines[i][0] == '!') return i;
    return std::nullopt;
}

std::string lineNumberText(const std::string& contextLine) {
    const size_t blank = contextLine.find(' ');
    if (blank == std::string::npos || blank < 3) return {};
    const std::string number = contextLine.substr(2, blank - 2);
    for (char c : number)
        if (c < '0' || c > '9') return {};
    return number;
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
