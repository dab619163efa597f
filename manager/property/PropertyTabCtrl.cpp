#include "PropertyTabCtrl.h"

#include "fw/handles.h"

#include <commctrl.h>

namespace {

constexpr int kTabTextMax = 128;

}  // namespace

bool CPropertyTabCtrl::CreateTabs(HWND parent, UINT id) {
    HWND tab = ::CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_TOOLTIPS, 0, 0, 0,
                                 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 ::GetModuleHandleA(nullptr), nullptr);
    if (!tab) return false;
    if (!Subclass(tab)) {
        ::DestroyWindow(tab);
        return false;
    }
    const LONG_PTR style = ::GetWindowLongPtrA(tab, GWL_STYLE);
    ::SetWindowLongPtrA(tab, GWL_STYLE, style | TCS_OWNERDRAWFIXED);
    return true;
}

LRESULT CPropertyTabCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == fw::kReflectedDrawItem) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return Default(msg, wParam, lParam);
}

void CPropertyTabCtrl::DrawItem(const DRAWITEMSTRUCT& item) {
    char text[kTabTextMax + 1] = {};
    TCITEMA tc{};
    tc.mask = TCIF_TEXT;
    tc.pszText = text;
    tc.cchTextMax = kTabTextMax;
    ::SendMessageA(hwnd(), TCM_GETITEMA, item.itemID, reinterpret_cast<LPARAM>(&tc));
    RECT rc = item.rcItem;
    ::OffsetRect(&rc, 1, 4);
    DrawTabText(item.hDC, rc, text, false);
}

void CPropertyTabCtrl::DrawTabText(HDC dc, const RECT& rc, const std::string& text, bool selected) {
    fw::Font font(::CreateFontA(10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    fw::SelectObjectGuard selected_font(dc, font.get());
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT));
    // The tab's own face shows through the text.
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT box = rc;
    ::DrawTextA(dc, text.c_str(), -1, &box, DT_CENTER | DT_VCENTER);
    ::SetBkMode(dc, oldMode);
}
