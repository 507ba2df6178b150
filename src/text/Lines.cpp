#include "text/Lines.h"

#include <algorithm>
#include <cstring>

namespace text {
namespace {
// Where the next byte c is at or after from, or the text's size. memchr looks
// at many bytes a step, which a loop over a log of megabytes notices.
size_t nextByte(std::string_view text, size_t from, char c) {
    const void* found = std::memchr(text.data() + from, c, text.size() - from);
    return found ? static_cast<size_t>(static_cast<const char*>(found) - text.data()) : text.size();
}
} // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    // Room for a line at each line feed and one more: the views of a log are
    // allocated once (lone carriage returns, which are rare, may add lines).
    size_t lineFeeds = 0;
    for (size_t at = nextByte(text, 0, '\n'); at < text.size(); at = nextByte(text, at + 1, '\n'))
        ++lineFeeds;
    lines.reserve(lineFeeds + 1);
    size_t start = 0, nextCr = nextByte(text, 0, '\r'), nextLf = nextByte(text, 0, '\n');
    while (start < text.size()) {
        if (nextCr < start) nextCr = nextByte(text, start, '\r');
        if (nextLf < start) nextLf = nextByte(text, start, '\n');
        const size_t end = std::min(nextCr, nextLf);
        if (end == text.size()) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (end == nextCr && nextLf == end + 1 ? 2 : 1);
    }
    return lines;
}

} // namespace text
