#pragma once
// Starting the editor and the viewer, and learning their top-level windows so
// that later commands can bring them forward or see whether they still run.
#include <string>

#include "Application.h"

// Process-wide window handles, none (0) when the program starts. Only the edit
// command writes EditorWindow and only the preview writes ViewerWindow, each
// after a successful start.
extern platform::WindowHandle FoundWindow;
extern platform::WindowHandle EditorWindow;
extern platform::WindowHandle ViewerWindow;

struct CompanionSearch {
    platform::Desktop& desktop;
    uint32_t processId;
};

// Notes the first window of the sought process in FoundWindow and stops there.
bool EnumWindowsProc(platform::WindowHandle window, intptr_t search);

struct CompanionStart {
    bool started = false;
    platform::WindowHandle window = 0; // the first top-level window of the new process, or none
};

// Starts "program" "file", waits up to 5 s for it to be ready for input and
// finds its first top-level window. A refused start is reported with the
// system's error code.
CompanionStart LaunchCompanion(Application& app, const std::string& program, const std::string& file);
