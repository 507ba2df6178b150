#pragma once
// The editor and the viewer: starting them, learning their top-level windows,
// and the viewer's part of a preview (started, brought forward or refreshed
// over DDE). The windows are remembered so that later commands can bring them
// forward or see whether they still run. Every companion the program starts,
// the editor of an error jump included, starts here.
#include <functional>
#include <string>

#include "features/Application.h"
#include "features/DdeClientConv.h"

// What the viewer's part of a preview reads from the settings file.
struct ViewerSettings {
    std::string viewer;
    bool useDde = false;
    bool focusTeX = false;
};

class Companions {
public:
    explicit Companions(Application& app) : app_(app), viewerConversation_(app.os()) {}

    void edit(const std::string& editor, const std::string& texPath);
    // Starts the editor at an error with the jump's command line and waits
    // until it is ready for input. That editor is not remembered, and one that
    // cannot be started shows nothing: the command line stands in the log for
    // the user to see.
    void editAtError(const std::string& editorCommandLine);
    // Shows an existing DVI: refreshes or brings forward the viewer that still
    // runs, or starts one; pauses 500 ms; then, with FocusTeX, gives the editor
    // the focus back.
    void showDvi(const std::string& dviPath, const ViewerSettings& settings);

    // While a started program gets ready for input, and during the preview's
    // pause, the window handles its messages, so that a close ends the wait at
    // once; the window holds back the commands asked for meanwhile.
    bool waiting() const { return waits_ > 0; }

    // None (0) at first. Only the edit command writes EditorWindow and only the
    // preview writes ViewerWindow, each after a successful start.
    platform::WindowHandle EditorWindow = 0;
    platform::WindowHandle ViewerWindow = 0;

private:
    struct Started {
        bool started = false;
        platform::WindowHandle window = 0; // the first top-level window of the new process, or none
    };
    // Starts "program" "file", waits up to 5 s for it to be ready for input and
    // finds its first top-level window. A refused start is reported with the
    // system's error code.
    Started LaunchCompanion(const std::string& program, const std::string& file);
    void refreshViewerOverDde(const std::string& dviPath);
    // Waits within the time until wait says it is over, handling the window's
    // messages whenever one comes first.
    void waitAnswering(int milliseconds, const std::function<bool(int)>& wait);
    void waitUntilReady(platform::StartedProgram& program, int milliseconds);

    Application& app_;
    DdeClientConv viewerConversation_;
    int waits_ = 0;
};
