#pragma once
// A timer of a form's window: WM_TIMER reaches the form, which passes it here,
// in whichever message loop is running.
#include "platform/Toolkit.h"

namespace platform::win32 {

class FormWindow;

class WindowTimer : public Timer {
public:
    explicit WindowTimer(FormWindow& owner);
    ~WindowTimer() override;

    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override;

    void tick();
    // The owner's window is about to go; the timer stops for good.
    void ownerGone();

private:
    void restart();

    FormWindow* owner_;
    uintptr_t id_;
    bool enabled_ = enabledWhenNew;
    int interval_ = newInterval;
};

} // namespace platform::win32
