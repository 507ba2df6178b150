// What TeX's output tells, read from any output in either encoding: every
// name in the result stands in the text (a name that went on over a line
// break joined again) and was answered as existing, the files open at an
// error are among the files opened, no name is asked about twice; each error
// starts on a "!" line or on the line of an existing name followed by
// ":digits:" (or on a line the name was broken from), errors come in order
// of their lines, and their line numbers are decimal digits. No name longer
// than a Windows path is asked about.
#include <algorithm>
#include <set>

#include "FuzzSupport.h"
#include "text/Lines.h"
#include "text/TexFileTrail.h"

namespace {
// A name exists by a rule of its bytes, so that some do and some don't. No
// name longer than 128 bytes exists, so that output whose readings reach far
// costs what it costs when none of them is a file.
bool existsByRule(const std::string& name) {
    if (name.size() > 128) return false;
    unsigned sum = 0;
    for (unsigned char c : name)
        sum = sum * 31 + c;
    return sum % 3 != 0;
}
bool isDecimal(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output = fuzz::inputText(data, size);
    const std::vector<std::string_view> lines = text::splitLines(output);
    std::string joined;
    for (std::string_view line : lines)
        joined.append(line);

    const text::OutputEncoding encoding = size % 2 ? text::OutputEncoding::Utf8 : text::OutputEncoding::CodePage;
    std::set<std::string> asked;
    bool askedTwice = false, askedTooLong = false;
    const auto exists = [&](const std::string& name) {
        askedTwice |= !asked.insert(name).second;
        // No Windows path is longer than 259 characters of up to three bytes each.
        askedTooLong |= name.size() > 259 * 3;
        return existsByRule(name);
    };
    const text::TexOutput read = text::readTexOutput(lines, exists, encoding);

    FUZZ_CHECK(!askedTwice && !askedTooLong);
    // Each name found is looked for in the output too, but only the first
    // few hundred: the search is this check's own cost, which for thousands
    // of names would measure the check rather than the reader against the
    // time allowed for an input.
    size_t searched = 0;
    for (const std::string& name : read.opened) {
        FUZZ_CHECK(!name.empty() && asked.count(name) && existsByRule(name));
        if (++searched <= 256) FUZZ_CHECK(joined.find(name) != std::string::npos);
    }
    FUZZ_CHECK(std::set<std::string>(read.opened.begin(), read.opened.end()).size() == read.opened.size());
    FUZZ_CHECK(read.errors.size() <= text::maxErrorsRead(joined.size() + lines.size()));
    for (size_t i = 0; i < read.errors.size(); ++i) {
        const text::TexError& error = read.errors[i];
        FUZZ_CHECK(error.line < lines.size());
        if (i > 0) FUZZ_CHECK(error.line > read.errors[i - 1].line);
        FUZZ_CHECK(isDecimal(error.lineNumber));
        if (error.fileName.empty()) {
            FUZZ_CHECK(text::isErrorLine(lines[error.line]));
        } else {
            FUZZ_CHECK(existsByRule(error.fileName) && joined.find(error.fileName) != std::string::npos);
            FUZZ_CHECK(error.fileName.rfind(lines[error.line], 0) == 0 ||
                       lines[error.line].substr(0, error.fileName.size() + 1) == error.fileName + ":");
        }
        for (const std::string& name : error.openFiles)
            FUZZ_CHECK(std::find(read.opened.begin(), read.opened.end(), name) != read.opened.end());
    }
    return 0;
}
