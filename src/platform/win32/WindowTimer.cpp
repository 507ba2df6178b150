#include "platform/win32/WindowTimer.h"

#include "platform/win32/FormWindow.h"

namespace platform::win32 {

WindowTimer::WindowTimer(FormWindow& owner) : owner_(&owner), id_(owner.addTimer(*this)) { restart(); }

WindowTimer::~WindowTimer() {
    if (owner_) owner_->removeTimer(id_);
}

void WindowTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    restart();
}

void WindowTimer::setInterval(int milliseconds) {
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    restart();
}

// SetTimer with the id it already runs under starts the period anew.
void WindowTimer::restart() {
    if (!owner_ || !owner_->handle()) return;
    if (enabled_ && interval_ > 0)
        SetTimer(owner_->handle(), id_, static_cast<UINT>(interval_), nullptr);
    else
        KillTimer(owner_->handle(), id_);
}

void WindowTimer::tick() {
    if (enabled_) fireEvent(onTimer);
}

void WindowTimer::ownerGone() { owner_ = nullptr; }

} // namespace platform::win32
