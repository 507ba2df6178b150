#include "features/Companions.h"

using namespace platform;

namespace {
struct CompanionSearch {
    Companions& companions;
    uint32_t processId;
};
} // namespace

bool Companions::EnumWindowsProc(WindowHandle window, intptr_t search) {
    const auto& sought = *reinterpret_cast<const CompanionSearch*>(search);
    if (sought.companions.app_.os().desktop.windowProcessId(window) != sought.processId) return true;
    sought.companions.FoundWindow = window;
    return false;
}

CompanionStart Companions::LaunchCompanion(const std::string& program, const std::string& file) {
    Desktop& desktop = app_.os().desktop;
    const std::string commandLine = "\"" + program + "\" \"" + file + "\"";
    uint32_t errorCode = 0;
    const std::unique_ptr<StartedProgram> started = desktop.createProcess(commandLine, errorCode);
    if (!started) {
        app_.showMessage("実行できません(エラーコード" + std::to_string(errorCode) + ")");
        return {};
    }
    started->waitForInputIdle(5000);
    // Cleared first, so a companion without a window of its own is remembered
    // as none, never as the window an earlier search found.
    FoundWindow = 0;
    CompanionSearch search{*this, started->processId()};
    desktop.enumWindows(EnumWindowsProc, reinterpret_cast<intptr_t>(&search));
    return {true, FoundWindow};
}

void Companions::edit(const std::string& editor, const std::string& texPath) {
    const CompanionStart start = LaunchCompanion(editor, texPath);
    if (start.started) EditorWindow = start.window;
}

void Companions::showDvi(const std::string& dviPath, const ViewerSettings& settings) {
    Desktop& desktop = app_.os().desktop;
    if (desktop.isWindowEnabled(ViewerWindow)) {
        if (settings.useDde) {
            refreshViewerOverDde(dviPath);
        } else {
            desktop.setForegroundWindow(ViewerWindow);
            desktop.setActiveWindow(ViewerWindow);
        }
    } else {
        const CompanionStart start = LaunchCompanion(settings.viewer, dviPath);
        if (start.started) ViewerWindow = start.window;
    }
    desktop.sleep(500);
    if (settings.focusTeX) {
        desktop.setForegroundWindow(EditorWindow);
        desktop.setActiveWindow(EditorWindow);
    }
}

// Tells the running viewer to open the DVI again; nothing is reported when no
// viewer answers.
void Companions::refreshViewerOverDde(const std::string& dviPath) {
    if (DdeClientConv1.setLink("windvi", "windvi")) DdeClientConv1.executeMacro(fileOpenCommand(dviPath));
    DdeClientConv1.closeLink();
}
