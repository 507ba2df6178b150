#pragma once
// A text label that works as a hyperlink: a pointing-hand cursor, its text
// colour following the mouse (hot while over it, pushed while a button is
// down), and, when Executable, the shell opening its caption as soon as a
// mouse button goes down on it.
#include <cstdint>

#include "platform/Colours.h"
#include "platform/Os.h"
#include "platform/Toolkit.h"

class TURLLabel {
public:
    TURLLabel(platform::Toolkit& toolkit, platform::Shell& shell, platform::LinkLabel& label);

    bool Executable = false;
    bool HotTrack() const { return hotTrack_; }
    uint32_t HotColor() const { return hotColor_; }
    uint32_t PushedColor() const { return pushedColor_; }
    // Each repaints the label when the value changes, and does nothing for an equal value.
    void setHotTrack(bool hotTrack);
    void setHotColor(uint32_t colour);
    void setPushedColor(uint32_t colour);

    void MouseEnter();
    void MouseLeave();
    void MouseDown(platform::MouseButton button, int x, int y);
    void MouseUp(platform::MouseButton button, int x, int y);

private:
    void showColour(uint32_t colour);

    platform::Shell& shell_;
    platform::LinkLabel& label_;
    bool hotTrack_ = true;
    uint32_t normalColor_ = platform::clBlack;
    uint32_t hotColor_ = platform::clCyan;
    uint32_t pushedColor_ = platform::clRed;
};
