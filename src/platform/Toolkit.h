#pragma once
// The windowing toolkit: forms built from layout records, their controls, the
// menu, a timer, the open dialog, message boxes and the message pump.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/Events.h"
#include "platform/Layout.h"

namespace platform {

enum class ModalResult { None = 0, OK = 1, Cancel = 2, Yes = 6, No = 7 };

class Control {
public:
    virtual ~Control() = default;
    virtual const ControlSpec& layout() const = 0;
};

class Button : public Control {
public:
    EventHandler onClick;
};

// What a click on a button of this kind asks of its modal form once onClick
// has run: the OK kinds close it with OK, the Cancel kind with Cancel, the rest
// leave it open (None).
ModalResult modalResultOf(ControlKind kind);

// A click as every backend makes it: onClick runs, then the answer is the
// modal result the form is to close with.
ModalResult clickButton(Button& button);

class CheckBox : public Control {
public:
    virtual bool checked() const = 0;
    virtual void setChecked(bool checked) = 0;
};

class Edit : public Control {
public:
    virtual std::string text() const = 0;
    // Setting the text it already holds is no change; any other text fires
    // onChange once, after the new text is in place.
    void setText(const std::string& text);
    EventHandler onChange; // every change, typed or set by the program

protected:
    // Puts the text in place without reporting it: setText reports it.
    virtual void replaceText(const std::string& text) = 0;
};

// How a line of a list is drawn: as usual, or in the colour of an error, a
// warning or a quieter note. The toolkit picks colours that read well on the
// list's background, and keeps the selected line in the system's highlight.
enum class LineTint : uint8_t { Plain, Error, Warning, Quiet };

class ListBox : public Control {
public:
    virtual void setLines(const std::vector<std::string_view>& lines) = 0; // replaces all lines
    virtual int count() const = 0;
    virtual std::string line(int index) const = 0;
    virtual void addLine(const std::string& line) = 0;
    virtual int selectedIndex() const = 0; // -1: none
    // Selects the line and scrolls it into view.
    virtual void select(int index) = 0;
    // Draws every line shown again, after tintOf has changed its answers.
    virtual void redraw() = 0;
    // The user opens a line: a double-click on it, or Enter on the selected one.
    std::function<void(int index)> onOpenLine;
    // Asked for each line as it is drawn; every line is plain without it.
    std::function<LineTint(int index)> tintOf;

protected:
    void openLine(int index) {
        if (onOpenLine) fireEvent([this, index] { onOpenLine(index); });
    }
};

class PageControl : public Control {
public:
    virtual int activePage() const = 0;
    virtual void setActivePage(int index) = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

enum class MouseButton { Left, Right, Middle };

// A label that follows the mouse: its colour can change and it reports the
// mouse entering, leaving, and buttons going down and up on it.
class LinkLabel : public Control {
public:
    virtual std::string caption() const = 0;
    virtual uint32_t textColor() const = 0; // 00BBGGRR
    virtual void setTextColor(uint32_t colour) = 0;
    virtual void repaint() = 0;
    // The mouse cursor shown over the label: an index of the toolkit's cursor table.
    virtual void setCursor(int cursorIndex) = 0;
    virtual Point cursorPos() const = 0; // the mouse, in screen coordinates
    virtual Point screenToClient(Point screen) const = 0;
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;

    EventHandler onMouseEnter;
    EventHandler onMouseLeave;
    std::function<void(MouseButton, int x, int y)> onMouseDown; // client coordinates
    std::function<void(MouseButton, int x, int y)> onMouseUp;
};

// The interface a control of each kind answers to.
template <ControlKind kind> constexpr auto interfaceOf() {
    using enum ControlKind;
    if constexpr (kind == Button || kind == OkButton || kind == CancelButton || kind == PushOkButton ||
                  kind == BrowseButton)
        return std::type_identity<platform::Button>{};
    else if constexpr (kind == CheckBox)
        return std::type_identity<platform::CheckBox>{};
    else if constexpr (kind == Edit)
        return std::type_identity<platform::Edit>{};
    else if constexpr (kind == ListBox)
        return std::type_identity<platform::ListBox>{};
    else if constexpr (kind == PageControl)
        return std::type_identity<platform::PageControl>{};
    else if constexpr (kind == LinkLabel)
        return std::type_identity<platform::LinkLabel>{};
    else
        return std::type_identity<Control>{}; // labels, panels and tab pages
}
template <ControlKind kind> using ControlOf = typename decltype(interfaceOf<kind>())::type;

class MenuItem {
public:
    virtual ~MenuItem() = default;
    virtual const MenuItemSpec& layout() const = 0;
    EventHandler onClick;
};

class Form {
public:
    virtual ~Form() = default;
    virtual const FormSpec& layout() const = 0;
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Outer top-left corner in screen pixels.
    virtual int left() const = 0;
    virtual int top() const = 0;
    virtual void setPosition(int left, int top) = 0;
    // Outer size in screen pixels; the height of the title bar with the frame above it.
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual int titleBarHeight() const = 0;

