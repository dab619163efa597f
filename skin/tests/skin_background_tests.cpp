#include "SkinBackground.h"

#include "ErrorCodes.h"
#include "SkinButton.h"
#include "SkinFile.h"
#include "SkinFormat.h"
#include "SkinRegion.h"
#include "bmp_builder.h"
#include "fixture_skins.h"

#include "testsupport/box_answerer.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

namespace {

using testsupport::BoxAnswerer;
using testsupport::TempProgramFolder;

constexpr COLORREF kRed = RGB(255, 0, 0);

class PopupWindow {
public:
    PopupWindow(int width, int height) {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "SkinBackgroundTestWindow";
            return ::RegisterClassA(&wc);
        }();
        window_ = ::CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    }
    ~PopupWindow() { ::DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

SkinPaths WriteSkin(const TempProgramFolder& program, const std::string& name, const std::string& bitmap,
                      const std::string& bytes, const char* transparent = "255,0,0") {
    program.MakeFolder("Skins\\" + name);
    program.WriteFile("Skins\\" + name + "\\" + bitmap, bytes);
    program.WriteFile("Skins\\" + name + "\\Data.ini",
                      "[BACKGROUND]\r\nBITMAP=" + bitmap + "\r\nTRANSPARENTCOLOR=" + transparent + "\r\n");
    return MakeSkinPaths(program.Path(), name);
}

TEST(SkinBackground, BuiltInBackground) {
    CSkinBackground background;
    ASSERT_EQ(background.LoadSkinBackground(CSkinFile(MakeSkinPaths("C:\\Apps", "Vessa"))), kErrNone);
    EXPECT_EQ(background.Kind(), kSkinBuiltIn);
    EXPECT_EQ(background.TransparentColor(), kRed);
    EXPECT_EQ(background.SkinWidth(), 796);
    EXPECT_EQ(background.SkinHeight(), 568);
    EXPECT_NE(background.BackgroundBitmap(), nullptr);
}

TEST(SkinBackground, FolderSkinTakesItsFileAndTransparentColour) {
    TempProgramFolder program;
    CSkinBackground background;
    ASSERT_EQ(background.LoadSkinBackground(CSkinFile(skintest::InstallFixtureSkin(program, "vessa-folder", "Copy"))), kErrNone);
    EXPECT_EQ(background.Kind(), kSkinFromFolder);
    EXPECT_EQ(background.SkinWidth(), 796);
    EXPECT_EQ(background.SkinHeight(), 568);
    ASSERT_EQ(background.LoadSkinBackground(CSkinFile(skintest::InstallFixtureSkin(program, "odd-numbers", "Odd"))), kErrNone);
    EXPECT_EQ(background.TransparentColor(), RGB(0, 0, 44));
}

TEST(SkinBackground, ABrokenBackgroundFallsBackToTheBuiltInOneWithAMessage) {
    TempProgramFolder program;
    skintest::BmpSpec v4;
    v4.width = v4.height = 8;
    v4.headerSize = 108;
    skintest::BmpSpec huge;
    huge.width = 8193;
    huge.height = 1;
    huge.bpp = 8;
    huge.palette = {RGB(1, 2, 3)};
    struct Case {
        const char* what;
        SkinPaths skin;
        std::string path;
    } cases[] = {
        {"missing file", skintest::InstallFixtureSkin(program, "broken-background", "Broken"),
         program / "Skins\\Broken\\missing.bmp"},
        {"108-byte header", WriteSkin(program, "V4", "v4.bmp", skintest::BuildBmp(v4, [](int, int) { return 0u; })),
         program / "Skins\\V4\\v4.bmp"},
        {"wider than 8192", WriteSkin(program, "Huge", "huge.bmp", skintest::BuildBmp(huge, [](int, int) { return 0u; })),
         program / "Skins\\Huge\\huge.bmp"},
    };
    BoxAnswerer answerer;
    size_t boxes = 0;
    for (const auto& c : cases) {
        CSkinBackground background;
        answerer.Plan(IDOK);
        EXPECT_EQ(background.LoadSkinBackground(CSkinFile(c.skin)), kErrSkinBitmapFile) << c.what;
        ASSERT_TRUE(answerer.WaitForBoxes(++boxes)) << c.what;
        EXPECT_EQ(answerer.Boxes().back().text,
                  "Error in loading customized background bitmap from\n" + c.path + "\n\nTrying to load default Skin.");
        EXPECT_EQ(background.Kind(), kSkinBuiltIn) << c.what;
        EXPECT_EQ(background.TransparentColor(), kRed) << c.what;
        EXPECT_EQ(background.SkinWidth(), 796) << c.what;
        EXPECT_NE(background.BackgroundBitmap(), nullptr) << c.what;
    }
}

TEST(SkinBackground, ATraversingSkinNameLoadsTheBuiltInBackgroundQuietly) {
    TempProgramFolder program;
    CSkinBackground background;
    EXPECT_EQ(background.LoadSkinBackground(CSkinFile(MakeSkinPaths(program.Path(), "..\\..\\x"))), kErrNone);
    EXPECT_EQ(background.Kind(), kSkinBuiltIn);
}

TEST(SkinBackground, ResizeCutsTheWindowToTheStretchedShape) {
    CSkinBackground background;
    ASSERT_EQ(background.LoadSkinBackground(CSkinFile(MakeSkinPaths("C:\\Apps", "vessa"))), kErrNone);
    PopupWindow window(796, 568);
    ASSERT_NE(window.get(), nullptr);

    background.ResizeSkinRegion(window.get(), 796, 568);
    EXPECT_EQ(background.PaintedWidth(), 796);
    EXPECT_EQ(background.PaintedHeight(), 568);
    fw::Region applied(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(::GetWindowRgn(window.get(), applied.get()), COMPLEXREGION);
    EXPECT_TRUE(::EqualRgn(applied.get(), BitmapToRegion(background.BackgroundBitmap(), kRed, kSkinTolerance).get()));

    background.ResizeSkinRegion(window.get(), 1000, 700);
    EXPECT_EQ(background.PaintedWidth(), 1000);
    ASSERT_EQ(::GetWindowRgn(window.get(), applied.get()), COMPLEXREGION);
    RECT box;
    ::GetRgnBox(applied.get(), &box);
    EXPECT_GT(box.right, 990);
    EXPECT_LE(box.right, 1000);
    EXPECT_GT(box.bottom, 690);
    EXPECT_FALSE(::PtInRegion(applied.get(), 0, 0));  // a rounded corner
    EXPECT_TRUE(::PtInRegion(applied.get(), 500, 350));
}

TEST(SkinBackground, AnAllTransparentBackgroundLeavesTheWindowRectangular) {
    TempProgramFolder program;
    skintest::BmpSpec spec;
    spec.width = 40;
    spec.height = 30;
    CSkinBackground background;
    ASSERT_EQ(background.LoadSkinBackground(CSkinFile(
                  WriteSkin(program, "Red", "red.bmp", skintest::BuildBmp(spec, [](int, int) { return kRed; })))),
              kErrNone);
    PopupWindow window(40, 30);
    ::SetWindowRgn(window.get(), ::CreateRectRgn(0, 0, 10, 10), FALSE);
    background.ResizeSkinRegion(window.get(), 40, 30);
    fw::Region applied(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(window.get(), applied.get()), ERROR);  // no region: the whole window
}

TEST(SkinBackground, NothingHappensWithoutABackground) {
    CSkinBackground background;
    PopupWindow window(40, 30);
    background.ResizeSkinRegion(window.get(), 40, 30);
    EXPECT_EQ(background.PaintedWidth(), 0);
    fw::Region applied(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(window.get(), applied.get()), ERROR);
    fw::WindowDc dc(window.get());
    background.Paint(dc.get());
    background.PaintFrame(window.get());
}

// Bitmap names that leave the skin's folder count as missing files, even
// where a good bitmap lies at the place they reach.
TEST(SkinBitmapNames, NamesOutsideTheSkinFolderAreNeverRead) {
    TempProgramFolder program;
    skintest::BmpSpec spec;
    spec.width = 30;
    spec.height = 30;
    const std::string good = skintest::BuildBmp(spec, [](int, int) { return RGB(0, 0, 200); });
    program.WriteFile("outside.bmp", good);
    program.MakeFolder("Skins\\Climb");
    const std::string climbing = "..\\..\\outside.bmp";
    program.WriteFile("Skins\\Climb\\Data.ini", "[BACKGROUND]\r\nBITMAP=" + climbing + "\r\n");
    const std::string absolute = program / "outside.bmp";
    program.MakeFolder("Skins\\Abs");
    program.WriteFile("Skins\\Abs\\Data.ini", "[BACKGROUND]\r\nBITMAP=" + absolute + "\r\n");

    BoxAnswerer answerer;
    size_t boxes = 0;
    for (const char* name : {"Climb", "Abs"}) {
        CSkinBackground background;
        answerer.Plan(IDOK);
        EXPECT_EQ(background.LoadSkinBackground(CSkinFile(MakeSkinPaths(program.Path(), name))), kErrSkinBitmapFile)
            << name;
        ASSERT_TRUE(answerer.WaitForBoxes(++boxes)) << name;
        EXPECT_EQ(background.Kind(), kSkinBuiltIn) << name;
        EXPECT_EQ(background.SkinWidth(), 796) << name;
    }

    // A button line's pictures: the same names give the button's default picture.
    const std::string folder = program / "Skins\\Climb";
    for (const std::string& token : {climbing, absolute}) {
        const SkinButtonLine line = ParseButtonLine("BUTTON_BACK,1,2,3,4,Back," + token + "," + token + ",1", folder);
        EXPECT_EQ(line.bitmap1, kRefusedSkinBitmap) << token;
        EXPECT_EQ(line.bitmap2, kRefusedSkinBitmap) << token;
        CSkinButton button;
        EXPECT_EQ(button.LoadBitmapsFromFile(line.bitmap1, "", 1, 5), kErrSkinBitmapFile) << token;
        EXPECT_EQ(button.LoadBitmapsFromFile(folder + "\\" + climbing, "", 1, 5), kErrNone)
            << "the file itself is a good bitmap";
    }
}

}  // namespace
