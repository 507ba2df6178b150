#include "platform/win32/Controls.h"

#include <commctrl.h>

#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

PageControlWindow::PageControlWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui) : ChildOf(layout) {
    window_ = createControlWindow(WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS, 0, scaled(layout.bounds, ui),
                                  parent, id, ui);
}

// A page is created hidden unless it is the first; the first page is active.
std::unique_ptr<ChildWindow> PageControlWindow::addPage(const ControlSpec& page, int id) {
    const int index = static_cast<int>(pages_.size());
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(page.caption.c_str());
    SendMessageA(window_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&tab));

    HWND window = CreateWindowExA(
        WS_EX_CONTROLPARENT, containerClass(), page.caption.c_str(), WS_CHILD | (index == 0 ? WS_VISIBLE : 0), 0, 0, 0,
        0, GetParent(window_), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!window) throw EOSError(GetLastError(), "ページを作成できません");
    pages_.push_back(window);
    if (index == 0) active_ = 0;
    placePages();
    return std::make_unique<PlainControl>(page, window);
}

// Every page covers the display area; the tab control keeps only its tabs and frame.
void PageControlWindow::placePages() {
    RECT display;
    GetClientRect(window_, &display);
    const RECT whole = display;
    SendMessageA(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));

    using Region = OwnedObject<HRGN, DeleteObject>;
    Region frame(CreateRectRgnIndirect(&whole));
    const Region inside(CreateRectRgnIndirect(&display));
    CombineRgn(frame.get(), frame.get(), inside.get(), RGN_DIFF);
    // The window owns the region once it has taken it.
    if (SetWindowRgn(window_, frame.get(), TRUE)) (void)frame.release();

    MapWindowPoints(window_, GetParent(window_), reinterpret_cast<POINT*>(&display), 2);
    for (HWND page : pages_)
        SetWindowPos(page, nullptr, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int PageControlWindow::activePage() const { return active_; }

void PageControlWindow::setActivePage(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    SendMessageA(window_, TCM_SETCURSEL, index, 0);
    showPage(index);
}

void PageControlWindow::notify(const NMHDR& header) {
    if (header.code == static_cast<UINT>(TCN_SELCHANGE))
        showPage(static_cast<int>(SendMessageA(window_, TCM_GETCURSEL, 0, 0)));
}

void PageControlWindow::selectNextPage(bool forward) {
    const int count = static_cast<int>(pages_.size());
    if (count > 0) setActivePage((active_ + (forward ? 1 : count - 1)) % count);
}

// The focus never stays on a page that is hidden: it moves to the first
// control of the page shown, or to the tabs when that page has none.
void PageControlWindow::showPage(int index) {
    if (index == active_ || index < 0) return;
    ShowWindow(pages_[index], SW_SHOW);
    if (active_ >= 0) {
        HWND focus = GetFocus();
        const bool focusLeaves = focus && IsChild(pages_[active_], focus);
        ShowWindow(pages_[active_], SW_HIDE);
        if (focusLeaves) {
            HWND first = GetNextDlgTabItem(pages_[index], nullptr, FALSE);
            SetFocus(first && IsChild(pages_[index], first) ? first : window_);
        }
    }
    active_ = index;
}

} // namespace platform::win32
