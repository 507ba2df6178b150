#include "platform/win32/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/win32/WindowProcedure.h"

namespace platform::win32 {

Bounds scaled(const Bounds& bounds, const Ui& ui) {
    return {ui.scale(bounds.left), ui.scale(bounds.top), ui.scale(bounds.width), ui.scale(bounds.height)};
}

HWND createControlWindow(const char* className, const std::string& text, DWORD style, DWORD extendedStyle,
                         const Bounds& bounds, HWND parent, int id, const Ui& ui, void* creationData) {
    HWND window =
        CreateWindowExA(extendedStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
                        bounds.width, bounds.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), creationData);
    if (!window) throw EOSError(GetLastError(), "コントロールを作成できません");
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(ui.font()), FALSE);
    return window;
}

// Labels size themselves to their text: one of width and height 0 takes the
// text's size, and a font wider than the table was made for never cuts a text short.
Bounds labelBounds(const ControlSpec& layout, const Ui& ui) {
    Bounds bounds = scaled(layout.bounds, ui);
    const SIZE extent = ui.textExtent(layout.caption);
    bounds.width = std::max<int>(bounds.width, extent.cx);
    bounds.height = std::max<int>(bounds.height, extent.cy);
    return bounds;
}

namespace {
// Panels and pages pass their controls' notifications on to the form, which
// knows every control of it by id.
LRESULT CALLBACK containerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        return SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::unique_ptr<ChildWindow> plain(const ControlSpec& layout, const char* className, DWORD style, DWORD extendedStyle,
                                   const Bounds& bounds, HWND parent, int id, const Ui& ui) {
    HWND window = createControlWindow(className, layout.caption, style, extendedStyle, bounds, parent, id, ui);
    return std::make_unique<PlainControl>(layout, window);
}
} // namespace

const char* containerClass() {
    static const char* const name = registerWindowClass("VelumoContainer", containerWindowProc);
    return name;
}

std::unique_ptr<ChildWindow> createChildWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui) {
    const Bounds bounds = scaled(layout.bounds, ui);
    switch (layout.kind) {
    case ControlKind::SunkenPanel:
        return plain(layout, containerClass(), 0, WS_EX_CONTROLPARENT | WS_EX_STATICEDGE, bounds, parent, id, ui);
    case ControlKind::Label:
        return plain(layout, "STATIC", SS_LEFTNOWORDWRAP, 0, labelBounds(layout, ui), parent, id, ui);
    case ControlKind::CentredLabel:
        return plain(layout, "STATIC", SS_CENTER, 0, bounds, parent, id, ui);
    case ControlKind::PageControl:
        return std::make_unique<PageControlWindow>(layout, parent, id, ui);
    case ControlKind::ListBox:
        return std::make_unique<ListBoxWindow>(layout, parent, id, ui);
    case ControlKind::Button:
    case ControlKind::OkButton:
    case ControlKind::CancelButton:
    case ControlKind::PushOkButton:
        return std::make_unique<PushButtonWindow>(layout, parent, id, ui);
    case ControlKind::LinkLabel:
        return std::make_unique<LinkLabelWindow>(layout, parent, id, ui);
    case ControlKind::BrowseButton:
        return std::make_unique<ToolButtonWindow>(layout, parent, id, ui);
    case ControlKind::CheckBox:
        return std::make_unique<CheckBoxWindow>(layout, parent, id, ui);
    case ControlKind::Edit:
        return std::make_unique<EditWindow>(layout, parent, id, ui);
    case ControlKind::Panel:
    case ControlKind::TabPage: // only one whose page control is missing, which FormWindow::createChild asserts
        break;
    }
    return plain(layout, containerClass(), 0, WS_EX_CONTROLPARENT, bounds, parent, id, ui);
}

PlainControl::PlainControl(const ControlSpec& layout, HWND window) : ChildOf(layout) { window_ = window; }

CheckBoxWindow::CheckBoxWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui) : ChildOf(layout) {
    window_ = createControlWindow("BUTTON", layout.caption, BS_AUTOCHECKBOX | WS_TABSTOP, 0, scaled(layout.bounds, ui),
                                  parent, id, ui);
}

bool CheckBoxWindow::checked() const { return SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBoxWindow::setChecked(bool checked) {
    SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

EditWindow::EditWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui) : ChildOf(layout) {
    window_ = createControlWindow("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, scaled(layout.bounds, ui),
                                  parent, id, ui);
}

std::string EditWindow::text() const { return windowText(window_); }

// The window's own EN_CHANGE is ignored while the text is set here, so the
// change is reported exactly once, by setText.
void EditWindow::replaceText(const std::string& text) {
    settingText_ = true;
    SetWindowTextA(window_, text.c_str());
    settingText_ = false;
}

ModalResult EditWindow::command(int notification) {
    if (notification == EN_CHANGE && !settingText_) fireEvent(onChange);
    return ModalResult::None;
}

// The list draws its own lines (with the strings kept by the list box), so
// that each can have the colour of its tint.
ListBoxWindow::ListBoxWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui) : ChildOf(layout) {
    window_ = createControlWindow("LISTBOX", "",
                                  LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL |
                                      WS_TABSTOP,
                                  WS_EX_CLIENTEDGE, scaled(layout.bounds, ui), parent, id, ui);
    if (layout.itemHeight > 0) SendMessageA(window_, LB_SETITEMHEIGHT, 0, ui.scale(layout.itemHeight));
}

