// The built-in skin's pictures: sizes and depths of the resources, and a
// shape that keeps every control on the body.
#include "DibBitmap.h"
#include "SkinBackground.h"
#include "SkinFile.h"
#include "SkinRegion.h"
#include "SkinResources.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct ResourceInfo {
    uint32_t headerSize;
    int32_t width, height;
    uint16_t bpp;
};

bool ReadResourceHeader(UINT id, ResourceInfo* out) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data || ::SizeofResource(nullptr, found) < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof(header));
    *out = ResourceInfo{header.biSize, header.biWidth, header.biHeight, header.biBitCount};
    return true;
}

TEST(SkinArt, EveryDefaultPictureHasItsSizeAndDepth) {
    const struct {
        UINT id;
        int32_t width, height;
        uint16_t bpp;
    } table[] = {
        {IDB_SKIN_BACK, 24, 57, 8},       {IDB_SKIN_FORWARD, 22, 57, 8},     {IDB_SKIN_STOP, 24, 57, 8},
        {IDB_SKIN_HOME, 25, 60, 8},       {IDB_SKIN_REFRESH, 25, 57, 8},     {IDB_SKIN_FAVORITES, 24, 60, 8},
        {IDB_SKIN_PRINT, 21, 60, 8},      {IDB_SKIN_GENERIC, 16, 48, 4},     {IDB_SKIN_CLOSE, 20, 60, 8},
        {IDB_SKIN_MINIMIZE, 20, 60, 8},   {IDB_SKIN_MENU, 20, 60, 24},       {IDB_SKIN_GO, 29, 96, 8},
        {IDB_SKIN_ANIMATOR, 2163, 126, 8}, {IDB_SKIN_MANAGER, 24, 60, 8},    {IDB_SKIN_EDITSOURCE, 24, 60, 8},
        {IDB_SKIN_WORKOFFLINE, 18, 60, 8}, {IDB_SKIN_BACKGROUND, 796, 568, 8}, {IDB_SKIN_OFFLINE, 17, 17, 8},
        {IDB_SKIN_SECURE, 17, 17, 8},     {IDB_SKIN_ONLINE, 17, 17, 8},      {IDB_SKIN_NOTSECURE, 17, 17, 8},
    };
    for (const auto& row : table) {
        ResourceInfo info{};
        ASSERT_TRUE(ReadResourceHeader(row.id, &info)) << row.id;
        EXPECT_EQ(info.headerSize, 40u) << row.id;
        EXPECT_EQ(info.width, row.width) << row.id;
        EXPECT_EQ(info.height, row.height) << row.id;
        EXPECT_EQ(info.bpp, row.bpp) << row.id;
        CDibBitmap dib;
        ASSERT_NE(dib.LoadFromResource(row.id), nullptr) << row.id;
        EXPECT_TRUE(dib.IsLoaded()) << row.id;
        EXPECT_EQ(dib.Width(), row.width);
        EXPECT_EQ(dib.Height(), row.height);
    }
    CDibBitmap missing;
    EXPECT_EQ(missing.LoadFromResource(4321), nullptr);
}

TEST(SkinArt, NoOpaquePixelOfTheBackgroundLiesWithinTheToleranceOfRed) {
    CDibBitmap dib;
    ASSERT_NE(dib.LoadFromResource(IDB_SKIN_BACKGROUND), nullptr);
    CPixels32 pixels;
    ASSERT_TRUE(pixels.Load(dib.Handle()));
    const TransparentRange range = MakeTransparentRange(RGB(255, 0, 0), kSkinTolerance);
    size_t cut = 0;
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            const uint32_t p = pixels.Row(y)[x] & 0xFFFFFF;
            if (range.Contains(p)) {
                ASSERT_EQ(p, 0xFF0000u) << "a near-red opaque pixel at " << x << "," << y;
                ++cut;
            }
        }
    }
    EXPECT_GT(cut, 1000u);  // a shaped window, not a rectangle
    EXPECT_LT(cut, static_cast<size_t>(pixels.Width()) * pixels.Height() / 4);
}

TEST(SkinArt, EveryBuiltInControlSitsOnTheBody) {
    CDibBitmap dib;
    ASSERT_NE(dib.LoadFromResource(IDB_SKIN_BACKGROUND), nullptr);
    fw::Region shape = BitmapToRegion(dib.Handle(), RGB(255, 0, 0), kSkinTolerance);
    ASSERT_TRUE(shape);
    const CSkinFile skin(MakeSkinPaths("", "vessa"));
    std::vector<RECT> controls;
    for (int i = 1; i <= skin.ButtonLineCount(); ++i) controls.push_back(ParseButtonLine(skin.ButtonLine(i), "").rect);
    for (SpecialButton which : {SpecialButton::kFavorites, SpecialButton::kMenu, SpecialButton::kMinimize,
                                SpecialButton::kClose})
        controls.push_back(ParseSpecialButtonLine(skin.SpecialLine(which), "").rect);
    controls.push_back(ParseAnimatorLine(skin.SpecialLine(SpecialButton::kAnimator), "").rect);
    RECT viewer;
    skin.ReadViewer(&viewer);
    controls.push_back(viewer);
    for (const RECT& r : controls) {
        // Client positions lie 3 pixels inside the window's corner; the drawn button is 2 pixels larger.
        fw::Region control(::CreateRectRgn(r.left + 3, r.top + 3, r.right + 5, r.bottom + 5));
        fw::Region outside(::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(::CombineRgn(outside.get(), control.get(), shape.get(), RGN_DIFF), NULLREGION)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

}  // namespace
