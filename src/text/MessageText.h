#pragma once
#include <string>

namespace text {

// The application's title: the program's file name up to its first ".",
// every character after the first in lower case ("VELUMO.EXE" gives "Velumo").
std::string applicationTitle(const std::string& executablePath);

// An error's message as the error box shows it: a full stop is appended
// unless the last character already sorts at or below "." (an empty
// message stays empty).
std::string errorBoxText(const std::string& message);

} // namespace text
