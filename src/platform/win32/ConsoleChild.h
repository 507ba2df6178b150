#pragma once
// A console program running hidden with its standard streams on pipes; both
// output pipes are read with overlapped reads on the thread that runs the
// capture, waited for together with that thread's window messages.
#include <cstdint>
#include <memory>

#include "platform/Processes.h"
#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

// Takes over a console program just started, with its job (or none) and this
// process's ends of its three pipes, and makes ready to read its output. Null,
// with the system's error code, when that cannot be done: the program has then
// been ended and every handle given closed.
std::unique_ptr<ConsoleChild> captureConsoleChild(OwnedHandle process, OwnedHandle job, OwnedHandle inputWrite,
                                                  OwnedHandle outputRead, OwnedHandle errorRead, uint32_t& errorCode);

} // namespace platform::win32
