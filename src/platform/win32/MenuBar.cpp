#include "platform/win32/MenuBar.h"

#include <cctype>
#include <cstdlib>

namespace platform::win32 {

namespace {
bool addModifier(const std::string& name, BYTE& modifiers) {
    if (name == "Ctrl")
        modifiers |= FCONTROL;
    else if (name == "Shift")
        modifiers |= FSHIFT;
    else if (name == "Alt")
        modifiers |= FALT;
    else
        return false;
    return true;
}

bool keyOf(const std::string& name, WORD& key) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
        return true;
    }
    if (name.size() >= 2 && name[0] == 'F' && std::isdigit(static_cast<unsigned char>(name[1]))) {
        int number = std::atoi(name.c_str() + 1);
        if (number < 1 || number > 24) return false;
        key = static_cast<WORD>(VK_F1 + number - 1);
        return true;
    }
    if (name == "Del")
        key = VK_DELETE;
    else if (name == "Ins")
        key = VK_INSERT;
    else
        return false;
    return true;
}
} // namespace

bool parseShortcut(const std::string& text, ACCEL& key) {
    key = ACCEL{FVIRTKEY, 0, 0};
    size_t start = 0;
    for (size_t plus; (plus = text.find('+', start)) != std::string::npos; start = plus + 1)
        if (!addModifier(text.substr(start, plus - start), key.fVirt)) return false;
    return keyOf(text.substr(start), key.key);
}

MenuBar::MenuBar(const std::vector<MenuItemSpec>& items, int firstId) : firstId_(firstId) {
    for (const MenuItemSpec& item : items)
        items_.push_back(std::make_unique<Item>(item));
    if (items_.empty()) return;
    menu_ = CreateMenu();
    std::vector<ACCEL> shortcuts;
    appendItems(menu_, "", shortcuts);
    if (!shortcuts.empty())
        shortcuts_.reset(CreateAcceleratorTableA(shortcuts.data(), static_cast<int>(shortcuts.size())));
}

// The shortcut is shown right of the caption and works through the accelerator
// table; an item that opens sub-items has no command, so its shortcut does nothing.
void MenuBar::appendItems(HMENU menu, const std::string& parent, std::vector<ACCEL>& shortcuts) {
    for (size_t index = 0; index < items_.size(); ++index) {
        const MenuItemSpec& item = items_[index]->layout();
        if (item.parent != parent) continue;
        if (item.caption == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (hasSubItems(item.name)) {
            HMENU subMenu = CreatePopupMenu();
            appendItems(subMenu, item.name, shortcuts);
            AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(subMenu), item.caption.c_str());
        } else {
            const WORD id = static_cast<WORD>(firstId_ + index);
            std::string text = item.caption;
            ACCEL key;
            if (!item.shortcut.empty() && parseShortcut(item.shortcut, key)) {
                key.cmd = id;
                shortcuts.push_back(key);
                if (!parent.empty()) text += "\t" + item.shortcut;
            }
            AppendMenuA(menu, MF_STRING, id, text.c_str());
        }
    }
}

bool MenuBar::hasSubItems(const std::string& name) const {
    for (const auto& item : items_)
        if (item->layout().parent == name) return true;
    return false;
}

MenuItem* MenuBar::itemById(int id) {
    const int index = id - firstId_;
    if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
    return items_[index].get();
}

MenuItem* MenuBar::itemByName(const std::string& name) {
    for (const auto& item : items_)
        if (item->layout().name == name) return item.get();
    return nullptr;
}

} // namespace platform::win32
