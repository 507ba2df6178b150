#pragma once
// The system's millisecond clock. It wraps around about every 49.7 days, so a
// tick is compared with the clock by their difference, never by their order.
#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace platform::win32 {

// Whether the clock has reached the tick.
inline bool reached(DWORD tick) { return static_cast<int32_t>(GetTickCount() - tick) >= 0; }

// Milliseconds until tick, none once it has passed.
inline DWORD timeUntil(DWORD tick) {
    return static_cast<DWORD>(std::max<int32_t>(static_cast<int32_t>(tick - GetTickCount()), 0));
}

} // namespace platform::win32
