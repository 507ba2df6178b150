#pragma once
// Console programs run hidden with their standard streams on pipes; both
// output pipes are read with overlapped reads on the thread that runs the
// capture, waited for together with that thread's window messages.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/Processes.h"

namespace platform::win32 {

// Starts a console program hidden, without a console window, with the three
// inheritable handles as its standard streams; false (GetLastError tells why)
// when it cannot be started.
bool startHiddenConsoleProgram(const std::string& commandLine, HANDLE input, HANDLE output, HANDLE error,
                               PROCESS_INFORMATION& started);

std::unique_ptr<platform::ProcessService> createWin32ProcessService();

} // namespace platform::win32
