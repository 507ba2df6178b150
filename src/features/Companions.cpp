#include "features/Companions.h"

#include "text/CommandLine.h"

using namespace platform;

namespace {
// The window search of one start: the process sought and the first of its
// top-level windows, none until one is found.
struct WindowSearch {
    Desktop& desktop;
    uint32_t processId;
    WindowHandle found = 0;
};

// Notes the first window of the sought process and stops the enumeration there.
bool noteFirstWindowOfProcess(WindowHandle window, intptr_t search) {
    auto& sought = *reinterpret_cast<WindowSearch*>(search);
    if (sought.desktop.windowProcessId(window) != sought.processId) return true;
    sought.found = window;
    return false;
}
} // namespace

Companions::Started Companions::LaunchCompanion(const std::string& program, const std::string& file) {
    uint32_t errorCode = 0;
    const std::unique_ptr<StartedProgram> started =
        app_.os().processes.startCompanion(text::companionCommandLine(program, file), errorCode);
    if (!started) {
        app_.showMessage("実行できません(エラーコード" + std::to_string(errorCode) + ")");
        return {};
    }
    started->waitForInputIdle(5000);
    Desktop& desktop = app_.os().desktop;
    WindowSearch search{desktop, started->processId()};
    desktop.enumWindows(noteFirstWindowOfProcess, reinterpret_cast<intptr_t>(&search));
    return {true, search.found};
}

void Companions::edit(const std::string& editor, const std::string& texPath) {
    const Started start = LaunchCompanion(editor, texPath);
    if (start.started) EditorWindow = start.window;
}

void Companions::editAtError(const std::string& editorCommandLine) {
    (void)app_.os().processes.startUntracked(editorCommandLine, ShowState::Normal);
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
        const Started start = LaunchCompanion(settings.viewer, dviPath);
        if (start.started) ViewerWindow = start.window;
    }
    desktop.sleep(500);
    if (settings.focusTeX) {
        desktop.setForegroundWindow(EditorWindow);
        desktop.setActiveWindow(EditorWindow);
    }
}

// Tells the running viewer to open the DVI again. When nobody answers, the
// server is started by its service and topic, minimised without taking the
// focus, and asked once more; nothing is reported when it still does not answer.
void Companions::refreshViewerOverDde(const std::string& dviPath) {
    const std::string service = "windvi", topic = "windvi";
    bool linked = viewerConversation_.setLink(service, topic);
    if (!linked &&
        app_.os().processes.startUntracked(text::ddeServerCommandLine(service, topic), ShowState::MinNoActivate))
        linked = viewerConversation_.connectAgain();
    if (linked) viewerConversation_.executeMacro(fileOpenCommand(dviPath));
    viewerConversation_.closeLink();
}
