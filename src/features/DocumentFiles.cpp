#include "features/DocumentFiles.h"

#include "text/FileNames.h"
#include "text/PathParts.h"
#include "text/TexFileTrail.h"

namespace {
class DocumentFolder {
public:
    DocumentFolder(platform::FileSystem& files, const Document& document)
        : files_(files), document_(files.fullPathName(document.texPath)),
          folder_(withSeparator(text::extractFileDir(document_))) {}

    // The full Windows path of a name as TeX printed it. "/" is never the
    // second byte of a double-byte character, so it can be turned into "\" byte by byte.
    std::string pathOf(std::string name) const {
        for (char& c : name)
            if (c == '/') c = '\\';
        // "C:\...", "C:name", "\\server\..." and "\..." do not hang from the document's folder.
        const bool rooted = (!name.empty() && name[0] == '\\') || (name.size() > 1 && name[1] == ':');
        return files_.fullPathName(rooted ? name : folder_ + name);
    }
    bool exists(const std::string& name) const { return files_.fileAge(pathOf(name)) != -1; }
    bool holds(const std::string& path) const {
        return path.size() > folder_.size() && text::sameFileName(path.substr(0, folder_.size()), folder_);
    }
    bool isDocument(const std::string& path) const { return text::sameFileName(path, document_); }

private:
    static std::string withSeparator(const std::string& folder) {
        return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
    }

    platform::FileSystem& files_;
    const std::string document_;
    const std::string folder_;
};
} // namespace

FilesOfCompile filesOfCompile(platform::FileSystem& files, const Document& document,
                              const std::vector<std::string_view>& lines, std::optional<size_t> errorLine) {
    const DocumentFolder folder(files, document);
    const text::FilesInOutput read = text::readFilesInOutput(
        lines, errorLine.value_or(lines.size()), [&](const std::string& name) { return folder.exists(name); });

    FilesOfCompile result{document.texPath, {}};
    for (auto open = read.openAtLine.rbegin(); open != read.openAtLine.rend(); ++open) {
        const std::string path = folder.pathOf(*open);
        if (!folder.holds(path)) continue;
        // The document itself goes to the editor as it always has.
        if (!folder.isDocument(path)) result.errorFile = path;
        break;
    }
    for (const std::string& name : read.opened) {
        const std::string path = folder.pathOf(name);
        if (folder.holds(path)) result.filesRead.push_back(path);
    }
    return result;
}
