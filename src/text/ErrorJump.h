#pragma once
// The texts of a compile and of the jump to its first error.
#include <string>

namespace text {

// The compiler's command line: its program quoted, then the document's file
// name as it is (the compile runs in the document's folder).
std::string compileCommandLine(const std::string& compiler, const std::string& documentFileName);

// Every "%l" of the option replaced by the line number, left to right.
std::string jumpOption(const std::string& option, const std::string& lineNumber);

// "editor" option "document"
std::string jumpCommandLine(const std::string& editor, const std::string& option, const std::string& document);

} // namespace text
