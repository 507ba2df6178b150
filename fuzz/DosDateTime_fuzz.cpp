// Packing a time as a DOS date-time: a time from 1980 to 2107 unpacks to
// itself (seconds in two-second steps), later times pack to larger patterns,
// and no such time packs to the "no file" age; other years give that age.
// The input is two times of six 32-bit fields each.
#include <cstring>
#include <tuple>

#include "FuzzSupport.h"
#include "text/DosDateTime.h"

namespace {
text::LocalTime timeAt(const uint8_t* data, size_t size, size_t offset) {
    int32_t fields[6] = {};
    if (offset < size) std::memcpy(fields, data + offset, std::min(sizeof fields, size - offset));
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

bool isExpressible(const text::LocalTime& t) {
    return t.year >= 1980 && t.year <= 2107 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 &&
           t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

text::LocalTime unpacked(int32_t packed) {
    const uint32_t bits = static_cast<uint32_t>(packed);
    return {static_cast<int>(bits >> 25) + 1980, static_cast<int>(bits >> 21 & 15), static_cast<int>(bits >> 16 & 31),
            static_cast<int>(bits >> 11 & 31),   static_cast<int>(bits >> 5 & 63),  static_cast<int>(bits & 31) * 2};
}

auto fields(const text::LocalTime& t) { return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second); }

// The time as the packing keeps it.
text::LocalTime inTwoSecondSteps(text::LocalTime t) {
    t.second -= t.second % 2;
    return t;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const text::LocalTime a = timeAt(data, size, 0), b = timeAt(data, size, 24);
    for (const text::LocalTime& t : {a, b}) {
        const int32_t packed = text::packDosDateTime(t);
        if (t.year < 1980 || t.year > 2107) FUZZ_CHECK(packed == text::noFileAge);
        if (!isExpressible(t)) continue;
        FUZZ_CHECK(packed != text::noFileAge);
        FUZZ_CHECK(fields(unpacked(packed)) == fields(inTwoSecondSteps(t)));
    }
    if (isExpressible(a) && isExpressible(b)) {
        const uint32_t packedA = static_cast<uint32_t>(text::packDosDateTime(a));
        const uint32_t packedB = static_cast<uint32_t>(text::packDosDateTime(b));
        FUZZ_CHECK((fields(inTwoSecondSteps(a)) <=> fields(inTwoSecondSteps(b))) == (packedA <=> packedB));
    }
    return 0;
}
