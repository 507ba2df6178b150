#pragma once
// Every user event (a click, a menu choice, a timer tick, an edit change, a
// window's show or close) reaches the program through fireEvent, so an error
// raised inside a command ends that command and is reported in one place
// instead of unwinding through the window procedure.
#include <functional>

#include "platform/Exception.h"

namespace platform {

using EventHandler = std::function<void()>;
using ExceptionHandler = std::function<void(const Exception&)>;

// The application installs its error box here once at start-up.
void setExceptionHandler(ExceptionHandler handler);

void fireEvent(const EventHandler& handler);

} // namespace platform
