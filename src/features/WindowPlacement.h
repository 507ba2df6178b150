#pragma once
// Where the main window opens. Its stored position is kept as it is while the
// window's title bar is on some monitor; a position that would leave the title
// bar on none (a monitor since unplugged, a screen made smaller) gives way to
// the nearest one the user can reach.
#include "platform/Desktop.h"

struct WindowPosition {
    int left = 0;
    int top = 0;
    bool operator==(const WindowPosition&) const = default;
};

// The window moved the least way into the work area of the monitor nearest to
// it, when its title bar is on no monitor; its top left corner stays inside
// the work area even when the window is larger than that.
WindowPosition reachablePosition(platform::Desktop& desktop, WindowPosition stored, int width, int height,
                                 int titleBarHeight);
