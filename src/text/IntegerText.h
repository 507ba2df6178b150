#pragma once
// Integer text: optional leading blanks, an optional "+" or "-", then decimal
// digits, or a hexadecimal number introduced by "$", "x", "X", "0x" or "0X";
// the whole text is used and the value fits a signed 32-bit integer
// (hexadecimal digits give the 32-bit pattern).
#include <cstdint>
#include <optional>
#include <string>

namespace text {

std::optional<int32_t> parseInteger(const std::string& text);

// Lenient, as the settings reader converts: def for a text that does not convert.
int32_t strToIntDef(const std::string& text, int32_t def);

std::string intToStr(int32_t value);

} // namespace text
