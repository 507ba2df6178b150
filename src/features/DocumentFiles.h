#pragma once
// What a compile's output tells about a document of several files. TeX runs
// in the document's folder, so a name it prints ("./chapter.tex",
// "chapters/one.tex", "C:\Users\...", "c:/w32tex/...") is taken from there;
// a file of the document is one in the document's folder or below it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "features/Document.h"
#include "platform/Os.h"
#include "text/TexMessages.h"
#include "text/TexPlaces.h"

struct CompileOutput {
    // The first error's line in the output, if any.
    std::optional<size_t> errorLine;
    // Its line number in the file TeX was reading; may be empty.
    std::string lineNumber;
    // Where the editor goes for that error: the file TeX names, or else the
    // innermost file of the document open at the error; the document itself
    // when that file lies outside the document's folder or its name has no
    // form in the code page.
    std::string errorFile;
    // Every file of the document that the compile read, as full paths.
    std::vector<std::string> filesRead;
    // Every message of the output and the kind of each line.
    text::LogMessages messages;
};

// Reads the compile's output, as the compiler wrote it.
CompileOutput readCompileOutput(platform::Os& os, const Document& document, const std::vector<std::string_view>& lines,
                                text::OutputEncoding encoding);
