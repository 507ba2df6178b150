#include "text/PathParts.h"

#include "text/Cp932.h"

namespace text {
namespace {
constexpr size_t none = std::string::npos;

struct Delimiters {
    size_t lastSeparator = none;            // last "\" or ":"
    size_t lastDot = none;                  // last "." after lastSeparator
    bool separatorFollowsSeparator = false; // the character before lastSeparator is "\" or ":"
};

Delimiters findDelimiters(const std::string& path) {
    Delimiters found;
    bool previousIsSeparator = false;
    for (size_t i = 0; i < path.size(); i = nextCharIndex(path, i)) {
        const bool isSeparator = path[i] == '\\' || path[i] == ':';
        if (isSeparator) {
            found.lastSeparator = i;
            found.lastDot = none;
            found.separatorFollowsSeparator = previousIsSeparator;
        } else if (path[i] == '.') {
            found.lastDot = i;
        }
        previousIsSeparator = isSeparator;
    }
    return found;
}
} // namespace

std::string extractFileExt(const std::string& path) {
    const size_t dot = findDelimiters(path).lastDot;
    return dot == none ? std::string() : path.substr(dot);
}

std::string changeFileExt(const std::string& path, const std::string& newExt) {
    const size_t dot = findDelimiters(path).lastDot;
    return (dot == none ? path : path.substr(0, dot)) + newExt;
}

std::string extractFileName(const std::string& path) {
    const size_t separator = findDelimiters(path).lastSeparator;
    return separator == none ? path : path.substr(separator + 1);
}

std::string extractFileDir(const std::string& path) {
    const Delimiters found = findDelimiters(path);
    const size_t separator = found.lastSeparator;
    if (separator == none) return std::string();
    const bool dropBackslash = separator > 0 && path[separator] == '\\' && !found.separatorFollowsSeparator;
    return path.substr(0, dropBackslash ? separator : separator + 1);
}

} // namespace text