    // Adds a control of the given kind, next in tab order; its container (the
    // parent named in the row) must have been added before it.
    template <ControlKind kind> ControlOf<kind>& add(ControlSpec control) {
        control.kind = kind;
        return static_cast<ControlOf<kind>&>(addControl(std::move(control)));
    }
    virtual MenuItem& menuItem(const std::string& name) = 0;
    // A key ("F4", "Shift+F4") that runs a command wherever the focus is in
    // the form, while the form takes input; it has no menu item.
    virtual void addKeyCommand(const std::string& keys, EventHandler onPress) = 0;

    // Shows the form modally; returns how it was closed.
    virtual ModalResult showModal() = 0;
    // Makes the main form visible: onShow runs first, before anything is drawn.
    virtual void show() = 0;
    // Asks the form to close, as its close box does: a modal showing ends as
    // cancelled, any other form runs onClose.
    void close();

    EventHandler onShow;
    EventHandler onClose;

protected:
    virtual bool modalShowing() const = 0;
    // Ends the modal showing with the result; None leaves it running.
    virtual void endModal(ModalResult result) = 0;

    // Makes the control of control.kind; it implements ControlOf<control.kind>.
    virtual Control& addControl(ControlSpec control) = 0;
};

// A new timer runs, every second, as the classic timer component does.
class Timer {
public:
    static constexpr bool enabledWhenNew = true;
    static constexpr int newInterval = 1000; // milliseconds

    virtual ~Timer() = default;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0; // switching on restarts the period
    virtual int interval() const = 0;
    virtual void setInterval(int milliseconds) = 0;
    EventHandler onTimer;
};

class OpenDialog {
public:
    virtual ~OpenDialog() = default;
    virtual const OpenDialogSpec& layout() const = 0;
    // Runs the dialog starting from fileName(); true with the chosen full path in fileName().
    virtual bool execute() = 0;
    virtual std::string fileName() const = 0;
    virtual void setFileName(const std::string& path) = 0;
};

enum class MessageType { Warning, Error, Information, Confirmation };

// Button sets of a typed message dialog.
enum MessageButton : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };

// What Enter answers in a message dialog with these buttons: OK when it has
// one or has no Yes, else Yes.
ModalResult defaultAnswer(unsigned buttons);
// What Esc and the close box answer: Cancel, else No, else OK.
ModalResult escapeAnswer(unsigned buttons);

class Toolkit {
public:
    virtual ~Toolkit() = default;

    // A form with its menu and no controls yet: Form::add adds them.
    virtual std::unique_ptr<Form> createForm(const FormSpec& form, const std::vector<MenuItemSpec>& menu = {}) = 0;
    virtual std::unique_ptr<Timer> createTimer(Form& owner) = 0;
    virtual std::unique_ptr<OpenDialog> createOpenDialog(const OpenDialogSpec& layout) = 0;
    // Loads a cursor from the program's resources into the cursor table at
    // index, replacing what was registered there.
    virtual void registerCursor(int index, const std::string& resourceName) = 0;

    // A plain message: text and OK under the application's title.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
    // A typed message dialog centred on the screen; buttons is a set of MessageButton.
    virtual ModalResult messageDialog(const std::string& text, MessageType type, unsigned buttons) = 0;
    // The application's error box: text, error icon and OK under the application's title.
    virtual void showErrorBox(const std::string& title, const std::string& text) = 0;

    // The system's default sound: there is nothing to go to.
    virtual void beep() = 0;

    // Handles every message waiting in the queue, then returns.
    virtual void processMessages() = 0;
    // Dispatches messages until terminate() has been called.
    virtual void run() = 0;
    virtual void terminate() = 0;
};

} // namespace platform
