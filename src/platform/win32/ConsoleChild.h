#pragma once
// Console programs run hidden with their standard streams on anonymous pipes,
// both output pipes drained by reader threads of their own.
#include <windows.h>

#include <memory>

#include "platform/Processes.h"

namespace platform::win32 {

// Starts a thread running routine(parameter): its handle, or null with the
// reason in GetLastError.
using ThreadStarter = HANDLE (*)(LPTHREAD_START_ROUTINE routine, void* parameter);

// The reader threads are started with startThread (CreateThread when null);
// tests pass one that fails to see what a capture that cannot be set up does.
std::unique_ptr<platform::ProcessService> createWin32ProcessService(ThreadStarter startThread = nullptr);

} // namespace platform::win32
