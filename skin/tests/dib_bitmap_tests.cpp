#include "DibBitmap.h"

#include "bmp_builder.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using skintest::BmpSpec;
using skintest::BuildBmp;
using skintest::PixelOf;
using testsupport::TempProgramFolder;

const std::vector<COLORREF> kColours = {RGB(10, 20, 30),   RGB(200, 40, 40), RGB(40, 200, 40),  RGB(40, 40, 200),
                                        RGB(250, 250, 10), RGB(0, 0, 0),     RGB(255, 255, 255), RGB(90, 0, 160)};

HBITMAP Load(CDibBitmap& dib, const TempProgramFolder& dir, const std::string& bytes,
             const DibLimits& limits = DibLimits{}) {
    static int counter = 0;
    std::string name = "b";
    name += std::to_string(counter++);
    name += ".bmp";
    dir.WriteFile(name, bytes);
    return dib.LoadFromFile(dir / name, limits);
}

uint32_t Index(int x, int y, int colours) { return static_cast<uint32_t>((x + 2 * y) % colours); }

TEST(DibBitmap, EveryDepthLoadsWithItsTruePixelsBottomUpAndTopDown) {
    TempProgramFolder dir;
    for (int bpp : {1, 4, 8, 24, 32}) {
        for (bool topDown : {false, true}) {
            BmpSpec spec;
            spec.width = 7;
            spec.height = 5;
            spec.bpp = bpp;
            spec.topDown = topDown;
            const int colours = bpp == 1 ? 2 : static_cast<int>(kColours.size());
            if (bpp <= 8) {
                spec.palette.assign(kColours.begin(), kColours.begin() + colours);
                spec.colorsUsed = static_cast<uint32_t>(colours);
            }
            const std::string bytes = BuildBmp(spec, [&](int x, int y) {
                const uint32_t i = Index(x, y, colours);
                return bpp <= 8 ? i : kColours[i];
            });
            CDibBitmap dib;
            HBITMAP bitmap = Load(dib, dir, bytes);
            SCOPED_TRACE(std::to_string(bpp) + (topDown ? " bits, top-down" : " bits, bottom-up"));
            ASSERT_NE(bitmap, nullptr);
            EXPECT_TRUE(dib.IsLoaded());
            EXPECT_EQ(dib.Width(), 7);
            EXPECT_EQ(dib.Height(), 5);  // a top-down file keeps its true height
            WORD entries = 0;
            ASSERT_EQ(::GetObjectA(dib.Palette(), sizeof(entries), &entries), static_cast<int>(sizeof(entries)));
            EXPECT_EQ(entries, bpp <= 8 ? colours : 0);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), kColours[Index(x, y, colours)]) << x << "," << y;
        }
    }
}

TEST(DibBitmap, RunLengthFilesLoad) {
    TempProgramFolder dir;
    CDibBitmap dib;
    HBITMAP bitmap = Load(dib, dir, skintest::BuildRle8(300, 4, kColours, [](int row) { return uint8_t(row + 1); }));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(dib.Width(), 300);
    EXPECT_EQ(dib.Height(), 4);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(PixelOf(bitmap, 0, y), kColours[y + 1]);
        EXPECT_EQ(PixelOf(bitmap, 299, y), kColours[y + 1]);
    }
}

std::string WithHeaderField(std::string bytes, size_t offset, uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
    return bytes;
}

TEST(DibBitmap, BrokenOrForeignFilesAreRefused) {
    TempProgramFolder dir;
    BmpSpec spec;
    spec.width = 4;
    spec.height = 3;
    const std::string good = BuildBmp(spec, [](int, int) { return RGB(1, 2, 3); });
    BmpSpec v4 = spec;
    v4.headerSize = 108;
    BmpSpec v5 = spec;
    v5.headerSize = 124;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"108-byte header", BuildBmp(v4, [](int, int) { return 0u; })},
        {"124-byte header", BuildBmp(v5, [](int, int) { return 0u; })},
        {"12-byte header", WithHeaderField(good, 14, 12)},
        {"pixels cut short", good.substr(0, good.size() - 1)},
        {"zero width", WithHeaderField(good, 18, 0)},
        {"zero height", WithHeaderField(good, 22, 0)},
        {"height INT_MIN", WithHeaderField(good, 22, 0x80000000u)},
        {"7 bits per pixel", WithHeaderField(good, 26, 0x00070001u)},
        {"JPEG compression", WithHeaderField(good, 30, 4)},
        {"pixel offset past the end", WithHeaderField(good, 10, 100000)},
        {"pixel offset inside the header", WithHeaderField(good, 10, 20)},
        {"no BM", "XM" + good.substr(2)},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        CDibBitmap dib;
        EXPECT_EQ(Load(dib, dir, c.bytes), nullptr) << c.what;
        EXPECT_FALSE(dib.IsLoaded()) << c.what;
    }
    CDibBitmap dib;
    EXPECT_EQ(dib.LoadFromFile(dir / "missing.bmp"), nullptr);
    EXPECT_NE(Load(dib, dir, good), nullptr);
}

