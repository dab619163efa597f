// Menus whose owner-drawn items the menu object measures and paints itself.
// WM_MEASUREITEM names no menu, only the item's data, so every object keeps
// the data values of the items it appended in one table; the window classes
// of the framework route both messages through that table when their own
// handler leaves them alone.
#pragma once

#include <windows.h>

#include <vector>

namespace fw {

class OwnerDrawMenu {
public:
    OwnerDrawMenu() = default;
    virtual ~OwnerDrawMenu();
    OwnerDrawMenu(const OwnerDrawMenu&) = delete;
    OwnerDrawMenu& operator=(const OwnerDrawMenu&) = delete;

    HMENU handle() const noexcept { return menu_; }
    // True while destroying the object destroys the menu handle too.
    bool OwnsHandle() const noexcept { return owned_; }

    // A new empty popup menu, owned until it is appended to another menu.
    bool CreatePopup();
    // Works on a menu that belongs to someone else (a loaded resource's popup).
    void Attach(HMENU menu);

    // An owner-drawn command item carrying data.
    bool AppendOwnerDraw(UINT id, ULONG_PTR data);
    // An owner-drawn item that opens submenu. The submenu's handle then goes
    // with this menu: the submenu object no longer destroys it.
    bool AppendOwnerDrawPopup(OwnerDrawMenu& submenu, ULONG_PTR data);
    bool AppendText(UINT id, const char* text, UINT extraFlags = 0);
    bool AppendSeparator();

    // The owner-draw callbacks for this menu's items.
    virtual void MeasureItem(MEASUREITEMSTRUCT* item) = 0;
    virtual void DrawItem(const DRAWITEMSTRUCT* item) = 0;

    // The live object that appended an item with this data, or null.
    static OwnerDrawMenu* FromItemData(ULONG_PTR data);

private:
    void Forget();

    HMENU menu_ = nullptr;
    bool owned_ = false;
    std::vector<ULONG_PTR> data_;
};

// Hands a menu item's WM_MEASUREITEM or WM_DRAWITEM to the object that
// appended it; true (result TRUE) when one did.
bool RouteOwnerDrawMenu(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace fw
