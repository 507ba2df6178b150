#include "features/WindowPlacement.h"

#include <algorithm>

WindowPosition reachablePosition(platform::Desktop& desktop, WindowPosition stored, int width, int height,
                                 int titleBarHeight) {
    const platform::ScreenRect titleBar{stored.left, stored.top, stored.left + width, stored.top + titleBarHeight};
    if (desktop.onAnyMonitor(titleBar)) return stored;
    const platform::ScreenRect work =
        desktop.nearestWorkArea({stored.left, stored.top, stored.left + width, stored.top + height});
    return {std::max(work.left, std::min(stored.left, work.right - width)),
            std::max(work.top, std::min(stored.top, work.bottom - height))};
}
