// The skin button's pictures: loading, strip metrics and the frame and row
// each state draws, on hand-built owner-draw requests.
#include "SkinButton.h"

#include "bmp_builder.h"
#include "skin_button_test_util.h"
#include "skin_button_tests_res.h"

#include "SkinResources.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using buttontest::Canvas;
using buttontest::ItemFor;
using buttontest::kSentinel;
using buttontest::MakeItem;
using buttontest::StripBmp;
using buttontest::StripColour;
using testsupport::TempProgramFolder;

// A 24-bit strip whose every pixel tells where it came from.
COLORREF Coded(int x, int y) {
    return RGB(x % 256, x / 256 * 16 + 1, 100 + y);
}
std::string CodedBmp(int width, int height) {
    skintest::BmpSpec spec;
    spec.width = width;
    spec.height = height;
    return skintest::BuildBmp(spec, [](int x, int y) { return static_cast<uint32_t>(Coded(x, y)); });
}

std::string Write(const TempProgramFolder& dir, const std::string& name, const std::string& bytes) {
    dir.WriteFile(name, bytes);
    return dir / name;
}

COLORREF DrawCentre(const CSkinButton& button, UINT state, int frameWidth = 100, int rowHeight = 30) {
    Canvas canvas(200, 100);
    const RECT item = ItemFor(10, 5, frameWidth, rowHeight);
    button.DrawItem(MakeItem(nullptr, canvas.dc(), item, state));
    return canvas.At((item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

TEST(SkinButton, FilesOfEveryDepthGiveTheStripMetrics) {
    TempProgramFolder dir;
    for (int bpp : {8, 24}) {
        SCOPED_TRACE(bpp);
        CSkinButton button;
        const std::string strip = Write(dir, bpp == 8 ? "s8.bmp" : "s24.bmp", StripBmp(0, 3, 100, 30, bpp));
        ASSERT_EQ(button.LoadBitmapsFromFile(strip, "", 3, 5), 0);
        EXPECT_TRUE(button.Bitmap1()->IsLoaded());
        EXPECT_EQ(button.Bitmap2(), nullptr);
        EXPECT_EQ(button.Frames(), 3);
        EXPECT_EQ(button.FramesPerSecond(), 5);
        EXPECT_EQ(button.FrameWidth(), 100);
        EXPECT_EQ(button.RowHeight(), 30);
        EXPECT_NE(button.Cursor(), nullptr);
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(DrawCentre(button, row == 0 ? 0 : row == 1 ? ODS_FOCUS : ODS_SELECTED), StripColour(0, 0, row));
    }
}

TEST(SkinButton, LoadersReturnTheirCodes) {
    TempProgramFolder dir;
    const std::string good = Write(dir, "good.bmp", StripBmp(0, 1, 20, 10, 24));
    const std::string junk = Write(dir, "junk.bmp", "BM not a bitmap at all");
    const std::string missing = dir / "missing.bmp";
    const struct {
        const char* what;
        std::string path1, path2;
        int code;
    } files[] = {
        {"both good", good, good, 0},          {"no second", good, "", 0},
        {"second NULL", good, "NULL", 0},      {"first missing", missing, good, 45},
        {"second missing", good, missing, 45}, {"first junk", junk, "", 45},
    };
    for (const auto& row : files) {
        CSkinButton button;
        EXPECT_EQ(button.LoadBitmapsFromFile(row.path1, row.path2, 1, 5), row.code) << row.what;
    }
    const struct {
        const char* what;
        UINT id1, id2;
        int code;
    } resources[] = {
        {"picture alone", IDB_SKIN_BACK, 0, 0},
        {"with a second", IDB_SKIN_BACK, IDB_SKIN_GENERIC, 0},
        {"first missing", 4321, IDB_SKIN_BACK, 36},
        {"second missing", IDB_SKIN_BACK, 4321, 36},
        {"first without a colour table", IDB_TEST_CORE_HEADER, 0, 44},
        {"second without a colour table", IDB_SKIN_BACK, IDB_TEST_CORE_HEADER, 44},
    };
    for (const auto& row : resources) {
        CSkinButton button;
        EXPECT_EQ(button.LoadBitmaps(row.id1, row.id2, 1, 5), row.code) << row.what;
    }
}

TEST(SkinButton, NoSecondBitmapKeepsTheOneItHad) {
    TempProgramFolder dir;
    const std::string one = Write(dir, "one.bmp", StripBmp(0, 1, 20, 10, 24));
    const std::string two = Write(dir, "two.bmp", StripBmp(1, 1, 20, 10, 24));
    CSkinButton button;
    ASSERT_EQ(button.LoadBitmapsFromFile(one, two, 1, 5), 0);
    const CDibBitmap* kept = button.Bitmap2();
    ASSERT_NE(kept, nullptr);
    ASSERT_EQ(button.LoadBitmapsFromFile(one, "", 1, 5), 0);
    EXPECT_EQ(button.Bitmap2(), kept);
    ASSERT_EQ(button.LoadBitmapsFromFile(one, "null", 1, 5), 0);
    EXPECT_EQ(button.Bitmap2(), kept);
    ASSERT_EQ(button.LoadBitmaps(IDB_SKIN_BACK, 0, 1, 5), 0);
    EXPECT_EQ(button.Bitmap2(), kept);
    ASSERT_EQ(button.LoadBitmaps(IDB_SKIN_BACK, IDB_SKIN_BACK, 1, 5), 0);
    EXPECT_NE(button.Bitmap2(), kept);
}

TEST(SkinButton, EachStateDrawsItsRowOrTheDisabledPicture) {
    TempProgramFolder dir;
    const std::string strip = Write(dir, "strip.bmp", StripBmp(0, 1, 100, 30, 8));
    const std::string disabled = Write(dir, "disabled.bmp", StripBmp(2, 1, 100, 30, 24));
    CSkinButton withSecond;
    ASSERT_EQ(withSecond.LoadBitmapsFromFile(strip, disabled, 1, 5), 0);
    CSkinButton withoutSecond;
    ASSERT_EQ(withoutSecond.LoadBitmapsFromFile(strip, "", 1, 5), 0);
    const struct {
        UINT state;
        COLORREF withSecond, withoutSecond;
    } table[] = {
        {0, StripColour(0, 0, 0), StripColour(0, 0, 0)},
        {ODS_FOCUS, StripColour(0, 0, 1), StripColour(0, 0, 1)},
        {ODS_SELECTED, StripColour(0, 0, 2), StripColour(0, 0, 2)},
        {ODS_SELECTED | ODS_FOCUS, StripColour(0, 0, 2), StripColour(0, 0, 2)},
        {ODS_DISABLED, StripColour(2, 0, 0), StripColour(0, 0, 0)},
        {ODS_DISABLED | ODS_FOCUS, StripColour(0, 0, 1), StripColour(0, 0, 1)},
        {ODS_DISABLED | ODS_SELECTED, StripColour(0, 0, 2), StripColour(0, 0, 2)},
    };
    for (const auto& row : table) {
        EXPECT_EQ(DrawCentre(withSecond, row.state), row.withSecond) << "state " << row.state;
        EXPECT_EQ(DrawCentre(withoutSecond, row.state), row.withoutSecond) << "state " << row.state;
    }
}

TEST(SkinButton, FrameIsCopiedFromOneColumnInAndTwoPixelsLarger) {
    TempProgramFolder dir;
    CSkinButton button;
    ASSERT_EQ(button.LoadBitmapsFromFile(Write(dir, "coded.bmp", CodedBmp(100, 90)), "", 1, 5), 0);
    Canvas canvas(200, 100);
    const RECT item = ItemFor(10, 5, 100, 30);
    button.DrawItem(MakeItem(nullptr, canvas.dc(), item, ODS_FOCUS));
    // Source x starts at 1; the focus row starts at y 30; 1:1 over width + 2 and height + 2.
    for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{50, 14}, POINT{98, 29}, POINT{0, 29}})
        EXPECT_EQ(canvas.At(item.left + p.x, item.top + p.y), Coded(1 + p.x, 30 + p.y)) << p.x << "," << p.y;
    for (POINT p : {POINT{item.left - 1, item.top}, POINT{item.left, item.top - 1}, POINT{item.right + 2, item.top},
                    POINT{item.left, item.bottom + 2}})
        EXPECT_EQ(canvas.At(p.x, p.y), kSentinel) << p.x << "," << p.y;
}

TEST(SkinButton, BitmapThatFailedToLoadIsNeverDrawn) {
    TempProgramFolder dir;
    const std::string good = Write(dir, "good.bmp", StripBmp(0, 1, 100, 30, 24));
    auto drawsNothing = [](const CSkinButton& button) {
        for (UINT state : {0u, UINT{ODS_FOCUS}, UINT{ODS_SELECTED}, UINT{ODS_DISABLED}}) {
            Canvas canvas(200, 100);
            button.DrawItem(MakeItem(nullptr, canvas.dc(), ItemFor(10, 5, 100, 30), state));
            for (int x = 0; x < 200; x += 7)
                for (int y = 0; y < 100; y += 5)
                    if (canvas.At(x, y) != kSentinel) return false;
        }
        return true;
    };
    CSkinButton fresh;
    EXPECT_TRUE(drawsNothing(fresh)) << "no picture yet";
    CSkinButton missing;
    ASSERT_EQ(missing.LoadBitmapsFromFile(good, "", 1, 5), 0);
    EXPECT_EQ(missing.LoadBitmapsFromFile(dir / "missing.bmp", "", 1, 5), 45);
    EXPECT_TRUE(drawsNothing(missing)) << "the earlier picture is gone and the failed one is not drawn";
    CSkinButton coreHeader;
    EXPECT_EQ(coreHeader.LoadBitmaps(IDB_TEST_CORE_HEADER, 0, 1, 5), 44);
    EXPECT_TRUE(drawsNothing(coreHeader));
    CSkinButton noResource;
    EXPECT_EQ(noResource.LoadBitmaps(4321, 0, 1, 5), 36);
    EXPECT_TRUE(drawsNothing(noResource));

    // A second picture that failed leaves the disabled button on its normal row.
    CSkinButton badSecond;
    ASSERT_EQ(badSecond.LoadBitmapsFromFile(good, "", 1, 5), 0);
    EXPECT_EQ(badSecond.LoadBitmapsFromFile(good, dir / "missing.bmp", 1, 5), 45);
    ASSERT_NE(badSecond.Bitmap2(), nullptr);
    EXPECT_FALSE(badSecond.Bitmap2()->IsLoaded());
    EXPECT_EQ(DrawCentre(badSecond, ODS_DISABLED), StripColour(0, 0, 0));
    // No device context: nothing to draw on, and no fault.
    CSkinButton noDc;
    ASSERT_EQ(noDc.LoadBitmapsFromFile(good, "", 1, 5), 0);
    noDc.DrawItem(MakeItem(nullptr, nullptr, ItemFor(0, 0, 100, 30), 0));
}

TEST(SkinButton, MissingFileGivesTheDefaultPicture) {
    // The main window's fall-back: the file's code, then the default resource as both pictures.
    TempProgramFolder dir;
    CSkinButton button;
    EXPECT_EQ(button.LoadBitmapsFromFile(dir / "absent.bmp", "", 1, 5), 45);
    ASSERT_EQ(button.LoadBitmaps(IDB_SKIN_BACK, IDB_SKIN_BACK, 1, 5), 0);
    ASSERT_EQ(button.FrameWidth(), 24);
    ASSERT_EQ(button.RowHeight(), 19);
    const HBITMAP art = button.Bitmap1()->Handle();
    for (UINT state : {0u, UINT{ODS_FOCUS}, UINT{ODS_SELECTED}}) {
        Canvas canvas(100, 60);
        const RECT item = ItemFor(3, 4, 24, 19);
        button.DrawItem(MakeItem(nullptr, canvas.dc(), item, state));
        const int sourceY = state == ODS_SELECTED ? 38 : state == ODS_FOCUS ? 19 : 0;
        for (int y = 0; y < 19; y += 3)
            for (int x = 0; x < 23; x += 2)
                ASSERT_EQ(canvas.At(item.left + x, item.top + y), skintest::PixelOf(art, 1 + x, sourceY + y))
                    << "state " << state << " at " << x << "," << y;
    }
}

TEST(SkinButton, FrameCountsAndSpeedsAreBounded) {
    TempProgramFolder dir;
    const std::string wide = Write(dir, "wide.bmp", StripBmp(0, 10, 100, 30, 8));
    const struct {
        int frames, fps;
        int wantFrames, wantWidth;
        UINT wantPeriod;
    } table[] = {
        {10, 20, 10, 100, 50},      {0, 5, 1, 1000, 200},          {-4, 5, 1, 1000, 200},    {3, 1, 3, 333, 1000},
        {5000, 7, 1000, 1, 142},    {1000, 0, 1000, 1, 10000},     {10, -3, 10, 100, 10000}, {10, 1000000, 10, 100, 10},
        {10, INT_MAX, 10, 100, 10}, {10, INT_MIN, 10, 100, 10000},
    };
    for (const auto& row : table) {
        CSkinButton button;
        ASSERT_EQ(button.LoadBitmapsFromFile(wide, "", row.frames, row.fps), 0);
        EXPECT_EQ(button.Frames(), row.wantFrames) << row.frames;
        EXPECT_EQ(button.FrameWidth(), row.wantWidth) << row.frames;
        EXPECT_EQ(button.TimerPeriod(), row.wantPeriod) << row.fps;
    }
    CSkinButton flat;
    ASSERT_EQ(flat.LoadBitmapsFromFile(Write(dir, "flat.bmp", CodedBmp(40, 2)), "", 1, 5), 0);
    EXPECT_EQ(flat.RowHeight(), 1) << "a strip lower than three rows still has rows";
}

TEST(SkinButton, DescriptorCarriesTheLineWithoutAWindow) {
    CSkinButton descriptor;
    descriptor.SetName("BUTTON_BACK");
    descriptor.SetRect(RECT{10, 20, 40, 60});
    descriptor.SetTooltip("Back");
    descriptor.SetBitmap1Path("C:\\skin\\back.bmp");
    descriptor.SetBitmap2Path("NULL");
    descriptor.SetLayoutFlag(1);
    CSkinButton live;
    live.CopySkinInfo(descriptor);
    EXPECT_EQ(live.Name(), "BUTTON_BACK");
    EXPECT_TRUE(::EqualRect(&live.Rect(), &descriptor.Rect()));
    EXPECT_EQ(live.Tooltip(), "Back");
    EXPECT_EQ(live.Bitmap1Path(), "C:\\skin\\back.bmp");
    EXPECT_EQ(live.Bitmap2Path(), "NULL");
    EXPECT_EQ(live.LayoutFlag(), 1);
    EXPECT_EQ(live.Bitmap1(), nullptr) << "only the line is copied";

    // Without a window nothing needs one: no thread timer, no tooltip.
    ASSERT_EQ(descriptor.LoadBitmaps(IDB_SKIN_ANIMATOR, 0, 21, 10), 0);
    descriptor.SetAnimation(1);
    EXPECT_EQ(descriptor.TimerId(), 0u);
    descriptor.SetTooltipText("Back", true);
    EXPECT_EQ(descriptor.TooltipWindow(), nullptr);
    descriptor.RealizePalette();
    descriptor.SetAnimation(0);
    EXPECT_EQ(descriptor.FrameIndex(), 0);
}

}  // namespace
