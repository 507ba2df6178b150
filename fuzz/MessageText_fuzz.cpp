// The application's title is the file name's characters up to its first ".",
// only the single-byte capitals after the first character lowered; the error
// box's text only ever gains one full stop, and gaining it once is enough.
#include "FuzzSupport.h"
#include "text/MessageText.h"
#include "text/PathParts.h"

namespace {
bool isCapital(const std::string& character) {
    return character.size() == 1 && character[0] >= 'A' && character[0] <= 'Z';
}

std::string expectedTitle(const std::string& fileName) {
    std::string title;
    const std::vector<std::string> characters = fuzz::characters(fileName);
    for (size_t i = 0; i < characters.size() && characters[i] != "."; ++i)
        title += i > 0 && isCapital(characters[i]) ? std::string(1, static_cast<char>(characters[i][0] + 32))
                                                   : characters[i];
    return title;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::inputText(data, size);

    FUZZ_CHECK(text::applicationTitle(input) == expectedTitle(text::extractFileName(input)));

    const std::string boxText = text::errorBoxText(input);
    const bool endsLow = !input.empty() && static_cast<unsigned char>(input.back()) <= '.';
    FUZZ_CHECK(boxText == (input.empty() || endsLow ? input : input + "."));
    FUZZ_CHECK(text::errorBoxText(boxText) == boxText);
    return 0;
}
