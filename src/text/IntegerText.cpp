#include "text/IntegerText.h"

namespace text {
namespace {
int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<uint32_t> parseHexDigits(const std::string& text, size_t i) {
    if (i >= text.size()) return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

std::optional<int32_t> parseDecimalDigits(const std::string& text, size_t i, bool negative) {
    if (i >= text.size()) return std::nullopt;
    const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
}
} // namespace

std::optional<int32_t> parseInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    size_t hexStart = std::string::npos;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hexStart = i + 1;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hexStart = i + 2;
    }
    if (hexStart == std::string::npos) return parseDecimalDigits(text, i, negative);

    const std::optional<uint32_t> pattern = parseHexDigits(text, hexStart);
    if (!pattern) return std::nullopt;
    const uint32_t value = negative ? 0u - *pattern : *pattern;
    return static_cast<int32_t>(value);
}

int32_t strToIntDef(const std::string& text, int32_t def) {
    // A value written by hand in C's notation ("0x3E8") reads as the same
    // number: "0x" becomes the "$" that the integer syntax knows.
    std::string converted = text;
    if (converted.size() > 2 && converted[0] == '0' && (converted[1] == 'x' || converted[1] == 'X'))
        converted.replace(0, 2, "$");
    return parseInteger(converted).value_or(def);
}

std::string intToStr(int32_t value) { return std::to_string(value); }

} // namespace text
