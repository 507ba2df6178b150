#pragma once
// Command lines: the ones the program builds to start the compiler, the
// editor, the viewer and a DDE server, and how one splits into arguments.
// Arguments are separated by blanks (any character of code 32 or less);
// double quotes group blanks into one argument and are removed.
#include <string>
#include <vector>

namespace text {

// All arguments, the program name first.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// The compiler's command line: its program quoted, then the document's file
// name as it is (the compile runs in the document's folder).
std::string compileCommandLine(const std::string& compiler, const std::string& documentFileName);

// Every "%l" of the editor's jump option replaced by the line number, left to right.
std::string jumpOption(const std::string& option, const std::string& lineNumber);

// The jump's editor: "editor" option "document"
std::string jumpCommandLine(const std::string& editor, const std::string& option, const std::string& document);

// An editor or a viewer started on a file: "program" "file"
std::string companionCommandLine(const std::string& program, const std::string& file);

// A DDE server started because nobody answered: service topic, as they are.
std::string ddeServerCommandLine(const std::string& service, const std::string& topic);

} // namespace text
