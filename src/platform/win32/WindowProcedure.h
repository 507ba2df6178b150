#pragma once
// How this program's own windows get their messages: each window class is
// registered by the first window made of it, and each window carries the
// object that answers its messages from its first message to its last.
#include <windows.h>

#include "platform/Events.h"

namespace platform::win32 {

// Runs the work of a window procedure so that no error can leave it: an error
// is reported like one raised by a command, and the fallback is answered.
template <class Work> LRESULT guarded(Work&& work, LRESULT fallback) {
    LRESULT result = fallback;
    fireEvent([&] { result = work(); });
    return result;
}

// The window procedure of a class whose every window carries the object that
// answers its messages, given as the creation data. The object hears of its
// window at WM_NCCREATE, before any other message, through windowCreated, and
// of its end at WM_NCDESTROY, the last message, through windowDestroyed; from
// then on, or once the object is detached (OwnedWindow), the messages go to
// the default procedure.
template <class Owner> LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        if (created) created->windowCreated(window);
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!owner) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        owner->windowDestroyed();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return guarded([&] { return owner->handleMessage(window, message, wParam, lParam); }, 0);
}

// The program's icon (resource "VELUMO") at the size the system shows in title
// bars (Small) or in Alt+Tab and the taskbar (Large); the generic program's icon
// in a program built without it. Loaded shared: the system owns it.
enum class IconSize { Small, Large };
HICON programIcon(IconSize size);

// Whether a class's windows show the program's icon: top-level windows do,
// controls have none.
enum class ClassIcon { None, Program };

// Registers a window class of this program; answers its name.
const char* registerWindowClass(const char* name, WNDPROC procedure, ClassIcon icon = ClassIcon::None);

// The class of the windows that carry an Owner, registered on the first call,
// which names it; it stays registered until the program ends.
template <class Owner> const char* ownedWindowClass(const char* name, ClassIcon icon = ClassIcon::None) {
    static const char* const registered = registerWindowClass(name, ownedWindowProc<Owner>, icon);
    return registered;
}

} // namespace platform::win32
