// Measuring and painting links-menu items on a memory DC.
#include "OwnerDrawMenu.h"

#include "fw/handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A 32-bit memory canvas, cleared to a colour no item paints.
struct Canvas {
    static constexpr int kWidth = 200, kHeight = 40;
    fw::MemoryDc dc{::CreateCompatibleDC(nullptr)};
    fw::Bitmap bitmap;
    HGDIOBJ old = nullptr;
    Canvas() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.reset(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        old = ::SelectObject(dc.get(), bitmap.get());
        Clear();
    }
    ~Canvas() { ::SelectObject(dc.get(), old); }
    void Clear() {
        fw::Brush magenta(::CreateSolidBrush(RGB(255, 0, 255)));
        const RECT all{0, 0, kWidth, kHeight};
        ::FillRect(dc.get(), &all, magenta.get());
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc.get(), x, y); }
    // Whether any pixel of the rectangle has the colour.
    bool Holds(const RECT& r, COLORREF colour) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == colour) return true;
        return false;
    }
};

// A 16 x 16 (or 32 x 32) icon of one solid colour.
fw::Icon SolidIcon(int size, COLORREF colour) {
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::WindowDc screen(nullptr);
    fw::Bitmap colourBits(::CreateCompatibleBitmap(screen.get(), size, size));
    fw::Bitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
    {
        fw::SelectObjectGuard select(dc.get(), colourBits.get());
        fw::Brush brush(::CreateSolidBrush(colour));
        const RECT all{0, 0, size, size};
        ::FillRect(dc.get(), &all, brush.get());
    }
    {
        fw::SelectObjectGuard select(dc.get(), mask.get());
        const RECT all{0, 0, size, size};
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));  // opaque
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), colourBits.get()};
    return fw::Icon(::CreateIconIndirect(&info));
}

fw::Font FontOfHeight(int height) {
    return fw::Font(::CreateFontA(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma"));
}

TEST(OwnerDrawMenu, MeasureGivesTheTextPlusTheIconCell) {
    struct Case {
        bool large;
        int fontHeight;
    } cases[] = {{false, 8}, {false, 40}, {true, 8}, {true, 40}};
    for (const auto& c : cases) {
        Canvas canvas;
        fw::Font font = FontOfHeight(c.fontHeight);
        fw::SelectObjectGuard select(canvas.dc.get(), font.get());
        CMenuItemData data{"News and weather", nullptr, nullptr, false};
        SIZE extent{};
        ::GetTextExtentPoint32A(canvas.dc.get(), data.text.c_str(), static_cast<int>(data.text.size()), &extent);
        COwnerDrawMenu menu;
        menu.SetLargeIcons(c.large);
        MEASUREITEMSTRUCT item{ODT_MENU, 0, 50001, 0, 0, reinterpret_cast<ULONG_PTR>(&data)};
        menu.MeasureItemOn(canvas.dc.get(), &item);
        const int icon = c.large ? 32 : 16;
        SCOPED_TRACE(std::to_string(c.large) + " " + std::to_string(c.fontHeight));
        EXPECT_EQ(static_cast<int>(item.itemWidth), extent.cx + (c.large ? 34 : 18));
        EXPECT_EQ(static_cast<int>(item.itemHeight), (extent.cy < icon ? icon : extent.cy) + 2);
    }
}

struct DrawCase {
    const char* name;
    UINT action;
    UINT state;
    COLORREF textBack;    // expected behind the text
    COLORREF frameTop;    // expected on the icon frame's top edge (magenta: untouched)
    COLORREF frameBottom;
    bool iconDrawn;
};

TEST(OwnerDrawMenu, DrawPaintsIconTextAndSelectionInTheButtonColours) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF untouched = RGB(255, 0, 255);
    ASSERT_NE(face, highlight);
    const DrawCase cases[] = {
        {"whole, not selected", ODA_DRAWENTIRE, 0, face, untouched, untouched, true},
        {"whole, selected", ODA_DRAWENTIRE, ODS_SELECTED, highlight, light, dark, true},
        {"selection comes", ODA_SELECT, ODS_SELECTED, highlight, light, dark, false},
        {"selection goes", ODA_SELECT, 0, face, face, face, false},
        {"focus only", ODA_FOCUS, ODS_SELECTED, untouched, untouched, untouched, false},
    };
    const COLORREF iconColour = RGB(0, 200, 0);
    fw::Icon icon = SolidIcon(16, iconColour);
    ASSERT_TRUE(icon);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        CMenuItemData data{"", icon.get(), icon.get(), false};
        COwnerDrawMenu menu;
        const RECT r{0, 4, 150, 24};
        DRAWITEMSTRUCT item{ODT_MENU, 0, 50001, c.action, c.state, nullptr, canvas.dc.get(), r,
                            reinterpret_cast<ULONG_PTR>(&data)};
        menu.DrawItem(&item);
        EXPECT_EQ(canvas.At(100, 14), c.textBack) << "text cell";
        EXPECT_EQ(canvas.At(19, 5), c.textBack) << "the text cell starts at left + 19";
        EXPECT_EQ(canvas.At(18, 14), untouched) << "the gap beside the icon frame";
        EXPECT_EQ(canvas.At(5, 3), c.frameTop) << "frame top, one above the item";
        EXPECT_EQ(canvas.At(0, 10), c.frameTop) << "frame left";
        EXPECT_EQ(canvas.At(17, 10), c.frameBottom) << "frame right";
        EXPECT_EQ(canvas.At(5, 23), c.frameBottom) << "frame bottom";
        EXPECT_EQ(canvas.At(8, 12) == iconColour, c.iconDrawn) << "icon at left + 1, top";
        EXPECT_EQ(canvas.At(8, 21), c.iconDrawn ? untouched : canvas.At(8, 21)) << "icon 16 high";
    }
}

