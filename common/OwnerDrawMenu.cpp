#include "OwnerDrawMenu.h"

#include "fw/handles.h"

namespace {

// Texts are shown as they stand: an "&" in a link's title is no mnemonic.
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX;

void FillSolid(HDC dc, int x, int y, int cx, int cy, COLORREF colour) {
    const COLORREF old = ::SetBkColor(dc, colour);
    const RECT rect{x, y, x + cx, y + cy};
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

// A one-pixel frame: topLeft on the top and left edges, bottomRight on the others.
void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    FillSolid(dc, r.left, r.top, cx - 1, 1, topLeft);
    FillSolid(dc, r.left, r.top, 1, cy - 1, topLeft);
    FillSolid(dc, r.right - 1, r.top, 1, cy, bottomRight);
    FillSolid(dc, r.left, r.bottom - 1, cx, 1, bottomRight);
}

void DrawTextIn(HDC dc, const CMenuItemData& data, RECT rect, COLORREF text, COLORREF back) {
    const COLORREF oldText = ::SetTextColor(dc, text);
    const COLORREF oldBack = ::SetBkColor(dc, back);
    ::DrawTextA(dc, data.text.c_str(), static_cast<int>(data.text.size()), &rect, kTextFormat);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

}  // namespace

bool COwnerDrawMenu::AppendOwnerDrawItem(UINT id, CMenuItemData* data) {
    return AppendOwnerDraw(id, reinterpret_cast<ULONG_PTR>(data));
}

bool COwnerDrawMenu::AppendOwnerDrawItem(COwnerDrawMenu* submenu, CMenuItemData* data) {
    return submenu && AppendOwnerDrawPopup(*submenu, reinterpret_cast<ULONG_PTR>(data));
}

void COwnerDrawMenu::MeasureItem(MEASUREITEMSTRUCT* item) {
    fw::WindowDc dc(nullptr);
    MeasureItemOn(dc.get(), item);
}

void COwnerDrawMenu::MeasureItemOn(HDC dc, MEASUREITEMSTRUCT* item) const {
    const auto* data = reinterpret_cast<const CMenuItemData*>(item->itemData);
    SIZE extent{0, 0};
    if (data) ::GetTextExtentPoint32A(dc, data->text.c_str(), static_cast<int>(data->text.size()), &extent);
    const int s = IconSize();
    item->itemWidth = static_cast<UINT>(extent.cx + (largeIcons_ ? 34 : 18));
    item->itemHeight = static_cast<UINT>((extent.cy < s ? s : extent.cy) + 2);
}

void COwnerDrawMenu::DrawItem(const DRAWITEMSTRUCT* item) {
    const auto* data = reinterpret_cast<const CMenuItemData*>(item->itemData);
    if (!data) return;
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    const int s = IconSize();
    HICON icon = largeIcons_ ? data->largeIcon : data->smallIcon;
    const RECT text{r.left + (largeIcons_ ? 35 : 19), r.top, r.right, r.bottom};
    const RECT iconFrame{r.left, r.top - 1, r.left + (largeIcons_ ? 34 : 18), r.bottom};
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);

    if (item->itemAction & ODA_DRAWENTIRE) {
        if (icon) ::DrawIconEx(dc, r.left + 1, r.top, icon, s, s, 0, nullptr, DI_NORMAL);
        FillSolid(dc, text.left, text.top, text.right - text.left, text.bottom - text.top, face);
        DrawTextIn(dc, *data, text, ::GetSysColor(COLOR_BTNTEXT), face);
    }
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    if (selected && (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        if (icon) Draw3dRect(dc, iconFrame, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
        const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
        FillSolid(dc, text.left, text.top, text.right - text.left, text.bottom - text.top, highlight);
        DrawTextIn(dc, *data, text, ::GetSysColor(COLOR_HIGHLIGHTTEXT), highlight);
        return;
    }
    if (!selected && (item->itemAction & ODA_SELECT)) {
        if (icon) Draw3dRect(dc, iconFrame, face, face);
        FillSolid(dc, text.left, text.top, text.right - text.left, text.bottom - text.top, face);
        DrawTextIn(dc, *data, text, ::GetSysColor(COLOR_BTNTEXT), face);
    }
}
