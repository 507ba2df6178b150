#include "features/DocumentFiles.h"

#include "text/FileNames.h"
#include "text/PathParts.h"
#include "text/TexFileTrail.h"

namespace {
class DocumentFolder {
public:
    DocumentFolder(platform::Os& os, const Document& document, text::OutputEncoding encoding)
        : os_(os), utf8_(encoding == text::OutputEncoding::Utf8), document_(os.files.fullPathName(document.texPath)),
          folder_(withSeparator(text::extractFileDir(document_))) {}

    // The full Windows path of a name as TeX printed it; nothing when the name
    // has no form in the code page.
    std::optional<std::string> pathOf(const std::string& printed) const {
        std::string name = printed;
        if (utf8_) {
            bool exact = false;
            name = os_.codePage.fromUtf8(printed, &exact);
            if (!exact) return std::nullopt;
        }
        name = backslashed(name);
        return os_.files.fullPathName(hangsFromFolder(name) ? folder_ + name : name);
    }
    bool exists(const std::string& printed) const {
        if (const std::optional<std::string> path = pathOf(printed)) return os_.files.fileAge(*path) != -1;
        const std::string name = backslashed(printed);
        return os_.files.fileExistsUtf8(hangsFromFolder(name) ? os_.codePage.toUtf8(folder_) + name : name);
    }
    bool holds(const std::string& path) const {
        return path.size() > folder_.size() && text::sameFileName(path.substr(0, folder_.size()), folder_);
    }
    bool isDocument(const std::string& path) const { return text::sameFileName(path, document_); }

private:
    static std::string withSeparator(const std::string& folder) {
        return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
    }
    // "/" is never a byte of a double-byte character, so it can be turned
    // into "\" byte by byte. A name TeX printed as "/home/me/a.tex" (a log
    // made on Linux or a Mac) is then rooted on the current drive, as Windows
    // takes it.
    static std::string backslashed(std::string name) {
        for (char& c : name)
            if (c == '/') c = '\\';
        return name;
    }
    static bool hangsFromFolder(const std::string& name) { return !text::isRootedPath(name); }

    platform::Os& os_;
    const bool utf8_;
    const std::string document_;
    const std::string folder_;
};
} // namespace

CompileOutput readCompileOutput(platform::Os& os, const Document& document, const std::vector<std::string_view>& lines,
                                text::OutputEncoding encoding) {
    const DocumentFolder folder(os, document, encoding);
    const text::TexOutput read = text::readTexOutput(
        lines, [&](const std::string& name) { return folder.exists(name); }, encoding);

    CompileOutput result{std::nullopt, {}, document.texPath, {}};
    if (!read.errors.empty()) {
        const text::TexError& error = read.errors.front();
        result.errorLine = error.line;
        result.lineNumber = error.lineNumber;
        // TeX's own word on the file comes first, then the innermost file open.
        std::vector<std::string> candidates(error.openFiles.rbegin(), error.openFiles.rend());
        if (!error.fileName.empty()) candidates = {error.fileName};
        for (const std::string& name : candidates) {
            const std::optional<std::string> path = folder.pathOf(name);
            if (path && !folder.holds(*path)) continue;
            // The document itself goes to the editor by the name it was opened with.
            if (path && !folder.isDocument(*path)) result.errorFile = *path;
            break;
        }
    }
    for (const std::string& name : read.opened)
        if (const std::optional<std::string> path = folder.pathOf(name); path && folder.holds(*path))
            result.filesRead.push_back(*path);
    return result;
}
