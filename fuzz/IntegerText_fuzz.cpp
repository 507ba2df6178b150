// Integer text against the standard library's conversion: blanks, a sign, then
// decimal digits in the signed 32-bit range, or hexadecimal digits after "$",
// "x", "X", "0x" or "0X" giving a 32-bit pattern (negated by "-"). A value
// read back from its own text is the same; the strict and the lenient
// conversion agree with the parse.
#include <charconv>

#include "FuzzSupport.h"
#include "features/StrToInt.h"
#include "platform/Exception.h"
#include "text/IntegerText.h"

namespace {
std::optional<uint64_t> digitsValue(const std::string& digits, int base) {
    uint64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [at, error] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || at != end || error != std::errc() || digits[0] == '+' || digits[0] == '-')
        return std::nullopt;
    return value;
}

std::optional<int32_t> expectedValue(const std::string& text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '+' || text[i] == '-') ++i;
    const std::string rest = text.substr(i);

    size_t hexDigits = std::string::npos;
    if (rest.starts_with("$") || rest.starts_with("x") || rest.starts_with("X")) hexDigits = 1;
    if (rest.starts_with("0x") || rest.starts_with("0X")) hexDigits = 2;
    if (hexDigits != std::string::npos) {
        const std::optional<uint64_t> pattern = digitsValue(rest.substr(hexDigits), 16);
        if (!pattern || *pattern > 0xFFFFFFFFu) return std::nullopt;
        const uint32_t bits = static_cast<uint32_t>(*pattern);
        return static_cast<int32_t>(negative ? 0u - bits : bits);
    }
    const std::optional<uint64_t> magnitude = digitsValue(rest, 10);
    if (!magnitude || *magnitude > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude));
}

std::optional<int32_t> strictValue(const std::string& text) {
    try {
        return strToInt(text);
    } catch (const platform::Exception& e) {
        FUZZ_CHECK(e.message().find(text) != std::string::npos);
        return std::nullopt;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::inputText(data, size);
    const std::optional<int32_t> value = text::parseInteger(text);

    FUZZ_CHECK(value == expectedValue(text));
    FUZZ_CHECK(strictValue(text) == value);
    FUZZ_CHECK(text::strToIntDef(text, 7) == value.value_or(7));
    FUZZ_CHECK(text::strToIntDef(text, -8) == value.value_or(-8));
    if (value) FUZZ_CHECK(text::parseInteger(text::intToStr(*value)) == value);
    return 0;
}
