// Item painting, by pixels: through the reflected WM_DRAWITEM on a memory
// DC (the combo box itself seldom asks for focus drawing), and on screen.
#include "combo_test_util.h"

#include "fw/handles.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace combotest;
using fw::Variant;

const bool registered = (RegisterForTests(), true);
constexpr COLORREF kSentinel = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = kSentinel) : w_(width), h_(height) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<uint32_t*>(bits);
        dc_.reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
        fw::Brush brush(::CreateSolidBrush(fill));
        RECT all{0, 0, width, height};
        ::FillRect(dc_.get(), &all, brush.get());
    }
    ~Canvas() { ::SelectObject(dc_.get(), old_); }
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const uint32_t p = bits_[y * w_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    std::vector<uint32_t> Pixels() const {
        ::GdiFlush();
        return std::vector<uint32_t>(bits_, bits_ + w_ * h_);
    }
    // Every pixel of a rectangle equals the other canvas's.
    bool SameIn(const Canvas& o, const RECT& r) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != o.At(x, y)) return false;
        return true;
    }
    bool AllIn(const RECT& r, COLORREF colour) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != colour) return false;
        return true;
    }

private:
    int w_, h_;
    fw::Bitmap bitmap_;
    fw::MemoryDc dc_;
    uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

constexpr RECT kItem{0, 0, 200, 16};

// Sends the reflector a draw request for one item on the canvas.
void Draw(const Container& c, const Canvas& canvas, UINT item, UINT action, UINT state, RECT rc = kItem) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(c.Combo()));
    dis.itemID = item;
    dis.itemAction = action;
    dis.itemState = state;
    dis.hwndItem = c.Combo();
    dis.hDC = canvas.dc();
    dis.rcItem = rc;
    EXPECT_EQ(::SendMessageA(c.Reflector(), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis)), TRUE);
}

// One of the library's own pictures, stretched into target on a white canvas.
void Expected(Canvas& canvas, UINT id, const RECT& target) {
    fw::Bitmap bitmap(::LoadBitmapA(::GetModuleHandleA("ZYLCOMBO.OCX"), MAKEINTRESOURCEA(id)));
    ASSERT_TRUE(bitmap);
    BITMAP info{};
    ::GetObjectA(bitmap.get(), sizeof(info), &info);
    fw::MemoryDc source(::CreateCompatibleDC(canvas.dc()));
    fw::SelectObjectGuard select(source.get(), bitmap.get());
    ::StretchBlt(canvas.dc(), target.left, target.top, target.right - target.left, target.bottom - target.top,
                 source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

bool AnyNotIn(const Canvas& canvas, const RECT& r, COLORREF colour) {
    return !canvas.AllIn(r, colour);
}

TEST(ComboPaint, NoItemAndOtherActionsDrawNothing) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kAddFontColors, {""});
    Canvas canvas(200, 16);
    const std::vector<uint32_t> before = canvas.Pixels();
    Draw(c, canvas, static_cast<UINT>(-1), ODA_DRAWENTIRE, ODS_COMBOBOXEDIT);
    Draw(c, canvas, static_cast<UINT>(-1), ODA_DRAWENTIRE, ODS_COMBOBOXEDIT | ODS_DISABLED);
    Draw(c, canvas, 0, ODA_SELECT, ODS_SELECTED);
    Draw(c, canvas, 0, ODA_DRAWENTIRE | ODA_FOCUS, 0);
    EXPECT_EQ(canvas.Pixels(), before);
}

TEST(ComboPaint, TheDisabledFaceIsButtonFace) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kAddFontColors, {"Red"});
    Canvas canvas(200, 16);
    Draw(c, canvas, 9, ODA_DRAWENTIRE, ODS_COMBOBOXEDIT | ODS_DISABLED);
    EXPECT_TRUE(canvas.AllIn(kItem, ::GetSysColor(COLOR_BTNFACE)));
    // Disabled in the list (not the face): painted as usual.
    Canvas list(200, 16);
    Draw(c, list, 9, ODA_DRAWENTIRE, ODS_DISABLED);
    EXPECT_EQ(list.At(16, 8), RGB(255, 0, 0));
}

TEST(ComboPaint, ColourItemsShowTheirSwatchAtItsRectangleAndTheTextAfterIt) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kAddFontColors, {""});
    Canvas canvas(200, 16);
    Draw(c, canvas, 9, ODA_DRAWENTIRE, 0);  // "Red"
    const RECT swatch{2, 3, 30, 13};
    Canvas expected(200, 16, kWhite);
    Expected(expected, 204, swatch);
    EXPECT_TRUE(canvas.SameIn(expected, swatch));
    EXPECT_EQ(canvas.At(16, 8), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(2, 3), RGB(0, 0, 0)) << "the black border";
    for (POINT white : {POINT{1, 8}, POINT{31, 8}, POINT{16, 2}, POINT{16, 13}, POINT{199, 15}})
        EXPECT_EQ(canvas.At(white.x, white.y), kWhite) << white.x << "," << white.y;
    EXPECT_TRUE(AnyNotIn(canvas, RECT{33, 2, 80, 14}, kWhite)) << "the name is written from x 33";
    EXPECT_TRUE(canvas.AllIn(RECT{30, 0, 33, 16}, kWhite));

    // In another rectangle the swatch follows the item.
    Canvas moved(200, 40);
    Draw(c, moved, 9, ODA_DRAWENTIRE, 0, RECT{10, 20, 190, 36});
    EXPECT_EQ(moved.At(10 + 16, 20 + 8), RGB(255, 0, 0));
    EXPECT_EQ(moved.At(5, 25), kSentinel) << "nothing outside the item";
}

