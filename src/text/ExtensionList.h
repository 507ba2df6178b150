#pragma once
// The list of extensions that cleanup deletes, as the user writes it in the
// options: items separated by commas or blanks, an item in double quotes may
// hold both (two double quotes inside stand for one), and a comma as the very
// last character gives one more, empty item.
#include <string>
#include <vector>

namespace text {

std::vector<std::string> splitExtensionList(const std::string& list);

} // namespace text
