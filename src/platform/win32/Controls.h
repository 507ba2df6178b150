#pragma once
// The control windows of a form.
#include <vector>

#include "platform/Colours.h"
#include "platform/win32/ChildWindow.h"
#include "platform/win32/PointerTracker.h"

namespace platform::win32 {

// The window class of panels and tab pages, which pass their controls'
// notifications on to the form.
const char* containerClass();

// Where a label goes: its place in the table, grown to hold its text.
Bounds labelBounds(const ControlSpec& layout, const Ui& ui);

// A label, a panel or a tab page: a window with nothing to answer.
class PlainControl : public ChildOf<Control> {
public:
    PlainControl(const ControlSpec& layout, HWND window);
};

// A push button. The OK and Cancel kinds draw their picture left of the
// caption; they and the plain OK kind end a modal form with their result.
class PushButtonWindow : public ChildOf<Button> {
public:
    PushButtonWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);
    ModalResult command(int notification) override;
    void draw(const DRAWITEMSTRUCT& item) override;
    bool isPushButton() const override { return true; }

private:
    const Ui& ui_;
};

// The flat tool button with the opened-folder picture; it never takes the focus.
class ToolButtonWindow : public ChildOf<Button> {
public:
    ToolButtonWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint();

    const Ui& ui_;
    PointerTracker pointer_;
    bool pressed_ = false; // the left button went down on it and is still held
};

// A left-aligned label drawn in a colour of the program's choosing, which
// reports the mouse entering, leaving and pressing buttons over it.
class LinkLabelWindow : public ChildOf<LinkLabel> {
public:
    LinkLabelWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);
    std::string caption() const override;
    uint32_t textColor() const override { return textColour_; }
    void setTextColor(uint32_t colour) override { textColour_ = colour; }
    void repaint() override;
    void setCursor(int cursorIndex) override { cursorIndex_ = cursorIndex; }
    Point cursorPos() const override;
    Point screenToClient(Point screen) const override;
    int clientWidth() const override;
    int clientHeight() const override;
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint();
    void buttonDown(MouseButton button, LPARAM position);
    void buttonUp(MouseButton button, WPARAM buttonsHeld, LPARAM position);

    static constexpr int classCursor = -1; // any index below 0: the arrow of the window class

    const Ui& ui_;
    uint32_t textColour_ = clBlack;
    int cursorIndex_ = classCursor;
    PointerTracker pointer_;
};

class CheckBoxWindow : public ChildOf<CheckBox> {
public:
    CheckBoxWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);
    bool checked() const override;
    void setChecked(bool checked) override;
};

class EditWindow : public ChildOf<Edit> {
public:
    EditWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);
    std::string text() const override;
    ModalResult command(int notification) override;

private:
    void replaceText(const std::string& text) override;

    bool settingText_ = false; // the program's own change, reported by setText itself
};

class ListBoxWindow : public ChildOf<ListBox> {
public:
    ListBoxWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);
    void setLines(const std::vector<std::string_view>& lines) override;
    int count() const override;
    std::string line(int index) const override;
    void addLine(const std::string& line) override;
    int selectedIndex() const override;
    void select(int index) override;
    void redraw() override;
    // A double-click opens the line under the mouse, Enter the selected one.
    ModalResult command(int notification) override;
    void enterPressed() override;
    // Each line is drawn here, in the colour of its tint.
    void draw(const DRAWITEMSTRUCT& item) override;

private:
    std::wstring wideLine(int index) const;
};

// A tab control whose pages are container windows laid over its display area.
// The pages are its siblings, next after it in tab order; its window region
// leaves the display area out, so that it never paints over the page shown.
class PageControlWindow : public ChildOf<PageControl> {
public:
    PageControlWindow(const ControlSpec& layout, HWND parent, int id, const Ui& ui);
    std::unique_ptr<ChildWindow> addPage(const ControlSpec& page, int id);
    int activePage() const override;
    void setActivePage(int index) override;
    void notify(const NMHDR& header) override;
    // The next page, or the previous one, round the end: what Ctrl+Tab and Ctrl+Shift+Tab choose.
    void selectNextPage(bool forward);

private:
    void placePages();
    void showPage(int index);

    std::vector<HWND> pages_;
    int active_ = -1;
};

} // namespace platform::win32
