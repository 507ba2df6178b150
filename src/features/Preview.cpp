#include "features/Preview.h"

using namespace platform;

void Preview::show(Document document) {
    ViewerSettings viewer;
    {
        settings::SettingsFile settings = settings_.open();
        viewer = {settings.read(settings::dviWare), settings.read(settings::useDde), settings.read(settings::focusTeX)};
    }
    if (app_.os().files.fileAge(document.dviPath) == -1) {
        if (app_.messageDialog(document.dviName + "は存在しません。コンパイルしますか？", MessageType::Confirmation,
                               mbYes | mbNo | mbCancel) == ModalResult::Yes)
            compile_.compile(document);
        return;
    }
    companions_.showDvi(document.dviPath, viewer);
}
