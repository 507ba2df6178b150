// The characters of code page 932 against the system's own converter: a byte
// is a lead byte exactly when it alone is an incomplete character, and a text
// the converter takes whole has as many characters as it gives code points.
#include <iconv.h>

#include <cerrno>

#include "FuzzSupport.h"

namespace {
iconv_t fromCp932;

// The code points of a text that converts whole; -1 when it does not (-2 when
// it ends inside a character).
long codePointCount(const std::string& s) {
    iconv(fromCp932, nullptr, nullptr, nullptr, nullptr);
    std::string in = s;
    std::string out(4 * s.size() + 4, '\0');
    char* inAt = in.data();
    char* outAt = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    if (iconv(fromCp932, &inAt, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1)) return errno == EINVAL ? -2 : -1;
    long count = 0;
    for (const char* c = out.data(); c < outAt; ++c)
        if ((static_cast<unsigned char>(*c) & 0xC0) != 0x80) ++count;
    return count;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fromCp932 = iconv_open("UTF-8", "CP932");
    FUZZ_CHECK(fromCp932 != reinterpret_cast<iconv_t>(-1));
    for (int byte = 0; byte < 256; ++byte)
        FUZZ_CHECK(text::isLeadByte(static_cast<unsigned char>(byte)) ==
                   (codePointCount(std::string(1, static_cast<char>(byte))) == -2));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string s = fuzz::inputText(data, size);
    size_t characterCount = 0;
    for (size_t i = 0; i < s.size(); ++characterCount) {
        const size_t next = text::nextCharIndex(s, i);
        const bool lead = text::isLeadByte(static_cast<unsigned char>(s[i]));
        FUZZ_CHECK(next == ((lead && i + 1 < s.size()) ? i + 2 : i + 1));
        FUZZ_CHECK(next <= s.size());
        i = next;
    }
    const long codePoints = codePointCount(s);
    if (codePoints >= 0) FUZZ_CHECK(static_cast<size_t>(codePoints) == characterCount);
    return 0;
}