TEST(ComboPaint, TunesShowTheLoudspeakerForWaveFilesAndTheKeyboardOtherwise) {
    const struct {
        const char* name;
        UINT picture, other;
    } cases[] = {{"CHIMES.WAV", 221, 220}, {"ding.wav", 221, 220}, {"canyon.mid", 220, 221}, {"wav", 220, 221}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Container c;
        ASSERT_EQ(c.Create(), S_OK);
        c.Call(kAddTunes, {k.name});
        Canvas canvas(200, 18);
        Draw(c, canvas, 0, ODA_DRAWENTIRE, 0, RECT{0, 0, 200, 18});
        const RECT glyph{0, 2, 16, 16};
        Canvas expected(200, 18, kWhite), other(200, 18, kWhite);
        Expected(expected, k.picture, glyph);
        Expected(other, k.other, glyph);
        EXPECT_TRUE(canvas.SameIn(expected, glyph));
        EXPECT_FALSE(canvas.SameIn(other, glyph));
        EXPECT_TRUE(AnyNotIn(canvas, RECT{20, 2, 60, 14}, kWhite)) << "the name from x 20";
        EXPECT_TRUE(canvas.AllIn(RECT{16, 0, 20, 18}, kWhite));
    }
}

TEST(ComboPaint, FontsShowTheTrueTypeMarkAndSizesTheTextAlone) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kAddFonts, {""});
    Canvas fonts(200, 16);
    Draw(c, fonts, 0, ODA_DRAWENTIRE, 0);
    const RECT mark{0, 2, 18, 14};
    Canvas expected(200, 16, kWhite);
    Expected(expected, 201, mark);
    EXPECT_TRUE(fonts.SameIn(expected, mark));

    Container s;
    ASSERT_EQ(s.Create(), S_OK);
    s.Call(kAddFontSizes, {true, ""});
    Canvas sizes(200, 16);
    Draw(s, sizes, 0, ODA_DRAWENTIRE, 0);
    EXPECT_TRUE(sizes.AllIn(RECT{0, 0, 3, 16}, kWhite)) << "no picture, the text from x 3";
    EXPECT_TRUE(AnyNotIn(sizes, RECT{3, 2, 20, 14}, kWhite));
}

TEST(ComboPaint, TwoFocusActionsRestoreTheItem) {
    const struct {
        DISPID fill;
        std::vector<Variant> args;
        int left;
    } cases[] = {
        {kAddFontColors, {Variant("")}, 30},
        {kAddTunes, {Variant("a.wav")}, 20},
        {kAddFonts, {Variant("")}, 20},
        {kAddFontSizes, {Variant(false), Variant("")}, 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.left);
        Container c;
        ASSERT_EQ(c.Create(), S_OK);
        if (k.args.size() == 1)
            c.Call(k.fill, {k.args[0]});
        else
            c.Call(k.fill, {k.args[0], k.args[1]});
        Canvas canvas(200, 16);
        Draw(c, canvas, 0, ODA_DRAWENTIRE, 0);
        const std::vector<uint32_t> drawn = canvas.Pixels();
        Canvas copy(200, 16);
        ::BitBlt(copy.dc(), 0, 0, 200, 16, canvas.dc(), 0, 0, SRCCOPY);
        Draw(c, canvas, 0, ODA_FOCUS, ODS_FOCUS);
        if (k.left > 0) {
            EXPECT_TRUE(canvas.SameIn(copy, RECT{0, 0, k.left, 16})) << "left of the focus untouched";
        }
        // Inside the focus rectangle, away from its dotted edge, the item is inverted.
        const int x = 150, y = 8;
        EXPECT_EQ(canvas.At(x, y), RGB(255, 255, 255) ^ copy.At(x, y));
        EXPECT_NE(canvas.At(k.left + 1, y), copy.At(k.left + 1, y));
        Draw(c, canvas, 0, ODA_FOCUS, 0);
        EXPECT_EQ(canvas.Pixels(), drawn);
    }
}

TEST(ComboPaint, ALongTextOfAnotherKindPaintsClippedToItsItem) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    const std::string longName(2000, 'W');
    c.Call(kAddTunes, {longName});
    c.Call(kAddFontColors, {""});  // colour painter for every item now
    Canvas canvas(400, 40);
    Draw(c, canvas, 0, ODA_DRAWENTIRE, 0, RECT{0, 10, 300, 26});
    EXPECT_TRUE(AnyNotIn(canvas, RECT{33, 12, 300, 24}, kWhite)) << "the text is drawn";
    EXPECT_TRUE(canvas.AllIn(RECT{300, 0, 400, 40}, kSentinel)) << "and clipped to the item";
    EXPECT_TRUE(canvas.AllIn(RECT{0, 0, 400, 10}, kSentinel));
    EXPECT_EQ(c.Text(kGetTextForIndex, {0}), longName);
}

// The face of the closed control on screen.
COLORREF FacePixel(HWND combo, int x, int y) {
    ::RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    fw::WindowDc dc(combo);
    return ::GetPixel(dc.get(), x, y);
}

TEST(ComboPaintOnScreen, TheFaceShowsTheSelectionAndTheDisabledFace) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kAddFontColors, {"Red"});
    EXPECT_EQ(FacePixel(c.Combo(), 3 + 14, 3 + 5), RGB(255, 0, 0)) << "the swatch of the selection";
    c.Call(kEnableControl, {false});
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(FacePixel(c.Combo(), 3 + 14, 3 + 5), face) << "disabled with a selection: button face";
    c.Call(kSetCurSel, {-1});
    // Without a selection the control paints nothing: what shows is the box's own
    // disabled background (the system's button face too, here), not the swatch.
    const COLORREF empty = FacePixel(c.Combo(), 3 + 14, 3 + 5);
    EXPECT_NE(empty, RGB(255, 0, 0));
    EXPECT_EQ(empty, face);
}

}  // namespace
