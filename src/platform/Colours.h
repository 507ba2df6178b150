#pragma once
// Colours and cursor indices by name. A colour is 00BBGGRR, red in the low
// byte, as LinkLabel takes it.
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform {

constexpr uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return red | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

inline constexpr uint32_t clBlack = rgb(0, 0, 0);
inline constexpr uint32_t clRed = rgb(255, 0, 0);
inline constexpr uint32_t clCyan = rgb(0, 255, 255);

// The log's messages on the list's usual white: a red for errors, a dark
// amber for warnings and a muted blue for bad boxes, each at least
// minimumContrast against white.
inline constexpr uint32_t clErrorText = rgb(0xC0, 0x00, 0x00);
inline constexpr uint32_t clWarningText = rgb(0x8A, 0x56, 0x00);
inline constexpr uint32_t clQuietText = rgb(0x3A, 0x5F, 0x8A);
// What text needs against its background to be read with ease (WCAG AA).
inline constexpr double minimumContrast = 4.5;

// The contrast of two colours, from 1 (the same) to 21 (black on white), by
// their relative luminance in sRGB.
inline double contrastRatio(uint32_t a, uint32_t b) {
    const auto luminance = [](uint32_t colour) {
        const auto linear = [](uint32_t channel) {
            const double c = static_cast<double>(channel & 0xFF) / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour >> 16);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Indices of the toolkit's cursor table (Toolkit::registerCursor, LinkLabel::setCursor).
inline constexpr int crHandPoint = 32761; // the pointing hand the link label registers

} // namespace platform
