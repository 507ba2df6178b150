#include "text/FileNames.h"

#include "text/Cp932.h"
#include "text/PathParts.h"

namespace text {
namespace {
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
} // namespace

bool sameFileName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        const size_t next = nextCharIndex(a, i);
        if (next - i == 1) {
            if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
        } else if (a.compare(i, next - i, b, i, next - i) != 0) {
            return false;
        }
        i = next;
    }
    return true;
}

std::string upperCaseFileName(const std::string& name) {
    std::string upper = name;
    for (size_t i = 0; i < upper.size(); i = nextCharIndex(upper, i))
        upper[i] = upperAscii(upper[i]); // a double-byte character's first byte is never a letter
    return upper;
}

bool isFullyQualifiedPath(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    return path.size() >= 3 && !isLeadByte(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
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
