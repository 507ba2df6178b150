#pragma once
#include <string>

namespace text {

// The message format with its first "%s" replaced by argument.
inline std::string formatText(const std::string& format, const std::string& argument) {
    const size_t at = format.find("%s");
    if (at == std::string::npos) return format;
    return format.substr(0, at) + argument + format.substr(at + 2);
}

} // namespace text
