// Which files TeX had open, read from any output: every name in the result
// stands in the text (a name that went on over a line break joined again),
// was answered as existing, and the files open at a line are all among the
// files opened; no name is asked about twice.
#include <algorithm>
#include <set>

#include "FuzzSupport.h"
#include "text/Lines.h"
#include "text/TexFileTrail.h"

namespace {
// A name exists by a rule of its bytes, so that some do and some don't.
bool existsByRule(const std::string& name) {
    unsigned sum = 0;
    for (unsigned char c : name)
        sum = sum * 31 + c;
    return sum % 3 != 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output = fuzz::inputText(data, size);
    const std::vector<std::string_view> lines = text::splitLines(output);
    std::string joined;
    for (std::string_view line : lines)
        joined.append(line);

    std::set<std::string> asked;
    bool askedTwice = false;
    const auto exists = [&](const std::string& name) {
        askedTwice |= !asked.insert(name).second;
        return existsByRule(name);
    };
    const size_t line = lines.empty() ? 0 : size % lines.size();
    const text::FilesInOutput files = text::readFilesInOutput(lines, line, exists);

    FUZZ_CHECK(!askedTwice);
    for (const std::string& name : files.opened) {
        FUZZ_CHECK(!name.empty() && asked.count(name) && existsByRule(name));
        FUZZ_CHECK(joined.find(name) != std::string::npos);
    }
    FUZZ_CHECK(std::set<std::string>(files.opened.begin(), files.opened.end()).size() == files.opened.size());
    for (const std::string& name : files.openAtLine)
        FUZZ_CHECK(std::find(files.opened.begin(), files.opened.end(), name) != files.opened.end());
    return 0;
}
