// Splitting a command line: the text up to its first zero byte, cut at every
// blank outside double quotes, each non-empty piece without its quotes, is an
// argument; and arguments that are quoted and joined come back unchanged.
#include "FuzzSupport.h"
#include "text/CommandLine.h"

namespace {
bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::vector<std::string> piecesBetweenUnquotedBlanks(const std::string& commandLine) {
    const std::string text = commandLine.substr(0, commandLine.find('\0'));
    std::vector<std::string> pieces(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (!quoted && isBlank(c)) {
            if (!pieces.back().empty()) pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    if (pieces.back().empty()) pieces.pop_back();
    return pieces;
}

std::string withoutQuotes(std::string piece) {
    std::erase(piece, '"');
    return piece;
}

std::string quotedAndJoined(const std::vector<std::string>& arguments) {
    std::string commandLine;
    for (const std::string& argument : arguments)
        commandLine += "\"" + argument + "\" ";
    return commandLine;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string commandLine = fuzz::inputText(data, size);
    const std::vector<std::string> arguments = text::splitCommandLine(commandLine);

    const std::vector<std::string> pieces = piecesBetweenUnquotedBlanks(commandLine);
    FUZZ_CHECK(arguments.size() == pieces.size());
    for (size_t i = 0; i < arguments.size() && i < pieces.size(); ++i)
        FUZZ_CHECK(arguments[i] == withoutQuotes(pieces[i]));

    FUZZ_CHECK(text::splitCommandLine(quotedAndJoined(arguments)) == arguments);
    return 0;
}
