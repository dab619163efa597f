// The model's arithmetic: single-precision factors, truncation, the default
// place, the way back to the screen, and the skin value readers.
#include "desktop/DesktopGeometry.h"
#include "desktop/MiniBrowserWnd.h"

#include <gtest/gtest.h>

namespace {

RECT R(LONG l, LONG t, LONG r, LONG b) {
    return RECT{l, t, r, b};
}

::testing::AssertionResult Same(const RECT& got, const RECT& want) {
    if (::EqualRect(&got, &want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.left << ", " << got.top << ", " << got.right << ", "
                                         << got.bottom << "), want (" << want.left << ", " << want.top << ", "
                                         << want.right << ", " << want.bottom << ")";
}

}  // namespace

TEST(DesktopGeometry, FactorsAreSinglePrecision) {
    const desktop::Scale s = desktop::ScaleFor(1024, 768);
    EXPECT_EQ(s.sx, 2.4380953f);
    EXPECT_EQ(s.sy, 2.4000001f);
}

TEST(DesktopGeometry, ConversionsTruncate) {
    struct Case {
        int horz, vert;
        RECT screen, model;
    };
    const Case cases[] = {
        {1024, 768, R(102, 76, 716, 537), R(41, 31, 293, 223)},  // the default place
        {800, 600, R(80, 60, 560, 420), R(41, 32, 293, 224)},
        {1024, 768, R(100, 100, 500, 400), R(41, 41, 205, 166)},
        {1024, 768, R(0, 0, 0, 0), R(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        const desktop::Scale s = desktop::ScaleFor(c.horz, c.vert);
        EXPECT_TRUE(Same(desktop::ScreenToView(c.screen, s), c.model)) << c.horz << " " << c.screen.left;
    }
    EXPECT_TRUE(Same(desktop::DefaultScreenRect(1024, 768), R(102, 76, 716, 537)));
    EXPECT_TRUE(Same(desktop::DefaultScreenRect(800, 600), R(80, 60, 560, 420)));
}

TEST(DesktopGeometry, TheWayBackCountsFromTheViewsCornerAndClampsOnlyLeftAndTop) {
    const desktop::Scale s = desktop::ScaleFor(1024, 768);
    const RECT view = R(500, 100, 920, 420);
    struct Case {
        RECT mini, screen;
    };
    const Case cases[] = {
        {R(541, 131, 793, 323), R(99, 74, 714, 535)},       // the default place, untouched
        {R(561, 141, 813, 333), R(148, 98, 763, 559)},      // dragged by (+20, +10)
        {R(495, 131, 747, 323), R(0, 74, 614, 535)},        // 5 past the left edge: left 0, full width
        {R(541, 90, 793, 282), R(99, 0, 714, 460)},         // past the top edge
        {R(800, 400, 1000, 600), R(731, 720, 1219, 1200)},  // nothing clamped at the right or bottom
    };
    for (const Case& c : cases) EXPECT_TRUE(Same(desktop::ViewToScreen(view, c.mini, s), c.screen));
}

TEST(DesktopGeometry, AStoredRectangleCannotMakeAGiantMiniature) {
    const desktop::Scale s = desktop::ScaleFor(1024, 768);
    const RECT model = desktop::ScreenToView(R(-2000000000, -2000000000, 2000000000, 2000000000), s);
    EXPECT_GE(model.left, -desktop::kMaxModelSide);
    EXPECT_LE(model.right - model.left, desktop::kMaxModelSide);
    EXPECT_LE(model.bottom - model.top, desktop::kMaxModelSide);
    EXPECT_GE(model.right - model.left, 0);
}

TEST(DesktopGeometry, UnusableRectanglesAreEmptyOrInverted) {
    EXPECT_TRUE(desktop::IsUnusableRect(R(0, 0, 0, 0)));
    EXPECT_TRUE(desktop::IsUnusableRect(R(500, 100, 100, 400)));
    EXPECT_TRUE(desktop::IsUnusableRect(R(100, 400, 500, 100)));
    EXPECT_FALSE(desktop::IsUnusableRect(R(100, 100, 500, 400)));
}

TEST(DesktopGeometry, TheViewerScalesFromTheDesignSizeToTheWindow) {
    // The built-in viewer in a 252 x 192 window (client 244 x 165).
    const RECT page = desktop::ViewerInImage(R(66, 18, 741, 434), 794, 568, 244, 165);
    EXPECT_TRUE(Same(page, R(21, 6, 235, 147)));
}

TEST(MiniBrowserSkinValues, ViewerAndColourTexts) {
    struct RectCase {
        const char* text;
        RECT rect;
    };
    const RectCase rects[] = {
        {"66, 18, 675, 416", R(66, 18, 741, 434)},
        {"-10,-10,5,5", R(-10, -10, -5, -5)},  // never clamped
        {"10,20", R(10, 20, 30, 40)},          // a missing number repeats the last
        {"", R(0, 0, 0, 0)},
        {"a,b,c,d", R(0, 0, 0, 0)},
    };
    for (const RectCase& c : rects) EXPECT_TRUE(Same(CMiniBrowserWnd::ParseViewerRect(c.text), c.rect)) << c.text;

    struct ColourCase {
        const char* text;
        COLORREF colour;
    };
    const ColourCase colours[] = {
        {"255,0,0", RGB(255, 0, 0)}, {"256, 0, 300", RGB(0, 0, 44)},  // each modulo 256
        {"-1,0,0", RGB(255, 0, 0)},  {"0,130", RGB(0, 130, 130)},     // a missing number repeats the last
        {"", RGB(0, 0, 0)},
    };
    for (const ColourCase& c : colours) EXPECT_EQ(CMiniBrowserWnd::ParseRgb(c.text), c.colour) << c.text;
}
