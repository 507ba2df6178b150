// Parts of a path, with double-byte characters whole (a lead byte at the very
// end stands alone): the file name is what follows the last "\" or ":"
// character; the folder is what comes before it, with that "\" dropped unless
// it follows another separator; the extension is a suffix of the file name
// from its last "." character; changing the extension replaces exactly that
// suffix. The input is the path.
#include "FuzzSupport.h"
#include "text/PathParts.h"

namespace {
bool isSeparator(const std::string& character) { return character == "\\" || character == ":"; }

struct Parts {
    std::string folder, name, extension;
};

Parts expectedParts(const std::string& path) {
    const std::vector<std::string> characters = fuzz::characters(path);
    Parts parts;
    size_t nameStart = 0; // the index of the first character of the name
    for (size_t i = 0; i < characters.size(); ++i)
        if (isSeparator(characters[i])) nameStart = i + 1;
    size_t dot = characters.size();
    for (size_t i = nameStart; i < characters.size(); ++i) {
        if (characters[i] == ".") dot = i;
        parts.name += characters[i];
    }
    for (size_t i = dot; i < characters.size(); ++i)
        parts.extension += characters[i];
    if (nameStart > 0) {
        const bool keepSeparator =
            characters[nameStart - 1] == ":" || nameStart == 1 || isSeparator(characters[nameStart - 2]);
        for (size_t i = 0; i < nameStart - (keepSeparator ? 0 : 1); ++i)
            parts.folder += characters[i];
    }
    return parts;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::inputText(data, size);
    const Parts expected = expectedParts(path);

    const std::string name = text::extractFileName(path);
    const std::string extension = text::extractFileExt(path);
    FUZZ_CHECK(name == expected.name);
    FUZZ_CHECK(text::extractFileDir(path) == expected.folder);
    FUZZ_CHECK(extension == expected.extension);

    const std::string stem = path.substr(0, path.size() - extension.size());
    FUZZ_CHECK(text::changeFileExt(path, extension) == path);
    FUZZ_CHECK(text::changeFileExt(path, ".dvi") == stem + ".dvi");
    FUZZ_CHECK(text::changeFileExt(path, "") == stem);
    return 0;
}