TEST(DibBitmap, SizeLimits) {
    TempProgramFolder dir;
    BmpSpec spec;
    spec.width = 8193;
    spec.height = 2;
    spec.bpp = 8;
    spec.palette = kColours;
    const std::string wide = BuildBmp(spec, [](int x, int) { return uint32_t(x % 8); });
    DibLimits background;
    background.maxSide = 8192;
    CDibBitmap dib;
    EXPECT_EQ(Load(dib, dir, wide, background), nullptr);
    EXPECT_NE(Load(dib, dir, wide), nullptr);
    DibLimits few;
    few.maxPixels = 16000;
    EXPECT_EQ(Load(dib, dir, wide, few), nullptr);
}

TEST(DibBitmap, AShortColourTableIsReadOnlyAsFarAsTheFileGoes) {
    TempProgramFolder dir;
    BmpSpec spec;
    spec.width = 3;
    spec.height = 1;
    spec.bpp = 8;
    spec.palette = {RGB(10, 20, 30), RGB(40, 50, 60)};  // the header claims 256 colours
    CDibBitmap dib;
    HBITMAP bitmap = Load(dib, dir, BuildBmp(spec, [](int x, int) { return uint32_t(x == 2 ? 200 : x); }));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(PixelOf(bitmap, 1, 0), RGB(40, 50, 60));
    EXPECT_EQ(PixelOf(bitmap, 2, 0), RGB(0, 0, 0));  // an entry the file does not hold

    // A file that ends inside its colour table, with no pixel offset to go by.
    std::string cut = WithHeaderField(BuildBmp(spec, [](int, int) { return 0u; }), 10, 0);
    EXPECT_EQ(Load(dib, dir, cut), nullptr);
}

class Target {
public:
    Target(int w, int h) {
        bitmap_.reset(skintest::MakeSection32(w, h, [](int, int) { return kSentinel; }));
        dc_.reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~Target() { ::SelectObject(dc_.get(), old_); }
    HDC Dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }
    static constexpr COLORREF kSentinel = RGB(1, 2, 3);

private:
    fw::Bitmap bitmap_;
    fw::MemoryDc dc_;
    HGDIOBJ old_;
};

TEST(DibBitmap, ABitmapThatFailedToLoadIsNeverDrawn) {
    TempProgramFolder dir;
    Target target(8, 8);
    CDibBitmap empty;
    empty.DrawScaled(target.Dc(), 8, 8);
    empty.StretchDraw(target.Dc(), 0, 0, 4, 4, 0, 0, 4, 4);
    EXPECT_EQ(empty.SelectPalette(target.Dc(), false), nullptr);
    CDibBitmap failed;
    EXPECT_EQ(Load(failed, dir, "BMnothing"), nullptr);
    failed.DrawScaled(target.Dc(), 8, 8);
    failed.StretchDraw(target.Dc(), 0, 0, 4, 4, 0, 0, 4, 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(target.At(x, y), Target::kSentinel);
}

TEST(DibBitmap, StretchDrawAndDrawScaledPlaceThePicture) {
    TempProgramFolder dir;
    BmpSpec spec;
    spec.width = 4;
    spec.height = 4;
    spec.bpp = 8;
    spec.palette = kColours;
    CDibBitmap dib;  // four 2x2 quadrants of colours 1 to 4
    ASSERT_NE(Load(dib, dir, BuildBmp(spec, [](int x, int y) { return uint32_t(1 + x / 2 + 2 * (y / 2)); })), nullptr);

    Target target(12, 12);
    dib.StretchDraw(target.Dc(), 1, 1, 2, 2, 2, 0, 2, 2);  // the top-right quadrant onto 4 x 4
    EXPECT_EQ(target.At(0, 0), Target::kSentinel);
    EXPECT_EQ(target.At(1, 1), kColours[2]);
    EXPECT_EQ(target.At(4, 4), kColours[2]);
    EXPECT_EQ(target.At(5, 5), Target::kSentinel);

    Target scaled(12, 12);
    dib.DrawScaled(scaled.Dc(), 14, 14);  // from -3, -3 to 11, 11
    EXPECT_EQ(scaled.At(0, 0), kColours[1]);
    EXPECT_EQ(scaled.At(10, 10), kColours[4]);
    EXPECT_EQ(scaled.At(11, 11), Target::kSentinel);
}

}  // namespace
