#pragma once
// Starting programs on the Win32 process calls: companions, untracked programs
// and console programs run hidden.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/Processes.h"

namespace platform::win32 {

// The show command (SW_SHOW, SW_SHOWMINNOACTIVE) of a show state.
int showCommandOf(ShowState show);

// Starts a console program hidden, without a console window, with the three
// inheritable handles as its standard streams; false (GetLastError tells why)
// when it cannot be started.
bool startHiddenConsoleProgram(const std::string& commandLine, HANDLE input, HANDLE output, HANDLE error,
                               PROCESS_INFORMATION& started);

std::unique_ptr<ProcessService> createWin32ProcessService();

} // namespace platform::win32
