// A menu of items with an icon cell and a text, drawn in the button colours:
// 16 x 16 icons by default, 32 x 32 with large icons.
#pragma once

#include "MenuItemData.h"

#include "fw/menu.h"

#include <windows.h>

class COwnerDrawMenu : public fw::OwnerDrawMenu {
public:
    void SetLargeIcons(bool large) { largeIcons_ = large; }
    bool LargeIcons() const { return largeIcons_; }
    int IconSize() const { return largeIcons_ ? 32 : 16; }

    // A command item carrying data (owned by the caller, who keeps it alive
    // as long as the menu).
    bool AppendOwnerDrawItem(UINT id, CMenuItemData* data);
    // A popup item opening submenu; the submenu's handle goes with this menu.
    bool AppendOwnerDrawItem(COwnerDrawMenu* submenu, CMenuItemData* data);

    // Measures with the screen's display context.
    void MeasureItem(MEASUREITEMSTRUCT* item) override;
    // Measures the item's text with dc.
    void MeasureItemOn(HDC dc, MEASUREITEMSTRUCT* item) const;
    void DrawItem(const DRAWITEMSTRUCT* item) override;

private:
    bool largeIcons_ = false;
};
