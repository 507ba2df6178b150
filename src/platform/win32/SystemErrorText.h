#pragma once
// The system's own text for an error code.
#include <windows.h>

#include <string>

namespace platform::win32 {

// The text in the system's language, without the line break it ends with.
std::string textOfSystemError(DWORD code);

} // namespace platform::win32
