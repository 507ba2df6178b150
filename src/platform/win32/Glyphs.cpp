#include "platform/win32/Glyphs.h"

#include "platform/win32/DeviceContext.h"

namespace platform::win32 {

namespace {
using Picture = char[glyphSize][glyphSize + 1];

const Picture checkMark{
    "................", "................", "................", "...........gG...",
    "..........gGG...", ".........gGGG...", "..g.....gGGG....", "..GG...gGGG.....",
    "..GGG.gGGG......", "...GGGGGG.......", "....GGGG........", ".....GG.........",
    "......G.........", "................", "................", "................",
};

const Picture cross{
    "................", "................", "................", "...RR.....RR....",
    "...RRR...RRR....", "....RRR.RRR.....", ".....RRRRR......", "......RRR.......",
    ".....RRRRR......", "....RRR.RRR.....", "...RRR...RRR....", "...RR.....RR....",
    "................", "................", "................", "................",
};

// A sheet of paper standing in an opened folder.
const Picture openFolder{
    "................", "....kkkkkkkkk...", "....kwwwwwwwk...", ".kk.kwlllllwk...",
    "kYYkkwwwwwwwk...", "kYYYkwlllllwk...", "kYYYkwwwwwwwk...", "kYYYkwlllllwk...",
    "kYYkkkkkkkkkkkkk", "kYkyyyyyyyyyyyyk", "kYkyyyyyyyyyyyk.", "kkyyyyyyyyyyyyk.",
    "kkyyyyyyyyyyyk..", "kyyyyyyyyyyyyk..", "kkkkkkkkkkkkkk..", "................",
};

const Picture& pictureOf(Glyph glyph) {
    switch (glyph) {
    case Glyph::CheckMark:
        return checkMark;
    case Glyph::Cross:
        return cross;
    case Glyph::OpenFolder:
        return openFolder;
    }
    return checkMark;
}

// The pictures' colours, by the letters that stand for them above.
constexpr COLORREF green = RGB(0, 144, 0);        // G
constexpr COLORREF lightGreen = RGB(96, 192, 96); // g
constexpr COLORREF red = RGB(208, 0, 0);          // R
constexpr COLORREF darkGrey = RGB(64, 64, 64);    // k
constexpr COLORREF white = RGB(255, 255, 255);    // w
constexpr COLORREF grey = RGB(144, 144, 144);     // l
constexpr COLORREF ochre = RGB(192, 136, 0);      // Y
constexpr COLORREF yellow = RGB(255, 208, 64);    // y
constexpr COLORREF unknownCode = RGB(128, 128, 128);

COLORREF colourOf(char code) {
    switch (code) {
    case 'G':
        return green;
    case 'g':
        return lightGreen;
    case 'R':
        return red;
    case 'k':
        return darkGrey;
    case 'w':
        return white;
    case 'l':
        return grey;
    case 'Y':
        return ochre;
    case 'y':
        return yellow;
    }
    return unknownCode;
}

// Light pixels vanish in the greyed look; the dark ones keep the outline.
bool isDark(COLORREF colour) {
    return GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114 < 160 * 1000;
}

void fillPixel(HDC dc, int x, int y, int size, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    RECT square{x, y, x + size, y + size};
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}
} // namespace

void drawGlyph(HDC dc, Glyph glyph, int x, int y, int pixelSize, bool greyed) {
    const Picture& picture = pictureOf(glyph);
    const KeptBrushColour keptColour(dc);
    for (int row = 0; row < glyphSize; ++row) {
        for (int column = 0; column < glyphSize && picture[row][column]; ++column) {
            char code = picture[row][column];
            if (code == '.') continue;
            int left = x + column * pixelSize, top = y + row * pixelSize;
            COLORREF colour = colourOf(code);
            if (!greyed) {
                fillPixel(dc, left, top, pixelSize, colour);
            } else if (isDark(colour)) {
                fillPixel(dc, left + pixelSize, top + pixelSize, pixelSize, GetSysColor(COLOR_BTNHIGHLIGHT));
                fillPixel(dc, left, top, pixelSize, GetSysColor(COLOR_BTNSHADOW));
            }
        }
    }
}

} // namespace platform::win32