// The double-click is the message being handled: the line is the one under
// the mouse where it happened, none when it fell below the last line. It is
// worked out from the top line and the item height, since the list's own hit
// test answers in 16 bits and a log may have more lines. (A list box that
// answered its own messages would slow the filling of a long log.)
ModalResult ListBoxWindow::command(int notification) {
    if (notification != LBN_DBLCLK) return ModalResult::None;
    const DWORD position = GetMessagePos();
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ScreenToClient(window_, &point);
    const LRESULT itemHeight = SendMessageA(window_, LB_GETITEMHEIGHT, 0, 0);
    if (point.y < 0 || itemHeight <= 0 || itemHeight == LB_ERR) return ModalResult::None;
    const LRESULT item = SendMessageA(window_, LB_GETTOPINDEX, 0, 0) + point.y / itemHeight;
    RECT bounds{};
    if (item < count() && SendMessageA(window_, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&bounds)) != LB_ERR &&
        PtInRect(&bounds, point))
        openLine(static_cast<int>(item));
    return ModalResult::None;
}

void ListBoxWindow::enterPressed() {
    if (const int selected = selectedIndex(); selected >= 0) openLine(selected);
}

// Each line added to a list box that redraws costs milliseconds, so a whole
// new content goes in with redrawing off and is drawn once at the end. Each
// line passes through one buffer that gives it the closing zero the list box
// needs; the list box keeps its own copy.
namespace {
// Adds lines to a list box. The list keeps its texts in UTF-16, so each
// line sent in the code page is converted by the system, which under Wine
// costs about a third of the fill of a long log. The code page holds ASCII
// as it is, so a line of ASCII alone, most lines of a TeX log, is widened
// here byte by byte; any other line goes through the code page.
class ListLineAdder {
public:
    explicit ListLineAdder(HWND list) : list_(list) {}

    void add(std::string_view line) {
        wide_.resize(line.size() + 1);
        for (size_t at = 0; at < line.size(); ++at) {
            const auto byte = static_cast<unsigned char>(line[at]);
            if (byte >= 0x80) return addInCodePage(line);
            wide_[at] = byte;
        }
        wide_[line.size()] = L'\0';
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide_.data()));
    }

private:
    void addInCodePage(std::string_view line) {
        narrow_.assign(line);
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(narrow_.c_str()));
    }

    HWND list_;
    std::wstring wide_;
    std::string narrow_;
};
} // namespace

void ListBoxWindow::setLines(const std::vector<std::string_view>& lines) {
    SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(window_, LB_RESETCONTENT, 0, 0);
    SendMessageA(window_, LB_INITSTORAGE, lines.size(), 0);
    ListLineAdder adder(window_);
    for (const std::string_view line : lines)
        adder.add(line);
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
}

int ListBoxWindow::count() const { return static_cast<int>(SendMessageA(window_, LB_GETCOUNT, 0, 0)); }

// The list keeps its lines in UTF-16, and they are read back so, into a
// buffer of the length the list gives: an ANSI read of a long line would go
// through a conversion buffer of the system's that a line of more than a few
// hundred characters overruns (Wine's holds 512).
std::wstring ListBoxWindow::wideLine(int index) const {
    const LRESULT length = SendMessageW(window_, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : std::min<size_t>(static_cast<size_t>(copied), static_cast<size_t>(length)));
    return text;
}

std::string ListBoxWindow::line(int index) const {
    const std::wstring wide = wideLine(index);
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(bytes, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
    return text;
}

void ListBoxWindow::addLine(const std::string& line) { ListLineAdder(window_).add(line); }

int ListBoxWindow::selectedIndex() const { return static_cast<int>(SendMessageA(window_, LB_GETCURSEL, 0, 0)); }

void ListBoxWindow::select(int index) { SendMessageA(window_, LB_SETCURSEL, index, 0); }

namespace {
// A tint's colour where it reads well on the background; the window's text
// colour where it would not, and always in a high-contrast theme, which asks
// for the system's colours alone.
COLORREF tintColour(LineTint tint, COLORREF background) {
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    HIGHCONTRASTA contrast{sizeof contrast, 0, nullptr};
    if (tint == LineTint::Plain ||
        (SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON)))
        return text;
    const COLORREF colour = tint == LineTint::Error ? clErrorText : tint == LineTint::Warning ? clWarningText : clQuietText;
    return contrastRatio(colour, background) >= minimumContrast ? colour : text;
}
} // namespace

void ListBoxWindow::redraw() { InvalidateRect(window_, nullptr, TRUE); }

// A line is drawn as the list box draws its own: the text one pixel in, on
// the window's colours, or the highlight's when selected, with the focus
// rectangle on the line that has the caret.
void ListBoxWindow::draw(const DRAWITEMSTRUCT& item) {
    RECT bounds = item.rcItem;
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(item.hDC, &bounds);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF background = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const LineTint tint = tintOf && item.itemID != static_cast<UINT>(-1) ? tintOf(static_cast<int>(item.itemID))
                                                                          : LineTint::Plain;
    const COLORREF foreground = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                : (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                                  : tintColour(tint, background);
    const std::wstring text = item.itemID == static_cast<UINT>(-1) ? std::wstring() : wideLine(item.itemID);
    SetBkColor(item.hDC, background);
    SetTextColor(item.hDC, foreground);
    ExtTextOutW(item.hDC, bounds.left + 1, bounds.top, ETO_OPAQUE | ETO_CLIPPED, &bounds, text.data(),
                static_cast<UINT>(text.size()), nullptr);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &bounds);
}

} // namespace platform::win32
