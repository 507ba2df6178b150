#pragma once
// A file age: the last-write time packed as a DOS date-time (two-second steps).
#include <cstdint>

namespace text {

constexpr int32_t noFileAge = -1;

struct LocalTime {
    int year, month, day, hour, minute, second;
};

// -1 for a time the packing cannot express (before 1980 or after 2107).
int32_t packDosDateTime(const LocalTime& time);

// Whether the document's age is later than its DVI's: no document is never
// newer, no DVI always older. Ages compare as unsigned, so times from 2044 on
// (top bit set) stay later than those before.
bool documentIsNewer(int32_t documentAge, int32_t dviAge);

} // namespace text
