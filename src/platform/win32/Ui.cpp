#include "platform/win32/Ui.h"

#include "platform/win32/Controls.h"
#include "platform/win32/DeviceContext.h"

#include <vector>

namespace platform::win32 {

const char* const formClassName = "VelumoForm";
const char* const containerClassName = "VelumoContainer";
const char* const toolButtonClassName = "VelumoToolButton";
const char* const linkLabelClassName = "VelumoLinkLabel";

namespace {
const char* const formFontName = "ＭＳ Ｐゴシック";
constexpr int formFontHeight = 12; // character height in pixels at 96 dots per inch

void registerClass(const char* name, WNDPROC procedure, HICON icon) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}
} // namespace

namespace {
int screenDpi() {
    const WindowDC screen;
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}
} // namespace

Ui::Ui() : dpi_(screenDpi()) {
    font_ = CreateFontA(-scale(formFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        formFontName);
    registerClass(formClassName, formWindowProc, LoadIconA(nullptr, IDI_APPLICATION));
    registerClass(containerClassName, containerWindowProc, nullptr);
    registerClass(toolButtonClassName, ownedWindowProc<ToolButtonWindow>, nullptr);
    registerClass(linkLabelClassName, ownedWindowProc<LinkLabelWindow>, nullptr);
}

Ui::~Ui() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const char* name : {formClassName, containerClassName, toolButtonClassName, linkLabelClassName})
        UnregisterClassA(name, instance);
    DeleteObject(font_);
}

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
