#pragma once
// Arguments of a command line: separated by blanks (any character of code 32
// or less); double quotes group blanks into one argument and are removed.
#include <string>
#include <vector>

namespace text {

// All arguments, the program name first.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

} // namespace text
