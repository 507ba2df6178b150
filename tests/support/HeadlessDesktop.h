#pragma once
// Other programs' windows, in memory: windows that started programs open and
// the user closes or disables, and the focus calls made.
#include <map>
#include <string>
#include <vector>

#include "platform/Dde.h"
#include "platform/Desktop.h"

namespace headless {

using platform::WindowHandle;

class ScriptedDesktop : public platform::Desktop {
public:
    void enumWindows(platform::EnumWindowsCallback callback, intptr_t value) override;
    uint32_t windowProcessId(WindowHandle window) override;
    bool isWindowEnabled(WindowHandle window) override;
    void setForegroundWindow(WindowHandle window) override {
        focusCalls.push_back("foreground " + std::to_string(window));
    }
    void setActiveWindow(WindowHandle window) override { focusCalls.push_back("active " + std::to_string(window)); }
    bool pause(int milliseconds) override {
        slept += milliseconds;
        return true;
    }
    bool onAnyMonitor(const platform::ScreenRect& area) override;
    platform::ScreenRect nearestWorkArea(const platform::ScreenRect& area) override;

    std::vector<std::string> focusCalls;
    int slept = 0;

    struct Monitor {
        platform::ScreenRect bounds;
        platform::ScreenRect workArea;
    };
    // The primary monitor first: 1280 x 1024 with a task bar along its bottom.
    std::vector<Monitor> monitors{{{0, 0, 1280, 1024}, {0, 0, 1280, 984}}};

    struct Window {
        WindowHandle handle;
        uint32_t processId;
        bool enabled = true;
    };
    std::vector<Window> windows;                     // top of the Z order first
    void openWindows(uint32_t processId, int count); // on top, the first one topmost
    void closeWindow(WindowHandle handle);
    void disableWindow(WindowHandle handle);
    WindowHandle foreignWindow(); // a window of some other program, on top

private:
    WindowHandle nextWindow_ = 0x1000;
};

class ScriptedDde : public platform::DdeClient {
public:
    uint32_t initialize() override { return initializeResult; }
    void uninitialize() override { uninitialized = true; }
    platform::DdeStringHandle createString(const std::string& text) override;
    void freeString(platform::DdeStringHandle handle) override { liveStrings.erase(handle); }
    platform::DdeConversation connect(platform::DdeStringHandle service, platform::DdeStringHandle topic) override;
    uint32_t conversationFormat(platform::DdeConversation) override { return format; }
    platform::DdeDataHandle createData(const std::string& bytes, uint32_t format) override;
    void executeAsync(platform::DdeConversation conversation, platform::DdeDataHandle data, uint32_t format) override;
    void disconnect(platform::DdeConversation conversation) override;

    bool serverAnswers = false;
    bool dataFails = false;
    uint32_t format = 0;
    uint32_t initializeResult = 0;
    bool uninitialized = false;
    int connectAttempts = 0;
    std::map<platform::DdeStringHandle, std::string> liveStrings;
    std::vector<std::string> connections; // "service|topic" of each accepted connection
    struct Execute {
        std::string data;
        uint32_t format;
        bool operator==(const Execute&) const = default;
    };
    std::vector<Execute> executes;
    int openConversations = 0;

private:
    std::map<platform::DdeDataHandle, std::string> data_;
    uintptr_t next_ = 1;
};

} // namespace headless
