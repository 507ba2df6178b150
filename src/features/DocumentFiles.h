#pragma once
// The files of a document of several files, as TeX's output names them. TeX
// runs in the document's folder, so a name it prints ("./chapter.tex",
// "chapters/one.tex", "C:\Users\...", "c:/w32tex/...") is taken from there;
// a file of the document is one in the document's folder or below it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "features/Document.h"
#include "platform/Os.h"

struct FilesOfCompile {
    // Where the editor goes for an error: the innermost file of the document
    // open at the error line, or the document itself.
    std::string errorFile;
    // Every file of the document that the compile read, as full paths.
    std::vector<std::string> filesRead;
};

// Reads the compile's output; errorLine is the first error's line, if any.
FilesOfCompile filesOfCompile(platform::FileSystem& files, const Document& document,
                              const std::vector<std::string_view>& lines, std::optional<size_t> errorLine);
