#pragma once
// The job that holds a console child and whatever it starts.
#include <windows.h>

#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

// A job for the child, so that ending it can end whatever it started too (a
// compiler that runs other programs). The child is put into it right after its
// start, which keeps its creation flags those of a plain hidden console program.
// No job (null) when the system refuses one, for example inside a job that
// forbids nesting.
OwnedHandle jobHolding(HANDLE process);

} // namespace platform::win32
