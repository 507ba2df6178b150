#pragma once
// Colours and cursor indices by name. A colour is 00BBGGRR, red in the low
// byte, as LinkLabel takes it.
#include <cstdint>

namespace platform {

constexpr uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return red | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

inline constexpr uint32_t clBlack = rgb(0, 0, 0);
inline constexpr uint32_t clRed = rgb(255, 0, 0);
inline constexpr uint32_t clCyan = rgb(0, 255, 255);

// Indices of the toolkit's cursor table (Toolkit::registerCursor, LinkLabel::setCursor).
inline constexpr int crHandPoint = 32761; // the pointing hand the link label registers

} // namespace platform
