#include "SkinRegion.h"

#include "DibBitmap.h"
#include "bmp_builder.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

using Pattern = std::function<COLORREF(int, int)>;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kTolerance = RGB(8, 8, 8);

bool Transparent(COLORREF c, COLORREF key, int tolerance) {
    return std::abs(GetRValue(c) - GetRValue(key)) <= tolerance && std::abs(GetGValue(c) - GetGValue(key)) <= tolerance &&
           std::abs(GetBValue(c) - GetBValue(key)) <= tolerance;
}

// The slow, obvious region: one 1 x 1 rectangle per opaque pixel.
fw::Region Oracle(int width, int height, const Pattern& pixel, COLORREF key = kRed, int tolerance = 8) {
    fw::Region region(::CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < height; ++y) {
        fw::Region row(::CreateRectRgn(0, 0, 0, 0));
        for (int x = 0; x < width; ++x) {
            if (Transparent(pixel(x, y), key, tolerance)) continue;
            fw::Region dot(::CreateRectRgn(x, y, x + 1, y + 1));
            ::CombineRgn(row.get(), row.get(), dot.get(), RGN_OR);
        }
        ::CombineRgn(region.get(), region.get(), row.get(), RGN_OR);
    }
    return region;
}

size_t RectCount(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> data(size);
    ::GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    return reinterpret_cast<RGNDATAHEADER*>(data.data())->nCount;
}

bool Covers(HRGN outer, HRGN inner) {
    fw::Region rest(::CreateRectRgn(0, 0, 0, 0));
    return ::CombineRgn(rest.get(), inner, outer, RGN_DIFF) == NULLREGION;
}

COLORREF Checker(int x, int y) { return (x + y) % 2 ? kRed : RGB(90, 100, 110); }

TEST(SkinRegion, MatchesThePerPixelOracle) {
    struct Case {
        const char* name;
        int width, height;
        Pattern pixel;
    } cases[] = {
        {"mixed colours near and far from the key", 64, 48,
         [](int x, int y) {
             const COLORREF palette[] = {kRed, RGB(247, 8, 8), RGB(246, 0, 0), RGB(255, 9, 0), RGB(255, 0, 9),
                                      RGB(0, 0, 0), RGB(255, 255, 255), RGB(250, 4, 2)};
             return palette[(x * 7 + y * 3 + (x * y) % 5) % 8];
         }},
        {"checkerboard rows past the batch size", 1203, 6, Checker},
        {"a disc with a hole", 80, 60,
         [](int x, int y) {
             const int d = (x - 40) * (x - 40) + (y - 30) * (y - 30);
             return d < 28 * 28 && d > 10 * 10 ? RGB(30, 40, 50) : kRed;
         }},
        {"opaque edges", 5, 5, [](int x, int y) { return x == 0 || y == 4 ? RGB(1, 1, 1) : kRed; }},
    };
    for (const auto& c : cases) {
        fw::Bitmap bitmap(skintest::MakeSection32(c.width, c.height, c.pixel));
        fw::Region region = BitmapToRegion(bitmap.get(), kRed, kTolerance);
        ASSERT_TRUE(region) << c.name;
        fw::Region oracle = Oracle(c.width, c.height, c.pixel);
        EXPECT_TRUE(::EqualRgn(region.get(), oracle.get())) << c.name;
    }
}

TEST(SkinRegion, ToleranceBoundsPerComponent) {
    const COLORREF key = RGB(250, 3, 100);
    const struct {
        COLORREF colour;
        bool cut;
    } pixels[] = {
        {RGB(242, 0, 92), true},    {RGB(255, 11, 108), true},  {RGB(241, 3, 100), false},
        {RGB(250, 12, 100), false}, {RGB(250, 3, 91), false},   {RGB(250, 3, 109), false},
        {RGB(250, 3, 100), true},   {RGB(0, 0, 0), false},
    };
    const int n = static_cast<int>(std::size(pixels));
    fw::Bitmap bitmap(skintest::MakeSection32(n, 1, [&](int x, int) { return pixels[x].colour; }));
    fw::Region region = BitmapToRegion(bitmap.get(), key, kTolerance);
    ASSERT_TRUE(region);
    for (int x = 0; x < n; ++x) EXPECT_EQ(!::PtInRegion(region.get(), x, 0), pixels[x].cut) << "pixel " << x;
}

TEST(SkinRegion, RowsWithTheSameRunsShareOneBand) {
    fw::Bitmap full(skintest::MakeSection32(50, 40, [](int, int) { return RGB(20, 20, 20); }));
    fw::Region whole = BitmapToRegion(full.get(), kRed, kTolerance);
    EXPECT_EQ(RectCount(whole.get()), 1u);
    fw::Region rect(::CreateRectRgn(0, 0, 50, 40));
    EXPECT_TRUE(::EqualRgn(whole.get(), rect.get()));

    fw::Bitmap stripes(skintest::MakeSection32(30, 100, [](int x, int) { return x % 10 < 5 ? kRed : RGB(9, 9, 9); }));
    EXPECT_EQ(RectCount(BitmapToRegion(stripes.get(), kRed, kTolerance).get()), 3u);
}

