#include "text/MessageText.h"

#include "text/Cp932.h"
#include "text/PathParts.h"

namespace text {

std::string applicationTitle(const std::string& executablePath) {
    const std::string fileName = extractFileName(executablePath);
    std::string title;
    for (size_t i = 0; i < fileName.size() && fileName[i] != '.'; i = nextCharIndex(fileName, i)) {
        const size_t next = nextCharIndex(fileName, i);
        std::string character = fileName.substr(i, next - i);
        if (i > 0 && character.size() == 1 && character[0] >= 'A' && character[0] <= 'Z')
            character[0] = static_cast<char>(character[0] - 'A' + 'a');
        title += character;
    }
    return title;
}

std::string errorBoxText(const std::string& message) {
    if (message.empty() || static_cast<unsigned char>(message.back()) <= '.') return message;
    return message + ".";
}

} // namespace text
