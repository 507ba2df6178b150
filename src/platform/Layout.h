#pragma once
// Creation records for windows and their controls. Geometry is in pixels at
// 96 dots per inch; a backend scales it to the display. A form's controls are
// added in tab order, each after the container that holds it.
#include <string>
#include <vector>

namespace platform {

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Bounds&) const = default;
};

enum class ControlKind {
    Panel,        // plain container
    SunkenPanel,  // container with a lowered bevel
    PageControl,  // tab control; its pages follow as TabPage entries
    TabPage,      // one page of the PageControl named as parent
    ListBox,      // log list: single selection, unsorted
    Button,       // push button
    OkButton,     // bitmap button of the standard OK kind: default, modal result OK
    CancelButton, // bitmap button of the standard Cancel kind: Esc, modal result Cancel
    PushOkButton, // plain push button that closes a modal form with OK
    BrowseButton, // tool button with an opened-folder picture; takes no focus
    CheckBox,
    Edit, // single-line edit
    Label,
    CentredLabel, // centred, word-wrapping label
    LinkLabel,    // a label that follows the mouse (see LinkLabel in Toolkit.h)
};

enum class Align { None, Top, Client };

// A control's row of its form's table. Rows name only what differs from the
// defaults, with designated initializers: {.name = "Edit1", .parent = "TabSheet1", ...};
// every member of these records has a default, so that any may be left out.
struct ControlSpec {
    ControlKind kind = ControlKind::Panel; // set by Form::add from its kind argument
    std::string name{};
    std::string parent{}; // empty: the form itself
    Bounds bounds{};      // a label's width and height may be 0: sized to its text
    std::string caption{};
    std::string hint{};    // stored with the control
    bool showHint = false; // shown as a tooltip only when set
    Align align = Align::None;
    bool isDefault = false; // answers Enter
    int itemHeight = 0;     // list boxes
};

enum class FormBorder { Sizeable, Dialog };
enum class FormPosition { Stored, ScreenCenter, MainFormCenter };

struct FormSpec {
    std::string name{};
    std::string caption{};
    Bounds bounds{}; // outer bounds, or client width and height when sizeIsClient
    bool sizeIsClient = false;
    FormBorder border = FormBorder::Sizeable;
    FormPosition position = FormPosition::Stored;
};

struct MenuItemSpec {
    std::string name{};
    std::string parent{};   // empty: an item of the menu bar
    std::string caption{};  // "&" marks the access key; "-" makes a separator line
    std::string shortcut{}; // "Ctrl+O", "F1" or empty
};

struct OpenDialogSpec {
    std::string title{};       // empty: the platform's own title
    std::string filter{};      // "description|pattern|description|pattern"
    std::string defaultExt{};  // appended to a name typed without extension
    bool fileMustExist = true; // false: a name that does not exist yet is taken too (its folder must exist)
};

} // namespace platform
