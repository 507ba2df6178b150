#include "support/HeadlessDesktop.h"

#include <algorithm>

namespace headless {
void ScriptedDesktop::openWindows(uint32_t processId, int count) {
    std::vector<Window> opened;
    for (int i = 0; i < count; ++i)
        opened.push_back({nextWindow_++, processId});
    windows.insert(windows.begin(), opened.begin(), opened.end());
}

void ScriptedDesktop::enumWindows(platform::EnumWindowsCallback callback, intptr_t value) {
    const std::vector<Window> snapshot = windows;
    for (const Window& window : snapshot)
        if (!callback(window.handle, value)) return;
}

uint32_t ScriptedDesktop::windowProcessId(WindowHandle window) {
    for (const Window& w : windows)
        if (w.handle == window) return w.processId;
    return 0;
}

bool ScriptedDesktop::isWindowEnabled(WindowHandle window) {
    for (const Window& w : windows)
        if (w.handle == window) return w.enabled;
    return false;
}

void ScriptedDesktop::closeWindow(WindowHandle handle) {
    windows.erase(std::remove_if(windows.begin(), windows.end(), [&](const Window& w) { return w.handle == handle; }),
                  windows.end());
}

void ScriptedDesktop::disableWindow(WindowHandle handle) {
    for (Window& w : windows)
        if (w.handle == handle) w.enabled = false;
}

WindowHandle ScriptedDesktop::foreignWindow() {
    windows.insert(windows.begin(), Window{nextWindow_, 1});
    return nextWindow_++;
}

platform::DdeStringHandle ScriptedDde::createString(const std::string& text) {
    liveStrings[next_] = text;
    return next_++;
}

platform::DdeConversation ScriptedDde::connect(platform::DdeStringHandle service, platform::DdeStringHandle topic) {
    ++connectAttempts;
    if (!serverAnswers) return 0;
    connections.push_back(liveStrings[service] + "|" + liveStrings[topic]);
    ++openConversations;
    return next_++;
}

platform::DdeDataHandle ScriptedDde::createData(const std::string& bytes, uint32_t) {
    if (dataFails) return 0;
    data_[next_] = bytes;
    return next_++;
}

void ScriptedDde::executeAsync(platform::DdeConversation, platform::DdeDataHandle data, uint32_t format) {
    executes.push_back({data_[data], format});
}

void ScriptedDde::disconnect(platform::DdeConversation) { --openConversations; }

namespace {
long long overlap(const platform::ScreenRect& a, const platform::ScreenRect& b) {
    const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// How far the rectangle lies from the monitor: 0 when they touch or overlap.
long long distance(const platform::ScreenRect& a, const platform::ScreenRect& b) {
    const long long dx = std::max({0, b.left - a.right, a.left - b.right});
    const long long dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}
} // namespace

bool ScriptedDesktop::onAnyMonitor(const platform::ScreenRect& area) {
    return std::any_of(monitors.begin(), monitors.end(),
                       [&](const Monitor& monitor) { return overlap(area, monitor.bounds) > 0; });
}

// As the system chooses: the largest overlap, else the shortest distance.
platform::ScreenRect ScriptedDesktop::nearestWorkArea(const platform::ScreenRect& area) {
    const Monitor* nearest = &monitors.front();
    for (const Monitor& monitor : monitors) {
        const long long best = overlap(area, nearest->bounds), here = overlap(area, monitor.bounds);
        if (here > best || (best == 0 && here == 0 && distance(area, monitor.bounds) < distance(area, nearest->bounds)))
            nearest = &monitor;
    }
    return nearest->workArea;
}

} // namespace headless
