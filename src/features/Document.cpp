#include "features/Document.h"

#include "text/FileNames.h"
#include "text/PathParts.h"

namespace {
std::string locate(platform::FileSystem& files, const std::string& name) {
    return text::isFullyQualifiedPath(name) ? name : files.fullPathName(name);
}
} // namespace

Document adoptDocument(platform::FileSystem& files, const std::string& name) {
    const std::string TeXFileName = text::changeFileExt(name, ".tex");
    const std::string DviFileName = text::changeFileExt(name, ".dvi");
    return {TeXFileName, DviFileName, locate(files, TeXFileName), locate(files, DviFileName)};
}
