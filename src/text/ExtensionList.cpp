#include "text/ExtensionList.h"

#include "text/Cp932.h"

namespace text {
namespace {
bool endsItem(char c) { return isBlank(c) || c == ','; }

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
    // A zero byte ends the text, as it ends any text the settings file gives;
    // nothing after it is read.
    const std::string text = list.substr(0, list.find('\0'));
    std::vector<std::string> items;
    size_t i = skipBlanks(text, 0);
    while (i < text.size()) {
        items.push_back(text[i] == '"' ? quotedItem(text, i) : plainItem(text, i));
        i = skipBlanks(text, i);
        if (i < text.size() && text[i] == ',') {
            if (i + 1 == text.size()) items.emplace_back();
            i = skipBlanks(text, i + 1);
        }
    }
    return items;
}

} // namespace text
