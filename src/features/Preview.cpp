#include "features/Preview.h"

using namespace platform;

PreviewResult previewDocument(Application& app, Companions& companions, const Document& document) {
    ViewerSettings viewer;
    {
        settings::SettingsFile settings = app.settings().open();
        viewer = {settings.read(settings::dviWare), settings.read(settings::useDde), settings.read(settings::focusTeX)};
    }
    if (app.os().files.fileAge(document.dviPath) == -1) {
        const ModalResult answer = app.messageDialog(document.DviFileName + "は存在しません。コンパイルしますか？",
                                                     MessageType::Confirmation, mbYes | mbNo | mbCancel);
        return answer == ModalResult::Yes ? PreviewResult::CompileAsked : PreviewResult::NoDvi;
    }
    companions.showDvi(document.dviPath, viewer);
    return PreviewResult::Shown;
}
