#include "text/DosDateTime.h"

namespace text {

int32_t packDosDateTime(const LocalTime& t) {
    if (t.year < 1980 || t.year > 2107) return noFileAge;
    const uint32_t date = (static_cast<uint32_t>(t.year - 1980) << 9) | (static_cast<uint32_t>(t.month) << 5) |
                          static_cast<uint32_t>(t.day);
    const uint32_t time = (static_cast<uint32_t>(t.hour) << 11) | (static_cast<uint32_t>(t.minute) << 5) |
                          static_cast<uint32_t>(t.second / 2);
    return static_cast<int32_t>((date << 16) | time);
}

bool documentIsNewer(int32_t documentAge, int32_t dviAge) {
    if (documentAge == noFileAge) return false;
    return dviAge == noFileAge || static_cast<uint32_t>(documentAge) > static_cast<uint32_t>(dviAge);
}

} // namespace text