TEST(OwnerDrawMenu, LargeIconsMoveTheTextAndFrame) {
    Canvas canvas;
    fw::Icon icon = SolidIcon(32, RGB(0, 0, 200));
    CMenuItemData data{"", icon.get(), icon.get(), true};
    COwnerDrawMenu menu;
    menu.SetLargeIcons(true);
    const RECT r{0, 2, 150, 36};
    DRAWITEMSTRUCT item{ODT_MENU, 0, 1, ODA_DRAWENTIRE, ODS_SELECTED, nullptr, canvas.dc.get(), r,
                        reinterpret_cast<ULONG_PTR>(&data)};
    menu.DrawItem(&item);
    EXPECT_EQ(canvas.At(20, 20), RGB(0, 0, 200)) << "a 32-pixel icon";
    EXPECT_EQ(canvas.At(33, 20), ::GetSysColor(COLOR_3DDKSHADOW)) << "frame right at left + 33";
    EXPECT_EQ(canvas.At(35, 20), ::GetSysColor(COLOR_HIGHLIGHT)) << "text from left + 35";
    EXPECT_EQ(canvas.At(34, 20), RGB(255, 0, 255));
}

// Paints text the way a reference DrawText with the given format does.
void Reference(Canvas& canvas, const std::string& text, const RECT& cell, UINT format) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    fw::Brush brush(::CreateSolidBrush(face));
    ::FillRect(canvas.dc.get(), &cell, brush.get());
    ::SetTextColor(canvas.dc.get(), ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(canvas.dc.get(), face);
    RECT r = cell;
    ::DrawTextA(canvas.dc.get(), text.c_str(), static_cast<int>(text.size()), &r, format);
}

bool SamePixels(const Canvas& a, const Canvas& b, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

TEST(OwnerDrawMenu, TextIsDrawnAsItStandsWithItsAmpersand) {
    const std::string text = "Q&A &Co";
    const RECT r{0, 4, 150, 24};
    const RECT cell{19, 4, 150, 24};
    Canvas drawn, plain, prefixed;
    CMenuItemData data{text, nullptr, nullptr, false};
    COwnerDrawMenu menu;
    DRAWITEMSTRUCT item{ODT_MENU, 0, 1, ODA_DRAWENTIRE, 0, nullptr, drawn.dc.get(), r,
                        reinterpret_cast<ULONG_PTR>(&data)};
    menu.DrawItem(&item);
    Reference(plain, text, cell, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
    Reference(prefixed, text, cell, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    ASSERT_FALSE(SamePixels(plain, prefixed, cell)) << "the two renderings must differ for this test to tell";
    EXPECT_TRUE(SamePixels(drawn, plain, cell));
    EXPECT_TRUE(drawn.Holds(cell, ::GetSysColor(COLOR_BTNTEXT)));
}

}  // namespace
