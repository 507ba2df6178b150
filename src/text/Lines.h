#pragma once
#include <string>
#include <vector>

namespace text {

// A carriage return, a line feed, or the two together end a line; a break at
// the very end adds no empty line, and an empty text has no lines.
std::vector<std::string> splitLines(const std::string& text);

} // namespace text
