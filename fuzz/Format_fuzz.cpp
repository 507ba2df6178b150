// Formatting a message: only the first "%s" is replaced, once, so a "%s" in
// the argument stays as it is. The input is the format, a zero byte, then the
// argument.
#include "FuzzSupport.h"
#include "text/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::inputText(data, size);
    const size_t zero = input.find('\0');
    const std::string format = input.substr(0, zero);
    const std::string argument = zero == std::string::npos ? std::string() : input.substr(zero + 1);

    const std::string message = text::formatText(format, argument);
    FUZZ_CHECK(text::formatText(format, "%s") == format);
    const size_t at = format.find("%s");
    if (at == std::string::npos) {
        FUZZ_CHECK(message == format);
    } else {
        FUZZ_CHECK(message.size() == format.size() - 2 + argument.size());
        FUZZ_CHECK(message.compare(0, at, format, 0, at) == 0);
        FUZZ_CHECK(message.compare(at, argument.size(), argument) == 0);
        FUZZ_CHECK(message.compare(at + argument.size(), std::string::npos, format, at + 2) == 0);
    }
    return 0;
}
