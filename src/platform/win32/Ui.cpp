#include "platform/win32/Ui.h"

#include "platform/win32/DeviceContext.h"

#include <vector>

namespace platform::win32 {

namespace {
const char* const formFontName = "ＭＳ Ｐゴシック";
constexpr int formFontHeight = 12; // character height in pixels at 96 dots per inch

int screenDpi() {
    const WindowDC screen;
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}
} // namespace

Ui::Ui() : dpi_(screenDpi()) {
    font_ = CreateFontA(-scale(formFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        formFontName);
}

Ui::~Ui() { DeleteObject(font_); }

SIZE Ui::textExtent(const std::string& text) const {
    const WindowDC screen;
    const SelectedObject font(screen.get(), font_);
    RECT bounds{0, 0, 0, 0};
    DrawTextA(screen.get(), text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | DT_EXPANDTABS);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

HCURSOR Ui::cursor(int index) const {
    auto found = cursors_.find(index);
    return found != cursors_.end() ? found->second : LoadCursorA(nullptr, IDC_ARROW);
}

void Ui::setCursor(int index, HCURSOR cursor) { cursors_[index] = cursor; }

std::string windowText(HWND window) {
    std::vector<char> buffer(GetWindowTextLengthA(window) + 1);
    int length = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), length);
}

} // namespace platform::win32
