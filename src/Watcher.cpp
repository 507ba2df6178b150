#include "Watcher.h"

#include "text/DosDateTime.h"

bool Watcher::shouldCompile(const Document& document, platform::FileSystem& files) {
    const int32_t documentAge = files.fileAge(document.texPath);
    if (!text::documentIsNewer(documentAge, files.fileAge(document.dviPath))) return false;
    const Version version{document.texPath, documentAge};
    if (lastCompiled_ == version) return false;
    lastCompiled_ = version;
    return true;
}
