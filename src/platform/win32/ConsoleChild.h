#pragma once
// Console programs run hidden with their standard streams on anonymous pipes,
// both output pipes drained by reader threads of their own.
#include <memory>

#include "platform/Processes.h"

namespace platform::win32 {

std::unique_ptr<platform::ProcessService> createWin32ProcessService();

} // namespace platform::win32
