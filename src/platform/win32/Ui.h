#pragma once
// What every window of the toolkit shares: the display's scale, the one font
// of all forms and controls, and the window classes of this program's own windows.
#include <windows.h>

#include <map>
#include <string>

#include "platform/Events.h"

namespace platform::win32 {

extern const char* const formClassName;      // a form
extern const char* const containerClassName; // a panel or a tab page
extern const char* const toolButtonClassName;
extern const char* const linkLabelClassName;

// The window procedures of those classes.
LRESULT CALLBACK formWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK containerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the window classes and makes the font for as long as it lives;
// keeps the cursor table that controls pick their mouse cursor from.
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

// Runs the work of a window procedure so that no error can leave it: an error
// is reported like one raised by a command, and the fallback is answered.
template <class Work> LRESULT guarded(Work&& work, LRESULT fallback) {
    LRESULT result = fallback;
    fireEvent([&] { result = work(); });
    return result;
}

// The window procedure of a class whose every window carries the object that
// answers its messages, attached when the window is created.
template <class Owner> LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!owner) return DefWindowProcA(window, message, wParam, lParam);
    return guarded([&] { return owner->handleMessage(window, message, wParam, lParam); }, 0);
}

} // namespace platform::win32
