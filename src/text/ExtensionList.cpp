#include "text/ExtensionList.h"

#include "text/Cp932.h"

namespace text {
namespace {
bool isBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }
bool endsItem(char c) { return static_cast<unsigned char>(c) <= ' ' || c == ','; }

size_t skipBlanks(const std::string& s, size_t i) {
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

// The quoted item starting at the quote at i; i moves past its closing quote
// (or to the end, for a quote that is never closed).
std::string quotedItem(const std::string& s, size_t& i) {
    std::string item;
    ++i;
    while (i < s.size()) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                item += '"';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        const size_t next = nextCharIndex(s, i);
        item.append(s, i, next - i);
        i = next;
    }
    return item;
}

std::string plainItem(const std::string& s, size_t& i) {
    const size_t start = i;
    while (i < s.size() && !endsItem(s[i]))
        i = nextCharIndex(s, i);
    return s.substr(start, i - start);
}
} // namespace

std::vector<std::string> splitExtensionList(const std::string& list) {
    std::vector<std::string> items;
    size_t i = skipBlanks(list, 0);
    while (i < list.size()) {
        items.push_back(list[i] == '"' ? quotedItem(list, i) : plainItem(list, i));
        i = skipBlanks(list, i);
        if (i < list.size() && list[i] == ',') {
            if (i + 1 == list.size()) items.emplace_back();
            i = skipBlanks(list, i + 1);
        }
    }
    return items;
}

} // namespace text
