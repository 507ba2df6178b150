#include "text/FileNames.h"

#include "text/Cp932.h"
#include "text/PathParts.h"

namespace text {
namespace {
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
} // namespace

std::string upperCaseFileName(const std::string& name) {
    std::string upper = name;
    for (size_t i = 0; i < upper.size(); i = nextCharIndex(upper, i))
        upper[i] = upperAscii(upper[i]); // a double-byte character's first byte is never a letter
    return upper;
}

bool sameFileName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && upperCaseFileName(a) == upperCaseFileName(b);
}

bool isFullyQualifiedPath(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    return path.size() >= 3 && !isLeadByte(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
}

bool isRootedPath(const std::string& path) {
    if (!path.empty() && path[0] == '\\') return true;
    return path.size() >= 2 && !isLeadByte(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool isPlainExtension(const std::string& item) {
    static const std::string forbidden = "\\/:*?\"<>|";
    for (size_t i = 0; i < item.size(); i = nextCharIndex(item, i)) {
        const unsigned char c = static_cast<unsigned char>(item[i]);
        if (c < ' ' || (!isLeadByte(c) && forbidden.find(item[i]) != std::string::npos)) return false;
    }
    return true;
}

bool isCleanupTarget(const std::string& target, const std::string& document) {
    return sameFileName(extractFileDir(target), extractFileDir(document)) && !sameFileName(target, document) &&
           !sameFileName(target, changeFileExt(document, ""));
}

} // namespace text
