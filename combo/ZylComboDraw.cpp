// Item painting: the list mode of the last fill decides what is drawn before
// each item's text (the TrueType mark, a colour swatch, a tune glyph or nothing).
#include "ZylComboCtrl.h"

#include "ZylColors.h"
#include "resource.h"

#include "fw/handles.h"

#include <olectl.h>

namespace {

struct Painter {
    int textDx;
    UINT (*picture)(const std::string& text);  // bitmap id, 0 for none
    RECT (*target)(const RECT& item);
};

UINT FontPicture(const std::string&) {
    return IDB_FONT_GLYPH;
}
UINT NoPicture(const std::string&) {
    return 0;
}
UINT ColorPicture(const std::string& text) {
    const ZylNamedColor* c = FindZylColor(text);
    return c ? c->swatch : 0;
}
UINT TunePicture(const std::string& text) {
    const bool wave = text.size() >= 4 && _stricmp(text.c_str() + text.size() - 4, ".wav") == 0;
    return wave ? IDB_SPEAKER : IDB_KEYBOARD;
}

RECT FontTarget(const RECT& r) {
    return {r.left, r.top + 2, r.left + 18, r.top + 14};
}
RECT NoTarget(const RECT& r) {
    return r;
}
RECT ColorTarget(const RECT& r) {
    return {r.left + 2, r.top + 3, r.left + 30, r.top + 13};
}
RECT TuneTarget(const RECT& r) {
    return {r.left, r.top + 2, r.left + 16, r.top + 16};
}

const Painter* PainterOf(int mode) {
    static const Painter painters[] = {
        {20, FontPicture, FontTarget},
        {3, NoPicture, NoTarget},
        {33, ColorPicture, ColorTarget},
        {20, TunePicture, TuneTarget},
    };
    return mode >= kListFonts && mode <= kListTunes ? &painters[mode - kListFonts] : nullptr;
}

// A bitmap of the module stretched into target; the item bounds the drawing.
void DrawPicture(HDC dc, UINT id, const RECT& target) {
    fw::Bitmap bitmap(::LoadBitmapA(fw::ComModule::Get().instance(), MAKEINTRESOURCEA(id)));
    if (!bitmap) return;
    BITMAP info{};
    ::GetObjectA(bitmap.get(), sizeof(info), &info);
    fw::MemoryDc source(::CreateCompatibleDC(dc));
    if (!source) return;
    fw::SelectObjectGuard select(source.get(), bitmap.get());
    ::StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.get(), 0,
                 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

}  // namespace

void CZylComboCtrl::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    if (item.itemState == (ODS_COMBOBOXEDIT | ODS_DISABLED)) {
        // The face of a disabled control.
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    if (item.itemAction == ODA_FOCUS) {
        RECT focus = rc;
        if (m_nListMode == kListFonts || m_nListMode == kListTunes) focus.left = 20;
        if (m_nListMode == kListColors) focus.left = 30;
        // Both are their own inverse: a second focus action restores the item.
        ::InvertRect(dc, &focus);
        HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        ::DrawFocusRect(dc, &focus);
        ::SelectObject(dc, old);
        return;
    }
    if (item.itemAction != ODA_DRAWENTIRE) return;
    const Painter* painter = PainterOf(m_nListMode);
    if (!painter) return;

    const int saved = ::SaveDC(dc);
    COLORREF white = 0;
    ::OleTranslateColor(RGB(255, 255, 255), nullptr, &white);
    {
        fw::Brush brush(::CreateSolidBrush(white));
        ::FillRect(dc, &rc, brush.get());
    }
    ::SetBkMode(dc, TRANSPARENT);
    const std::string text = ItemText(static_cast<int>(item.itemID));
    LOGFONTA lf{};
    lf.lfHeight = 8;
    lf.lfWeight = 100;
    lstrcpynA(lf.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    fw::Font font(::CreateFontIndirectA(&lf));
    {
        fw::SelectObjectGuard select(dc, font.get());
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::ExtTextOutA(dc, rc.left + painter->textDx, rc.top + 2, ETO_CLIPPED, &rc, text.c_str(),
                      static_cast<UINT>(text.size()), nullptr);
        if (const UINT picture = painter->picture(text)) {
            ::IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
            DrawPicture(dc, picture, painter->target(rc));
        }
    }
    ::RestoreDC(dc, saved);
}
