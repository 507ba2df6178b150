#pragma once
// A wait that a window message ends: the calling thread's windows stay
// responsive while it waits for something else.
#include <windows.h>

namespace platform::win32 {

// True as soon as a message for the calling thread's windows is waiting
// within the time, also one that was in the queue before the wait began.
inline bool messageWithin(DWORD milliseconds) {
    return MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0;
}

} // namespace platform::win32
