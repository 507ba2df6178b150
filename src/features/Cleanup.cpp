#include "features/Cleanup.h"

#include "text/ExtensionList.h"
#include "text/FileNames.h"
#include "text/PathParts.h"

void deleteIntermediateFiles(platform::FileSystem& files, const std::string& texPath, const std::string& extensions) {
    const std::string document = files.fullPathName(texPath);
    for (const std::string& item : text::splitExtensionList(extensions)) {
        if (!text::isPlainExtension(item)) continue;
        const std::string target = files.fullPathName(text::changeFileExt(texPath, "." + item));
        if (text::isCleanupTarget(target, document)) (void)files.deleteFile(target); // failures are no news here
    }
}
