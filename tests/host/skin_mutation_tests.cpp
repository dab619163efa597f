// Mutation tests of the skin readers: damaged bitmaps are refused or give a
// layout whose every part lies inside the bytes; damaged Data.ini lines give
// coordinates and tokens inside their bounds.
#include "DibFormat.h"
#include "SkinFormat.h"
#include "mutator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

void Put16(std::string& s, std::uint16_t v) {
    s += static_cast<char>(v);
    s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
}

// A bottom-up .bmp file of the given depth with a full colour table.
std::string SmallBmp(int width, int height, int bpp) {
    const std::uint32_t colors = bpp <= 8 ? (1u << bpp) : 0;
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bpp + 31) / 32) * 4;
    const std::uint32_t bitsOffset = 14 + 40 + colors * 4;
    std::string s = "BM";
    Put32(s, bitsOffset + stride * height);
    Put32(s, 0);
    Put32(s, bitsOffset);
    Put32(s, 40);
    Put32(s, static_cast<std::uint32_t>(width));
    Put32(s, static_cast<std::uint32_t>(height));
    Put16(s, 1);
    Put16(s, static_cast<std::uint16_t>(bpp));
    Put32(s, 0);
    Put32(s, stride * height);
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, colors);
    Put32(s, 0);
    for (std::uint32_t i = 0; i < colors; ++i) Put32(s, i * 0x010203u);
    for (std::uint32_t i = 0; i < stride * height; ++i) s += static_cast<char>(i * 7);
    return s;
}

void ExpectInside(const DibLayout& d, std::size_t size, int i) {
    ASSERT_GT(d.width, 0) << i;
    ASSERT_GT(d.height, 0) << i;
    ASSERT_LE(d.colorsPresent, d.colorsUsed) << i;
    ASSERT_LE(d.colorsUsed, 256u) << i;
    if (d.colorsPresent) {
        ASSERT_LE(d.colorTableOffset + std::size_t{d.colorsPresent} * 4, size) << i;
    }
    if (d.masksOffset) {
        ASSERT_LE(d.masksOffset + 12, size) << i;
    }
    ASSERT_LE(d.bitsOffset, size) << i;
    ASSERT_LE(d.bitsSize, size - d.bitsOffset) << i;
}

TEST(DibMutation, DamagedBitmapsAreRefusedOrLieInsideTheirBytes) {
    const std::string seeds[] = {SmallBmp(5, 3, 8), SmallBmp(4, 4, 4), SmallBmp(3, 2, 24), SmallBmp(9, 2, 1)};
    DibLayout layout;
    for (const std::string& seed : seeds) {
        ASSERT_TRUE(ParseBmpFile(reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size(), DibLimits{}, &layout));
    }
    hosttest::Mutator mutator(0x5EED0002);
    int accepted = 0;
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string bytes = mutator.Mutate(seeds[i % 4]);
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        if (ParseBmpFile(data, bytes.size(), DibLimits{}, &layout)) {
            ++accepted;
            ExpectInside(layout, bytes.size(), i);
        }
        // The same bytes after the file header, as a packed DIB (a resource).
        if (bytes.size() > kBmpFileHeaderSize &&
            ParsePackedDib(data + kBmpFileHeaderSize, bytes.size() - kBmpFileHeaderSize, DibLimits{}, &layout)) {
            ExpectInside(layout, bytes.size() - kBmpFileHeaderSize, i);
        }
    }
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, hosttest::kMutationsPerReader);
}

void ExpectRect(const RECT& r, int i) {
    for (const LONG v : {r.left, r.top, r.right, r.bottom}) {
        ASSERT_GE(v, kSkinCoordMin) << i;
        ASSERT_LE(v, kSkinCoordMax) << i;
    }
}

void ExpectBitmap(const std::string& path, const std::string& folder, int i) {
    if (path == "NULL" || IsRefusedSkinBitmap(path)) return;
    ASSERT_EQ(path.compare(0, folder.size() + 1, folder + "\\"), 0) << i;
    ASSERT_LE(path.size(), folder.size() + 1 + kSkinTokenMax) << i;
    ASSERT_TRUE(IsSafeSkinBitmapName(path.substr(folder.size() + 1))) << i;
}

TEST(SkinLineMutation, DamagedLinesStayInsideTheirBounds) {
    const std::string folder = "C:\\Vessa\\Skins\\Blue";
    const std::string button = "BUTTON_PRINT,53,506,23,22,Print,print.bmp,NULL,1";
    const std::string special = "136,506,25,22,Favorites,fav.bmp,fav2.bmp,1";
    const std::string animator = "239,459,311,44,anim.bmp,7,7,1";
    const std::string go = "Go,go.bmp,NULL";
    hosttest::Mutator mutator(0x5EED0003);
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        switch (i % 4) {
            case 0: {
                const SkinButtonLine line = ParseButtonLine(mutator.Mutate(button), folder);
                ExpectRect(line.rect, i);
                ASSERT_LE(line.name.size(), kSkinTokenMax);
                ASSERT_LE(line.tooltip.size(), kSkinTokenMax);
                ExpectBitmap(line.bitmap1, folder, i);
                ExpectBitmap(line.bitmap2, folder, i);
                break;
            }
            case 1: {
                const SkinButtonLine line = ParseSpecialButtonLine(mutator.Mutate(special), folder);
                ExpectRect(line.rect, i);
                ExpectBitmap(line.bitmap1, folder, i);
                break;
            }
            case 2: {
                const SkinAnimatorLine line = ParseAnimatorLine(mutator.Mutate(animator), folder);
                ExpectRect(line.rect, i);
                ExpectBitmap(line.bitmap, folder, i);
                break;
            }
            default: {
                const SkinGoLine line = ParseGoLine(mutator.Mutate(go), folder);
                ASSERT_LE(line.tooltip.size(), kSkinTokenMax);
                ExpectBitmap(line.bitmap1, folder, i);
                ExpectBitmap(line.bitmap2, folder, i);
                break;
            }
        }
    }
}

}  // namespace
