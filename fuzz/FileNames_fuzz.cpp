// File names as Windows compares them: two names are the same when they are
// equal once the single-byte capitals are lowered (never a second byte); a path
// is fully qualified when it starts with "\\" or with a single-byte character,
// ":" and "\"; a plain extension holds no control character and no character
// a file name cannot hold; the target a plain item gives lies in the
// document's folder, and cleanup takes it unless it is the document itself or
// its name without extension. The input is two texts separated by a zero byte:
// a path (the document) and another path or an item.
#include <algorithm>

#include "FuzzSupport.h"
#include "text/FileNames.h"
#include "text/PathParts.h"

namespace {
std::string withSingleByteLetters(const std::string& s, char from, char to) {
    std::string result;
    for (std::string character : fuzz::characters(s)) {
        if (character.size() == 1 && character[0] >= from && character[0] <= from + 25)
            character[0] = static_cast<char>(character[0] - from + to);
        result += character;
    }
    return result;
}
std::string lowered(const std::string& s) { return withSingleByteLetters(s, 'A', 'a'); }
std::string raised(const std::string& s) { return withSingleByteLetters(s, 'a', 'A'); }

bool startsFullyQualified(const std::string& path) {
    const std::vector<std::string> characters = fuzz::characters(path);
    if (characters.size() >= 2 && characters[0] == "\\" && characters[1] == "\\") return true;
    return characters.size() >= 3 && characters[0].size() == 1 && characters[1] == ":" && characters[2] == "\\";
}

bool holdsOnlyFileNameCharacters(const std::string& item) {
    const std::string forbidden = "\\/:*?\"<>|";
    const std::vector<std::string> characters = fuzz::characters(item);
    return std::none_of(characters.begin(), characters.end(), [&](const std::string& character) {
        return character.size() == 1 &&
               (static_cast<unsigned char>(character[0]) < ' ' || forbidden.find(character[0]) != std::string::npos);
    });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::inputText(data, size);
    const size_t zero = input.find('\0');
    const std::string document = input.substr(0, zero);
    const std::string other = zero == std::string::npos ? std::string() : input.substr(zero + 1);

    FUZZ_CHECK(text::sameFileName(document, other) == (lowered(document) == lowered(other)));
    FUZZ_CHECK(text::sameFileName(other, document) == text::sameFileName(document, other));
    FUZZ_CHECK(text::sameFileName(document, raised(document)) && text::sameFileName(lowered(document), document));

    FUZZ_CHECK(text::isFullyQualifiedPath(document) == startsFullyQualified(document));

    FUZZ_CHECK(!text::isCleanupTarget(document, document));
    if (text::isCleanupTarget(other, document))
        FUZZ_CHECK(!text::sameFileName(other, document) &&
                   text::sameFileName(text::extractFileDir(other), text::extractFileDir(document)));

    const bool plain = text::isPlainExtension(other);
    FUZZ_CHECK(plain == holdsOnlyFileNameCharacters(other));
    if (plain) {
        const std::string target = text::changeFileExt(document, "." + other);
        FUZZ_CHECK(text::extractFileDir(target) == text::extractFileDir(document));
        FUZZ_CHECK(
            text::isCleanupTarget(target, document) ==
            (!text::sameFileName(target, document) && !text::sameFileName(target, text::changeFileExt(document, ""))));
    }
    return 0;
}
