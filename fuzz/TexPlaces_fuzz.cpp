// The messages of any output, in either encoding: read once, every line has a
// kind, and only a line of a message has a place, whose line number is
// decimal digits and whose files were each answered as existing; F4 from the
// top reaches every message once, in order, each at a line of that message.
#include <algorithm>

#include "FuzzSupport.h"
#include "text/Lines.h"
#include "text/TexPlaces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output = fuzz::inputText(data, size);
    const std::vector<std::string_view> lines = text::splitLines(output);
    const text::OutputEncoding encoding = size % 2 ? text::OutputEncoding::Utf8 : text::OutputEncoding::CodePage;
    const auto exists = [](const std::string& name) { return name.size() % 3 != 0; };
    const text::LogMessages messages(lines, text::readTexOutput(lines, exists, encoding));
    FUZZ_CHECK(messages.lineCount() == lines.size());
    for (size_t line = 0; line <= lines.size(); ++line) {
        const std::optional<text::TexPlace> place = messages.placeOf(line);
        FUZZ_CHECK(!place || messages.kindOf(line) != text::MessageKind::None);
        if (!place) continue;
        FUZZ_CHECK(std::all_of(place->lineNumber.begin(), place->lineNumber.end(),
                               [](char c) { return c >= '0' && c <= '9'; }));
        FUZZ_CHECK(place->fileName.empty() || exists(place->fileName));
        FUZZ_CHECK(std::all_of(place->openFiles.begin(), place->openFiles.end(), exists));
    }
    std::optional<size_t> previous;
    for (std::optional<size_t> at; (at = messages.nextMessage(at)); previous = at) {
        FUZZ_CHECK(!previous || *previous < *at);
        FUZZ_CHECK(messages.kindOf(*at) != text::MessageKind::None);
        FUZZ_CHECK(messages.previousMessage(*at) == previous);
    }
    FUZZ_CHECK(messages.previousMessage(std::nullopt) == previous);
    return 0;
}
