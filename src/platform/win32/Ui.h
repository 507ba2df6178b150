#pragma once
// What every window of the toolkit shares: the display's scale, the one font
// of all forms and controls, and the mouse cursors.
#include <windows.h>

#include <map>
#include <string>

namespace platform::win32 {

// Makes the font for as long as it lives; keeps the cursor table that
// controls pick their mouse cursor from.
class Ui {
public:
    Ui();
    ~Ui();
    Ui(const Ui&) = delete;
    Ui& operator=(const Ui&) = delete;

    // A length at 96 dots per inch, on this display.
    int scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    HFONT font() const { return font_; }
    // Width and height of a text drawn in the font, as a static control draws it.
    SIZE textExtent(const std::string& text) const;

    // The cursor registered at index; the arrow for an index never registered.
    HCURSOR cursor(int index) const;
    void setCursor(int index, HCURSOR cursor);

private:
    int dpi_;
    HFONT font_;
    std::map<int, HCURSOR> cursors_; // shared cursors: the system frees them
};

std::string windowText(HWND window);

} // namespace platform::win32
