#pragma once
// The document's folder as the compile's output speaks of it. TeX runs in the
// document's folder, so a name it prints ("./chapter.tex",
// "chapters/one.tex", "C:\Users\...", "c:/w32tex/...") is taken from there;
// a file of the document is one in the document's folder or below it. Output
// in UTF-8 names its files in UTF-8.
#include <optional>
#include <string>
#include <vector>

#include "features/Document.h"
#include "platform/Os.h"
#include "text/TexMessages.h"

class DocumentFolder {
public:
    DocumentFolder(platform::Os& os, const Document& document, text::OutputEncoding encoding);

    // The full Windows path of a name as TeX printed it; nothing when the name
    // has no form in the code page.
    std::optional<std::string> pathOf(const std::string& printed) const;
    bool exists(const std::string& printed) const;
    bool holds(const std::string& path) const;
    bool isDocument(const std::string& path) const;

    // Where the editor goes for a place TeX spoke of: the file TeX named, or
    // else the innermost file of the document open there (openFiles,
    // outermost first); the document itself, by the name it was opened with,
    // when that file lies outside the document's folder or its name has no
    // form in the code page.
    std::string editorFile(const std::string& named, const std::vector<std::string>& openFiles) const;

private:
    platform::Os& os_;
    const bool utf8_;
    const std::string documentAsOpened_;
    const std::string document_;
    const std::string folder_;
};
