// The error jump's texts over any input: "%l" is replaced left to right, and
// the editor and the document stay whole arguments of the jump's command line
// whatever the other texts hold.
#include <algorithm>

#include "FuzzSupport.h"
#include "text/CommandLine.h"
#include "text/Lines.h"

namespace {
size_t placeholderCount(const std::string& option) {
    size_t count = 0;
    for (size_t at = option.find("%l"); at != std::string::npos; at = option.find("%l", at + 2))
        ++count;
    return count;
}

bool holdsNo(const std::string& s, char c) { return s.find(c) == std::string::npos; }

void checkCommandLines(const std::string& program, const std::string& option, const std::string& document) {
    if (!holdsNo(program, '"') || !holdsNo(program, '\0')) return;
    std::vector<std::string> expected{program};
    for (const std::string& argument : text::splitCommandLine(document))
        expected.push_back(argument);
    if (holdsNo(document, '\0'))
        FUZZ_CHECK(text::splitCommandLine(text::compileCommandLine(program, document)) == expected);

    if (!holdsNo(document, '"') || !holdsNo(document, '\0') || !holdsNo(option, '\0')) return;
    if (std::count(option.begin(), option.end(), '"') % 2 != 0) return;
    const std::vector<std::string> jump = text::splitCommandLine(text::jumpCommandLine(program, option, document));
    FUZZ_CHECK(jump.size() >= 2 && jump.front() == program && jump.back() == document);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output = fuzz::inputText(data, size);
    const std::vector<std::string_view> lines = text::splitLines(output);

    // A line number as the reader of TeX's output gives it: digits from the input.
    std::string lastNumber;
    for (const char c : output)
        if (c >= '0' && c <= '9' && lastNumber.size() < 6) lastNumber += c;

    FUZZ_CHECK(text::jumpOption(output, "%l") == output);
    const std::string jumped = text::jumpOption(output, lastNumber);
    FUZZ_CHECK(jumped.size() + 2 * placeholderCount(output) ==
               output.size() + lastNumber.size() * placeholderCount(output));

    const auto lineOr = [&](size_t i) { return i < lines.size() ? std::string(lines[i]) : std::string(); };
    checkCommandLines(lineOr(0), text::jumpOption(lineOr(1), lastNumber), lineOr(2));
    return 0;
}
