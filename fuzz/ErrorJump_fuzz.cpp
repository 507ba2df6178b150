// The error jump over a compiler's output (the input, split into lines): the
// first error line is the first line starting with "!", an error's line number
// is decimal digits taken from its context line or empty, "%l" is replaced left
// to right, and the editor and the document stay whole arguments of the jump's
// command line whatever the other texts hold.
#include <algorithm>

#include "FuzzSupport.h"
#include "text/CommandLine.h"
#include "text/ErrorJump.h"
#include "text/Lines.h"

namespace {
bool isErrorLine(std::string_view line) { return !line.empty() && line[0] == '!'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isDecimal(const std::string& s) { return std::all_of(s.begin(), s.end(), isDigit); }

// Reads the line number as TeX writes it: the first line after the error that
// starts with "l." and a digit, up to the next error; its text from the third
// character up to the first blank, when that is all digits.
std::string expectedLineNumber(const std::vector<std::string_view>& lines, size_t errorLine) {
    for (size_t i = errorLine + 1; i < lines.size() && !isErrorLine(lines[i]); ++i) {
        const std::string line(lines[i]);
        if (line.size() < 3 || line[0] != 'l' || line[1] != '.' || !isDigit(line[2])) continue;
        const size_t blank = line.find(' ');
        if (blank == std::string::npos) return {};
        const std::string number = line.substr(2, blank - 2);
        return isDecimal(number) ? number : std::string();
    }
    return {};
}

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

    const std::optional<size_t> first = text::firstErrorLine(lines);
    const size_t end = first.value_or(lines.size());
    FUZZ_CHECK(end <= lines.size());
    FUZZ_CHECK(std::none_of(lines.begin(), lines.begin() + end, isErrorLine));
    if (first) FUZZ_CHECK(isErrorLine(lines[*first]));

    std::string lastNumber;
    for (size_t errorLine = 0; errorLine < lines.size(); ++errorLine) {
        if (!isErrorLine(lines[errorLine])) continue;
        const std::string number = text::lineNumberText(lines, errorLine);
        FUZZ_CHECK(isDecimal(number));
        FUZZ_CHECK(number == expectedLineNumber(lines, errorLine));
        lastNumber = number;
    }
    FUZZ_CHECK(text::lineNumberText(lines, lines.size()).empty());

    FUZZ_CHECK(text::jumpOption(output, "%l") == output);
    const std::string jumped = text::jumpOption(output, lastNumber);
    FUZZ_CHECK(jumped.size() + 2 * placeholderCount(output) ==
               output.size() + lastNumber.size() * placeholderCount(output));

    const auto lineOr = [&](size_t i) { return i < lines.size() ? std::string(lines[i]) : std::string(); };
    checkCommandLines(lineOr(0), text::jumpOption(lineOr(1), lastNumber), lineOr(2));
    return 0;
}
