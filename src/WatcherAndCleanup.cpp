// The auto-compile watcher and the cleanup of intermediate files.
#include "Dlogmain.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "text/ExtensionList.h"
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

bool sameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// An item names a file beside the document: never the document itself, never
// another folder, never the document's name without any extension.
bool isCleanupTarget(const std::string& item, const std::string& target, const std::string& document) {
    if (item.empty() || item.find_first_of("\\/:") != std::string::npos) return false;
    return !sameText(target, document);
}
} // namespace

void TForm1::Timer1Timer(const void* sender) {
    settings::SettingsFile settings(app_.os().profile, IniFileName);
    if (!settings.readBool(key::autoCompile, byDefault::autoCompile)) return;
    FileSystem& files = app_.os().files;
    if (documentIsNewer(files.fileAge(TeXFileName), files.fileAge(DviFileName))) btnCompileClick(sender);
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
    if (TeXFileName.empty()) return;
    for (const std::string& item : text::splitExtensionList(extensions)) {
        const std::string target = text::changeFileExt(TeXFileName, "." + item);
        if (isCleanupTarget(item, target, TeXFileName)) app_.os().files.deleteFile(target);
    }
}
