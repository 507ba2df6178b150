// The auto-compile watcher and the cleanup of intermediate files.
#include "Dlogmain.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "text/ExtensionList.h"
#include "text/FileNames.h"
#include "text/PathParts.h"

using namespace platform;
namespace key = settings::key;
namespace byDefault = settings::byDefault;

namespace {
// Ages compare as unsigned, so times from 2044 on (top bit set) stay later
// than those before; -1 means no file and is tested apart.
bool documentIsNewer(int32_t documentAge, int32_t dviAge) {
    if (documentAge == -1) return false;
    return dviAge == -1 || static_cast<uint32_t>(documentAge) > static_cast<uint32_t>(dviAge);
}

} // namespace

// Each saved version of the document is compiled once: a compile that leaves
// no DVI, or an older one, is not repeated at every tick (with error jumping
// on, each repeat would start another editor) until the document is saved again.
void TForm1::Timer1Timer(const void* sender) {
    settings::SettingsFile settings(app_.os().profile, IniFileName);
    if (!settings.readBool(key::autoCompile, byDefault::autoCompile)) return;
    FileSystem& files = app_.os().files;
    const int32_t documentAge = files.fileAge(document_.texPath);
    if (!documentIsNewer(documentAge, files.fileAge(document_.dviPath))) return;
    const WatchedVersion version{document_.texPath, documentAge};
    if (lastWatcherCompile_ == version) return;
    lastWatcherCompile_ = version;
    btnCompileClick(sender);
}

void TForm1::btnDelLogClick(const void*) {
    if (app_.messageDialog("中間ファイルを削除します。よろしいですか？", MessageType::Confirmation,
                           mbYes | mbNo | mbCancel) != ModalResult::Yes)
        return;
    std::string extensions;
    {
        settings::SettingsFile settings(app_.os().profile, IniFileName);
        extensions = settings.readString(key::fileExt, byDefault::fileExt);
    }
    if (document_.texPath.empty()) return;
    // Decided by the file that Windows would delete: "tex." or "tex " is the document.
    FileSystem& files = app_.os().files;
    const std::string document = files.fullPathName(document_.texPath);
    for (const std::string& item : text::splitExtensionList(extensions)) {
        if (!text::isPlainExtension(item)) continue;
        const std::string target = files.fullPathName(text::changeFileExt(document_.texPath, "." + item));
        // A file that is missing, read-only or in use is left as it is, without a word.
        if (text::isCleanupTarget(target, document)) (void)files.deleteFile(target);
    }
}
