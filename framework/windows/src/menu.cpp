#include "fw/menu.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace fw {

namespace {

struct ItemTable {
    std::mutex mutex;
    std::unordered_map<ULONG_PTR, OwnerDrawMenu*> owners;
};

ItemTable& Items() {
    static ItemTable table;
    return table;
}

void Remember(ULONG_PTR data, OwnerDrawMenu* menu) {
    if (!data) return;
    ItemTable& t = Items();
    std::lock_guard lock(t.mutex);
    t.owners[data] = menu;
}

}  // namespace

OwnerDrawMenu::~OwnerDrawMenu() {
    Forget();
    if (owned_ && menu_) ::DestroyMenu(menu_);
}

void OwnerDrawMenu::Forget() {
    ItemTable& t = Items();
    std::lock_guard lock(t.mutex);
    for (ULONG_PTR data : data_) {
        auto it = t.owners.find(data);
        if (it != t.owners.end() && it->second == this) t.owners.erase(it);
    }
    data_.clear();
}

bool OwnerDrawMenu::CreatePopup() {
    if (menu_) return false;
    menu_ = ::CreatePopupMenu();
    owned_ = menu_ != nullptr;
    return owned_;
}

void OwnerDrawMenu::Attach(HMENU menu) {
    Forget();
    if (owned_ && menu_) ::DestroyMenu(menu_);
    menu_ = menu;
    owned_ = false;
}

bool OwnerDrawMenu::AppendOwnerDraw(UINT id, ULONG_PTR data) {
    if (!menu_ || !::AppendMenuA(menu_, MF_OWNERDRAW, id, reinterpret_cast<const char*>(data))) return false;
    data_.push_back(data);
    Remember(data, this);
    return true;
}

bool OwnerDrawMenu::AppendOwnerDrawPopup(OwnerDrawMenu& submenu, ULONG_PTR data) {
    if (!menu_ || !submenu.menu_ || &submenu == this) return false;
    if (!::AppendMenuA(menu_, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.menu_),
                       reinterpret_cast<const char*>(data)))
        return false;
    // Destroying this menu destroys the submenu: one owner per handle.
    submenu.owned_ = false;
    data_.push_back(data);
    Remember(data, this);
    return true;
}

bool OwnerDrawMenu::AppendText(UINT id, const char* text, UINT extraFlags) {
    return menu_ && ::AppendMenuA(menu_, MF_STRING | extraFlags, id, text);
}

bool OwnerDrawMenu::AppendSeparator() { return menu_ && ::AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr); }

OwnerDrawMenu* OwnerDrawMenu::FromItemData(ULONG_PTR data) {
    ItemTable& t = Items();
    std::lock_guard lock(t.mutex);
    auto it = t.owners.find(data);
    return it == t.owners.end() ? nullptr : it->second;
}

bool RouteOwnerDrawMenu(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
    if (msg == WM_MEASUREITEM) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!item || item->CtlType != ODT_MENU) return false;
        OwnerDrawMenu* menu = OwnerDrawMenu::FromItemData(item->itemData);
        if (!menu) return false;
        menu->MeasureItem(item);
    } else if (msg == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!item || item->CtlType != ODT_MENU) return false;
        OwnerDrawMenu* menu = OwnerDrawMenu::FromItemData(item->itemData);
        if (!menu) return false;
        menu->DrawItem(item);
    } else {
        return false;
    }
    *result = TRUE;
    return true;
}

}  // namespace fw
