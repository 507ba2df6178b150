#include "text/CommandLine.h"

#include "text/Cp932.h"

namespace text {
namespace {
std::string quoted(const std::string& s) { return "\"" + s + "\""; }
} // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    size_t i = 0;
    while (true) {
        while (i < commandLine.size() && commandLine[i] != '\0' && isBlank(commandLine[i]))
            ++i;
        if (i >= commandLine.size() || commandLine[i] == '\0') break;
        std::string argument;
        bool inQuotes = false;
        // No second byte of a Shift-JIS character is a blank or a double quote,
        // so a byte-wise scan is safe here.
        for (; i < commandLine.size() && commandLine[i] != '\0' && (inQuotes || !isBlank(commandLine[i])); ++i) {
            if (commandLine[i] == '"')
                inQuotes = !inQuotes;
            else
                argument += commandLine[i];
        }
        arguments.push_back(argument);
    }
    return arguments;
}

std::string compileCommandLine(const std::string& compiler, const std::string& documentFileName) {
    return quoted(compiler) + " " + documentFileName;
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
    return quoted(editor) + " " + option + " " + quoted(document);
}

std::string companionCommandLine(const std::string& program, const std::string& file) {
    return quoted(program) + " " + quoted(file);
}

std::string ddeServerCommandLine(const std::string& service, const std::string& topic) { return service + " " + topic; }

} // namespace text
