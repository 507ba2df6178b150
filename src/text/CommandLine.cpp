#include "text/CommandLine.h"

namespace text {
namespace {
bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
} // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    size_t i = 0;
    while (true) {
        while (i < commandLine.size() && commandLine[i] != '\0' && isBlank(commandLine[i]))
            ++i;
        if (i >= commandLine.size() || commandLine[i] == '\0') break;
        std::string argument;
        bool quoted = false;
        // No second byte of a Shift-JIS character is a blank or a double quote,
        // so a byte-wise scan is safe here.
        for (; i < commandLine.size() && commandLine[i] != '\0' && (quoted || !isBlank(commandLine[i])); ++i) {
            if (commandLine[i] == '"')
                quoted = !quoted;
            else
                argument += commandLine[i];
        }
        arguments.push_back(argument);
    }
    return arguments;
}

} // namespace text
