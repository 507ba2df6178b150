#pragma once
// The small pictures of the OK, Cancel and browse buttons, drawn in code.
#include <windows.h>

namespace platform::win32 {

enum class Glyph { CheckMark, Cross, OpenFolder };

constexpr int glyphSize = 16; // picture pixels on each side

// Draws the picture with its top-left corner at (x, y), each picture pixel as a
// square of pixelSize screen pixels; greyed is the embossed look of a disabled button.
void drawGlyph(HDC dc, Glyph glyph, int x, int y, int pixelSize, bool greyed);

} // namespace platform::win32
