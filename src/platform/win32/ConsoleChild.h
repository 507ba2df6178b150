#pragma once
// Console programs run hidden with their standard streams on pipes; both
// output pipes are read with overlapped reads on the thread that runs the
// capture, waited for together with that thread's window messages.
#include <memory>

#include "platform/Processes.h"

namespace platform::win32 {

std::unique_ptr<platform::ProcessService> createWin32ProcessService();

} // namespace platform::win32
