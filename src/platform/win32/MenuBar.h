#pragma once
// A form's menu bar and the accelerator table of its shortcuts, built from
// menu records. An item with sub-items opens them; any other is a command.
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/Toolkit.h"
#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

class MenuBar {
public:
    // Commands get the ids firstId, firstId + 1, ... in the order of the records.
    MenuBar(const std::vector<MenuItemSpec>& items, int firstId);
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // Null without items. The form's window destroys the menu with itself.
    HMENU handle() const { return menu_; }
    HACCEL shortcuts() const { return shortcuts_.get(); }
    MenuItem* itemById(int id);
    MenuItem* itemByName(const std::string& name);

private:
    struct Item : MenuItem {
        explicit Item(const MenuItemSpec& record) : record_(record) {}
        const MenuItemSpec& layout() const override { return record_; }
        const MenuItemSpec record_;
    };

    void appendItems(HMENU menu, const std::string& parent, std::vector<ACCEL>& shortcuts);
    bool hasSubItems(const std::string& name) const;

    std::vector<std::unique_ptr<Item>> items_;
    int firstId_;
    HMENU menu_ = nullptr;
    OwnedObject<HACCEL, DestroyAcceleratorTable> shortcuts_;
};

// "Ctrl+O", "Shift+F3", "F1": the key and modifiers of a shortcut; false for text it does not know.
bool parseShortcut(const std::string& text, ACCEL& key);

} // namespace platform::win32
