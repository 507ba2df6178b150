#include "text/Lines.h"

#include <algorithm>

namespace text {

// One plain pass over the bytes: the C runtime's memchr under Wine looks at a
// byte at a time anyway, and a call for each break of a hundred thousand
// lines costs more than the loop.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    // Room for a line at each line feed and one more: the views of a log are
    // allocated once (lone carriage returns, which are rare, may add lines).
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    const char* const bytes = text.data();
    const size_t size = text.size();
    size_t start = 0;
    for (size_t at = 0; at < size; ++at) {
        const char c = bytes[at];
        if (static_cast<unsigned char>(c) > '\r' || (c != '\n' && c != '\r')) continue;
        lines.emplace_back(bytes + start, at - start);
        if (c == '\r' && at + 1 < size && bytes[at + 1] == '\n') ++at;
        start = at + 1;
    }
    if (start < size) lines.emplace_back(bytes + start, size - start);
    return lines;
}

} // namespace text
