#include "features/DocumentFolder.h"

#include "text/FileNames.h"
#include "text/PathParts.h"

namespace {
std::string withSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}
// "/" is never a byte of a double-byte character, so it can be turned into
// "\" byte by byte. A name TeX printed as "/home/me/a.tex" (a log made on
// Linux or a Mac) is then rooted on the current drive, as Windows takes it.
std::string backslashed(std::string name) {
    for (char& c : name)
        if (c == '/') c = '\\';
    return name;
}
bool hangsFromFolder(const std::string& name) { return !text::isRootedPath(name); }
} // namespace

DocumentFolder::DocumentFolder(platform::Os& os, const Document& document, text::OutputEncoding encoding)
    : os_(os), utf8_(encoding == text::OutputEncoding::Utf8), documentAsOpened_(document.texPath),
      document_(os.files.fullPathName(document.texPath)), folder_(withSeparator(text::extractFileDir(document_))) {}

std::optional<std::string> DocumentFolder::pathOf(const std::string& printed) const {
    std::string name = printed;
    if (utf8_) {
        bool exact = false;
        name = os_.codePage.fromUtf8(printed, &exact);
        if (!exact) return std::nullopt;
    }
    name = backslashed(name);
    return os_.files.fullPathName(hangsFromFolder(name) ? folder_ + name : name);
}

bool DocumentFolder::exists(const std::string& printed) const {
    if (const std::optional<std::string> path = pathOf(printed)) return os_.files.fileAge(*path) != -1;
    const std::string name = backslashed(printed);
    return os_.files.fileExistsUtf8(hangsFromFolder(name) ? os_.codePage.toUtf8(folder_) + name : name);
}

bool DocumentFolder::holds(const std::string& path) const {
    return path.size() > folder_.size() && text::sameFileName(path.substr(0, folder_.size()), folder_);
}

bool DocumentFolder::isDocument(const std::string& path) const { return text::sameFileName(path, document_); }

// TeX's own word on the file comes first, then the innermost file open.
std::string DocumentFolder::editorFile(const std::string& named, const std::vector<std::string>& openFiles) const {
    std::vector<std::string> candidates(openFiles.rbegin(), openFiles.rend());
    if (!named.empty()) candidates = {named};
    for (const std::string& name : candidates) {
        const std::optional<std::string> path = pathOf(name);
        if (path && !holds(*path)) continue;
        if (path && !isDocument(*path)) return *path;
        break;
    }
    return documentAsOpened_;
}
