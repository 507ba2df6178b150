#pragma once
#include <string_view>
#include <vector>

namespace text {

// A carriage return, a line feed, or the two together end a line; a break at
// the very end adds no empty line, and an empty text has no lines. The lines
// are views into the text, which must outlive them: a log of a hundred
// thousand lines then costs no copy of each.
std::vector<std::string_view> splitLines(std::string_view text);

} // namespace text
