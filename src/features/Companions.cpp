#include "features/Companions.h"

#include <functional>

#include "text/CommandLine.h"

using namespace platform;

namespace {
// How long a companion may take to be ready for input before its window is
// looked for, and how long a program left to itself may take (as WinExec waits).
constexpr int companionReadyMs = 5000;
constexpr int untrackedReadyMs = 30000;
// The pause after the viewer's part of a preview.
constexpr int previewPauseMs = 500;

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

void Companions::waitAnswering(int milliseconds, const std::function<bool(int)>& wait) {
    struct Waiting {
        int& waits;
        ~Waiting() { --waits; }
    } waiting{++waits_};
    ProcessService& processes = app_.os().processes;
    const uint32_t start = processes.tickCount();
    for (uint32_t waited = 0; !app_.terminated() && waited < static_cast<uint32_t>(milliseconds);
         waited = processes.tickCount() - start) {
        if (wait(milliseconds - static_cast<int>(waited))) return;
        app_.toolkit().processMessages();
    }
}

void Companions::waitUntilReady(StartedProgram& program, int milliseconds) {
    waitAnswering(milliseconds, [&program](int left) { return program.waitForInputIdle(left); });
}

Companions::Started Companions::LaunchCompanion(const std::string& program, const std::string& file) {
    uint32_t errorCode = 0;
    const std::unique_ptr<StartedProgram> started =
        app_.os().processes.startCompanion(text::companionCommandLine(program, file), errorCode);
    if (!started) {
        app_.showMessage("実行できません(エラーコード" + std::to_string(errorCode) + ")");
        return {};
    }
    waitUntilReady(*started, companionReadyMs);
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
    if (const std::unique_ptr<StartedProgram> editor =
            app_.os().processes.startUntracked(editorCommandLine, ShowState::Normal))
        waitUntilReady(*editor, untrackedReadyMs);
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
    waitAnswering(previewPauseMs, [&desktop](int left) { return desktop.pause(left); });
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
    if (!linked) {
        if (const std::unique_ptr<StartedProgram> server = app_.os().processes.startUntracked(
                text::ddeServerCommandLine(service, topic), ShowState::MinNoActivate)) {
            waitUntilReady(*server, untrackedReadyMs);
            linked = viewerConversation_.connectAgain();
        }
    }
    if (linked) viewerConversation_.executeMacro(fileOpenCommand(dviPath));
    viewerConversation_.closeLink();
}