TEST(SkinRegion, AllTransparentGivesAnEmptyRegionAndARectangularWindow) {
    fw::Bitmap bitmap(skintest::MakeSection32(20, 10, [](int x, int) { return RGB(255 - x % 3, x % 4, 0); }));
    fw::Region region = BitmapToRegion(bitmap.get(), kRed, kTolerance);
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(::GetRgnBox(region.get(), &box), NULLREGION);
    EXPECT_FALSE(BitmapToWindowRegion(bitmap.get(), 20, 10, kRed, kTolerance));
}

TEST(SkinRegion, NothingToReadGivesNoRegion) {
    EXPECT_FALSE(BitmapToRegion(nullptr, kRed, kTolerance));
    EXPECT_FALSE(BitmapToWindowRegion(nullptr, 10, 10, kRed, kTolerance));
    fw::Bitmap bitmap(skintest::MakeSection32(4, 4, [](int, int) { return RGB(0, 0, 0); }));
    EXPECT_FALSE(BitmapToWindowRegion(bitmap.get(), 0, 10, kRed, kTolerance));
    EXPECT_FALSE(BitmapToWindowRegion(bitmap.get(), 100000, 100000, kRed, kTolerance));  // too big to copy
}

TEST(SkinRegion, WindowRegionsStayUnderTheRectangleCapAndKeepEveryOpaquePixel) {
    fw::Bitmap checker(skintest::MakeSection32(400, 300, Checker));
    fw::Region exact = BitmapToRegion(checker.get(), kRed, kTolerance);
    ASSERT_EQ(RectCount(exact.get()), 60000u);
    for (size_t cap : {size_t{16000}, size_t{500}, size_t{1}}) {
        fw::Region capped = BitmapToWindowRegion(checker.get(), 400, 300, kRed, kTolerance, cap);
        ASSERT_TRUE(capped) << cap;
        EXPECT_LE(RectCount(capped.get()), cap);
        EXPECT_TRUE(Covers(capped.get(), exact.get())) << cap;
    }
    // A shape that fits is not touched.
    fw::Bitmap disc(skintest::MakeSection32(90, 70, [](int x, int y) {
        return (x - 45) * (x - 45) + (y - 35) * (y - 35) < 900 ? RGB(50, 60, 70) : kRed;
    }));
    EXPECT_TRUE(::EqualRgn(BitmapToWindowRegion(disc.get(), 90, 70, kRed, kTolerance).get(),
                           BitmapToRegion(disc.get(), kRed, kTolerance).get()));
}

TEST(SkinRegion, TheWindowShapeIsTheBitmapStretchedToTheWindow) {
    fw::Bitmap half(skintest::MakeSection32(10, 10, [](int x, int) { return x < 5 ? RGB(0, 0, 255) : kRed; }));
    fw::Region region = BitmapToWindowRegion(half.get(), 100, 50, kRed, kTolerance);
    fw::Region expected(::CreateRectRgn(0, 0, 50, 50));
    EXPECT_TRUE(::EqualRgn(region.get(), expected.get()));
}

TEST(SkinRegion, TopDownAnd24BitFilesGiveTheirShape) {
    testsupport::TempProgramFolder dir;
    const Pattern shape = [](int x, int y) { return x > y && x < 2 * y + 6 ? RGB(40, 80, 120) : kRed; };
    const std::vector<COLORREF> palette = {kRed, RGB(40, 80, 120)};
    int n = 0;
    for (int bpp : {8, 24}) {
        for (bool topDown : {false, true}) {
            skintest::BmpSpec spec;
            spec.width = 23;
            spec.height = 17;
            spec.bpp = bpp;
            spec.topDown = topDown;
            if (bpp == 8) spec.palette = palette;
            std::string name = "s";
            name += std::to_string(n++);
            name += ".bmp";
            dir.WriteFile(name, skintest::BuildBmp(spec, [&](int x, int y) {
                              const COLORREF c = shape(x, y);
                              return bpp == 8 ? uint32_t(c == kRed ? 0 : 1) : uint32_t(c);
                          }));
            CDibBitmap dib;
            ASSERT_NE(dib.LoadFromFile(dir / name), nullptr);
            fw::Region region = BitmapToRegion(dib.Handle(), kRed, kTolerance);
            EXPECT_TRUE(::EqualRgn(region.get(), Oracle(23, 17, shape).get())) << bpp << (topDown ? " top-down" : "");
        }
    }
}

}  // namespace
