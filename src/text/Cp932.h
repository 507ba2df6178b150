#pragma once
// Code page 932 (Shift-JIS): a lead byte starts a double-byte character whose
// second byte may look like "\", ":" or "." and must never count as one.
#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// A blank separates command-line arguments and list items: a space, a tab or
// any other character of code 32 or less.
inline bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

inline bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Index of the character after the one starting at i (a double-byte
// character is stepped over whole; a lead byte at the very end stands alone).
inline size_t nextCharIndex(std::string_view s, size_t i) {
    return (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? i + 2 : i + 1;
}

} // namespace text
