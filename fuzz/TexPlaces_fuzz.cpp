// The place a line of any output speaks of, in either encoding: none past the
// last line; a place's line number is decimal digits, its file named by TeX
// or open there, and each of its files answered as existing.
#include <algorithm>

#include "FuzzSupport.h"
#include "text/Lines.h"
#include "text/TexPlaces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output = fuzz::inputText(data, size);
    const std::vector<std::string_view> lines = text::splitLines(output);
    const text::OutputEncoding encoding = size % 2 ? text::OutputEncoding::Utf8 : text::OutputEncoding::CodePage;
    const auto exists = [](const std::string& name) { return name.size() % 3 != 0; };
    for (size_t line = 0; line <= lines.size(); ++line) {
        const std::optional<text::TexPlace> place = text::placeOfLine(lines, line, exists, encoding);
        FUZZ_CHECK(!place || line < lines.size());
        if (!place) continue;
        FUZZ_CHECK(std::all_of(place->lineNumber.begin(), place->lineNumber.end(),
                               [](char c) { return c >= '0' && c <= '9'; }));
        FUZZ_CHECK(place->fileName.empty() || exists(place->fileName));
        FUZZ_CHECK(std::all_of(place->openFiles.begin(), place->openFiles.end(), exists));
    }
    return 0;
}
