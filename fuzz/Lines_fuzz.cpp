// Splitting a text into lines loses nothing but the breaks: each line followed
// by one line feed gives the text with every break (CR LF, CR or LF) written
// as a line feed, plus one line feed when the text does not end in a break.
#include "FuzzSupport.h"
#include "text/Lines.h"

namespace {
std::string withLineFeedBreaks(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        result += text[i] == '\r' ? '\n' : text[i];
    }
    return result;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::inputText(data, size);
    const std::vector<std::string_view> lines = text::splitLines(text);

    std::string joined;
    for (const std::string_view line : lines) {
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
        joined.append(line) += '\n';
    }
    std::string expected = withLineFeedBreaks(text);
    if (!expected.empty() && expected.back() != '\n') expected += '\n';
    FUZZ_CHECK(joined == expected);
    return 0;
}
