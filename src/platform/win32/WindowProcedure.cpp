#include "platform/win32/WindowProcedure.h"

namespace platform::win32 {

HICON programIcon(IconSize size) {
    const int side = GetSystemMetrics(size == IconSize::Small ? SM_CXSMICON : SM_CXICON);
    const auto load = [side](HINSTANCE module, const char* name) {
        return static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, side, side, LR_SHARED));
    };
    HICON icon = load(GetModuleHandleA(nullptr), "VELUMO");
    return icon ? icon : load(nullptr, IDI_APPLICATION);
}

const char* registerWindowClass(const char* name, WNDPROC procedure, ClassIcon icon) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    if (icon == ClassIcon::Program) {
        // Each size drawn for itself: the small one is not the large one shrunk.
        windowClass.hIcon = programIcon(IconSize::Large);
        windowClass.hIconSm = programIcon(IconSize::Small);
    }
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
    return name;
}

} // namespace platform::win32
