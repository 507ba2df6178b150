#include "Companion.h"

platform::WindowHandle FoundWindow = 0;
platform::WindowHandle EditorWindow = 0;
platform::WindowHandle ViewerWindow = 0;

bool EnumWindowsProc(platform::WindowHandle window, intptr_t search) {
    const auto& sought = *reinterpret_cast<const CompanionSearch*>(search);
    if (sought.desktop.windowProcessId(window) != sought.processId) return true;
    FoundWindow = window;
    return false;
}

CompanionStart LaunchCompanion(Application& app, const std::string& program, const std::string& file) {
    platform::Desktop& desktop = app.os().desktop;
    const std::string commandLine = "\"" + program + "\" \"" + file + "\"";
    platform::ProcessRecord process;
    uint32_t errorCode = 0;
    if (!desktop.createProcess(commandLine, process, errorCode)) {
        app.showMessage("実行できません(エラーコード" + std::to_string(errorCode) + ")");
        return {};
    }
    desktop.waitForInputIdle(process, 5000);
    // Cleared first, so a companion without a window of its own is remembered
    // as none, never as the window an earlier search found.
    FoundWindow = 0;
    CompanionSearch search{desktop, process.processId};
    desktop.enumWindows(EnumWindowsProc, reinterpret_cast<intptr_t>(&search));
    desktop.closeHandles(process);
    return {true, FoundWindow};
}
