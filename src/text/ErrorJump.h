#pragma once
// The texts of a compile and of the jump to its first error.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// The compiler's command line: its program quoted, then the document's file
// name as it is (the compile runs in the document's folder).
std::string compileCommandLine(const std::string& compiler, const std::string& documentFileName);

// The index of the first line whose first character is "!".
std::optional<size_t> firstErrorLine(const std::vector<std::string_view>& lines);

// The line number of the error on the given line: TeX's context line ("l.12
// \badmacro" gives "12") is the first later line that starts with "l." and a
// digit, looked for up to the next error line. Its characters from the third
// up to the first blank; anything but decimal digits, or no context line,
// gives an empty text, so a document cannot put words of its own into the
// editor's command line.
std::string lineNumberText(const std::vector<std::string_view>& lines, size_t errorLine);

// Every "%l" of the option replaced by the line number, left to right.
std::string jumpOption(const std::string& option, const std::string& lineNumber);

// "editor" option "document"
std::string jumpCommandLine(const std::string& editor, const std::string& option, const std::string& document);

} // namespace text
