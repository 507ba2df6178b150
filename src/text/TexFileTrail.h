#pragma once
// What TeX's console output tells about a compile: the files TeX read and the
// errors it met, each with the file TeX was reading. TeX writes "(" and a
// file's name when it opens a file and ")" when it closes it, so the files
// open at any point of the output form a stack, and an error's "l.N" counts
// the lines of the innermost one.
//
// What makes this harder than it looks, and how it is read:
// - Parentheses also stand in messages ("(see the transcript file ...)"):
//   a "(" that names no existing file still opens an entry, so that its ")"
//   closes it and not a file; a ")" with nothing open is ignored.
// - Some messages quote what the author wrote, parentheses and all: an
//   error's message and context lines, the text that a "Runaway argument?"
//   shows, and the dump of the offending line after "Overfull \hbox" and its
//   kin, which goes on over as many lines as TeX's line breaks cut it into.
//   They are passed over.
// - TeX breaks its lines after 79 bytes, also inside a name: a name that runs
//   to the end of such a line may go on at the start of the next one. Whether
//   it does is decided by asking whether the longer name exists.
// - A name ends at a blank, a parenthesis, "[", "{", "<", a quote or a
//   warning that pdfTeX printed right after it, unless a longer name exists: a name with blanks ("C:\My Documents\a.tex") or with
//   parentheses ("./fig(a).tex") is taken whole.
// - With -file-line-error, TeX names the file of an error itself
//   ("./chap1.tex:7: Undefined control sequence.").
// - The second byte of a Shift-JIS character is never taken for "[" or "{".
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/TexMessages.h"
#include "text/TexNotes.h"

namespace text {

// Whether a name, as TeX printed it, names an existing file.
using NameExists = std::function<bool(const std::string& name)>;

struct TexError {
    // The line where TeX's message starts.
    size_t line = 0;
    // The file TeX named in the -file-line-error form; empty for a "!" line.
    std::string fileName;
    // Decimal digits from TeX's context line "l.N", else from the
    // -file-line-error form; empty when neither is there.
    std::string lineNumber;
    // The existing files open at the error, outermost first.
    std::vector<std::string> openFiles;
    // The last line of the error's message and context: the line after its
    // context line, which shows the rest of the source line.
    size_t lastLine = 0;
};

struct TexOutput {
    // Every existing file TeX opened, each name once, in the order of first opening.
    std::vector<std::string> opened;
    // The errors in the order TeX met them, at most maxErrorsRead of the output.
    std::vector<TexError> errors;
    // The warnings and bad boxes, the digits of the lines they name, and the
    // files open at each, as indexes of opened.
    std::vector<TexNote> notes;
    std::string noteNumbers;
    std::vector<uint32_t> noteFiles;
};

// The most errors read from output of that many bytes. TeX gives up after a
// hundred errors in one paragraph, so a long log may hold thousands; but each
// takes more than 32 bytes, with its context line.
size_t maxErrorsRead(size_t outputBytes);

// Reads the whole output. Each name is asked about at most once.
TexOutput readTexOutput(const std::vector<std::string_view>& lines, const NameExists& exists,
                        OutputEncoding encoding = OutputEncoding::CodePage);

} // namespace text
