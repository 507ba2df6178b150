#pragma once
// What the fuzz targets share: the input as a byte string, a check that ends
// the run when a property fails (libFuzzer then keeps the input as a crash),
// and the characters of code page 932.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/Cp932.h"

#define FUZZ_CHECK(condition) ((condition) ? void() : fuzz::propertyFailed(#condition, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void propertyFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

inline std::string inputText(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The text cut into its characters, a double-byte character whole.
inline std::vector<std::string> characters(const std::string& s) {
    std::vector<std::string> result;
    for (size_t i = 0; i < s.size(); i = text::nextCharIndex(s, i))
        result.push_back(s.substr(i, text::nextCharIndex(s, i) - i));
    return result;
}

inline bool isLoneLeadByte(const std::string& character) {
    return character.size() == 1 && text::isLeadByte(static_cast<unsigned char>(character[0]));
}

} // namespace fuzz
