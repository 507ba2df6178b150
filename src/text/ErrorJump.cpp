#include "text/ErrorJump.h"

namespace text {
std::string compileCommandLine(const std::string& compiler, const std::string& documentFileName) {
    return "\"" + compiler + "\" " + documentFileName;
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
