// The edit and preview commands: the editor on the document, the viewer on
// its DVI (started, brought forward or refreshed over DDE), and the preview
// that follows a clean compile.
#include "Companion.h"
#include "Dlogmain.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"

using namespace platform;
namespace key = settings::key;
namespace byDefault = settings::byDefault;

void TForm1::btnEditTeXClick(const void*) {
    std::string editor;
    {
        settings::SettingsFile settings(app_.os().profile, IniFileName);
        editor = settings.readString(key::editor, byDefault::editor);
    }
    const CompanionStart start = LaunchCompanion(app_, editor, document_.texPath);
    if (start.started) EditorWindow = start.window;
}

void TForm1::btnOpenDviClick(const void* sender) { preview(document_, sender); }

void TForm1::preview(Document document, const void* sender) {
    std::string viewer;
    bool useDde = false, focusTeX = false;
    {
        settings::SettingsFile settings(app_.os().profile, IniFileName);
        viewer = settings.readString(key::dviWare, byDefault::dviWare);
        useDde = settings.readBool(key::useDde, byDefault::useDde);
        focusTeX = settings.readBool(key::focusTeX, byDefault::focusTeX);
    }

    Desktop& desktop = app_.os().desktop;
    if (app_.os().files.fileAge(document.dviPath) == -1) {
        if (app_.messageDialog(document.dviName + "は存在しません。コンパイルしますか？", MessageType::Confirmation,
                               mbYes | mbNo | mbCancel) == ModalResult::Yes)
            compile(document, sender);
        return;
    }

    if (desktop.isWindowEnabled(ViewerWindow)) {
        if (useDde) {
            refreshViewerOverDde(document.dviPath);
        } else {
            desktop.setForegroundWindow(ViewerWindow);
            desktop.setActiveWindow(ViewerWindow);
        }
    } else {
        const CompanionStart start = LaunchCompanion(app_, viewer, document.dviPath);
        if (start.started) ViewerWindow = start.window;
    }
    desktop.sleep(500);
    if (focusTeX) {
        desktop.setForegroundWindow(EditorWindow);
        desktop.setActiveWindow(EditorWindow);
    }
}

// Tells the running viewer to open the DVI again; nothing is reported when no
// viewer answers.
void TForm1::refreshViewerOverDde(const std::string& dviPath) {
    if (DdeClientConv1.setLink("windvi", "windvi")) DdeClientConv1.executeMacro(fileOpenCommand(dviPath));
    DdeClientConv1.closeLink();
}

// A compile that made no error jump shows the DVI when "AutoDVI" is on.
void TForm1::afterCompile(const Document& document, bool NoErrorJump, bool autoDvi, const void* sender) {
    if (autoDvi && NoErrorJump) preview(document, sender);
}
