#pragma once
// Which files TeX read, from its console output. TeX writes "(" and a file's
// name when it opens a file and ")" when it closes it, so the files open at
// any point of the output form a stack, and an error's "l.N" counts the lines
// of the innermost one.
//
// What makes this harder than it looks, and how it is read:
// - Parentheses also stand in messages ("(see the transcript file ...)"):
//   a "(" that names no existing file still opens an entry, so that its ")"
//   closes it and not a file; a ")" with nothing open is ignored.
// - TeX breaks its lines after 79 bytes, also inside a name: a name that runs
//   to the end of such a line may go on at the start of the next one. Whether
//   it does is decided by asking whether the longer name exists.
// - A name ends at a blank, "(", ")", "[", "{", "<" or a quote; a name with
//   blanks is taken whole when the longer name exists ("C:\My Documents\a.tex").
// - An error's message and context lines quote the source text, with its own
//   parentheses: they are passed over.
// - The second byte of a Shift-JIS character is never taken for "[" or "{".
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// Whether a name, as TeX printed it, names an existing file.
using NameExists = std::function<bool(const std::string& name)>;

struct FilesInOutput {
    // Every existing file TeX opened, each name once, in the order of first opening.
    std::vector<std::string> opened;
    // The existing files open when TeX wrote the line asked for, outermost first.
    std::vector<std::string> openAtLine;
};

// Reads the whole output; openAtLine is filled for the given line (none when
// the line is past the end). Each name is asked about at most once.
FilesInOutput readFilesInOutput(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists);

} // namespace text
