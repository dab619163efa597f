// The miniature's picture: the built-in skin or a skin folder's background,
// the transparent colour turned into the desktop's teal, the page area white,
// and every way a skin can be unusable falling back to the built-in picture.
#include "desktop_test_util.h"

#include "bmp_builder.h"

#include <gtest/gtest.h>

using desktoptest::DesktopFixture;

namespace {

constexpr COLORREF kBody = RGB(40, 60, 200);

// A skin folder whose 200 x 100 background is blue with a pure-green 20-pixel
// band at the top (its transparent colour) and the viewer below it.
void WriteSkin(DesktopFixture& f, const std::string& name, const std::string& extraIni = "",
               const std::string& bitmapName = "back.bmp", const char* originalWidth = "200") {
    f.dir.MakeFolder("Skins");
    f.dir.MakeFolder("Skins\\" + name);
    skintest::BmpSpec spec;
    spec.width = 200;
    spec.height = 100;
    f.dir.WriteFile("Skins\\" + name + "\\back.bmp",
                    skintest::BuildBmp(spec, [](int, int y) { return y < 20 ? RGB(0, 255, 0) : kBody; }));
    f.dir.WriteFile("Skins\\" + name + "\\Data.ini",
                    "[BACKGROUND]\r\nBITMAP=" + bitmapName + "\r\nTRANSPARENTCOLOR=0,255,0\r\nORIGINALWIDTH=" +
                        originalWidth + "\r\nORIGINALHEIGHT=100\r\n[WEB]\r\nVIEWER=50,40,100,40\r\n" + extraIni);
}

COLORREF ImagePixel(const CMiniBrowserWnd& mini, int x, int y) {
    return ::GetPixel(mini.ImageDc(), x, y);
}

struct Shown {
    DesktopFixture f;
    const CMiniBrowserWnd* mini = nullptr;
    explicit Shown(const std::string& skin, const std::function<void(DesktopFixture&)>& prepare = {}) {
        if (prepare) prepare(f);
        f.AddLink("Skinned", URLRect{100, 100, 500, 400}, "", skin);
        f.StartManager();
        f.SelectLink("Skinned");
        if (!f.view->Browsers().empty()) mini = f.view->Browsers().front().get();
    }
};

}  // namespace

TEST(DesktopSkin, TheBuiltInSkinIsMaskedTealWithAWhitePage) {
    Shown s("vessa");
    ASSERT_NE(s.mini, nullptr);
    EXPECT_TRUE(s.mini->BuiltIn());
    const SIZE size = s.mini->SourceSize();
    EXPECT_EQ(size.cx, 164);
    EXPECT_EQ(size.cy, 125);
    EXPECT_EQ(ImagePixel(*s.mini, 0, 0), CMiniBrowserWnd::kDesktopTeal) << "the cut-away corner";
    EXPECT_EQ(ImagePixel(*s.mini, size.cx / 2, size.cy / 3), RGB(255, 255, 255)) << "the page area";
}

TEST(DesktopSkin, ASkinFoldersBackgroundIsStretchedMaskedAndPaged) {
    Shown s("Blue", [](DesktopFixture& f) { WriteSkin(f, "Blue"); });
    ASSERT_NE(s.mini, nullptr);
    EXPECT_FALSE(s.mini->BuiltIn());
    const SIZE size = s.mini->SourceSize();  // 164 x 125 from 200 x 100
    EXPECT_EQ(ImagePixel(*s.mini, size.cx / 2, 5), CMiniBrowserWnd::kDesktopTeal) << "the transparent band";
    EXPECT_EQ(ImagePixel(*s.mini, 3, size.cy - 3), kBody) << "the body stays";
    // Viewer 50, 40 to 150, 80 of 200 x 100, in a window of 164 x 125.
    const RECT client = s.mini->ClientRect();
    const RECT page = desktop::ViewerInImage(RECT{50, 40, 150, 80}, 200, 100, client.right, client.bottom);
    EXPECT_EQ(ImagePixel(*s.mini, (page.left + page.right) / 2, (page.top + page.bottom) / 2), RGB(255, 255, 255));
    EXPECT_EQ(ImagePixel(*s.mini, page.left - 2, (page.top + page.bottom) / 2), kBody);
}

TEST(DesktopSkin, UnusableSkinsFallBackToTheBuiltInPicture) {
    struct Case {
        const char* what;
        const char* skin;
        std::function<void(DesktopFixture&)> prepare;
    };
    const Case cases[] = {
        {"no folder", "Missing", {}},
        {"no design width", "NoWidth", [](DesktopFixture& f) { WriteSkin(f, "NoWidth", "", "back.bmp", ""); }},
        {"design width 0", "Zero", [](DesktopFixture& f) { WriteSkin(f, "Zero", "", "back.bmp", "0"); }},
        {"design width below 0", "Neg", [](DesktopFixture& f) { WriteSkin(f, "Neg", "", "back.bmp", "-5"); }},
        {"a bitmap outside the skin", "Climb",
         [](DesktopFixture& f) {
             WriteSkin(f, "Climb", "", "..\\Blue\\back.bmp");
             WriteSkin(f, "Blue");
         }},
        {"a skin name outside Skins", "..\\Skins\\Blue", [](DesktopFixture& f) { WriteSkin(f, "Blue"); }},
        {"a file that is no bitmap", "Junk",
         [](DesktopFixture& f) {
             WriteSkin(f, "Junk", "", "junk.bmp");
             f.dir.WriteFile("Skins\\Junk\\junk.bmp", "not a bitmap");
         }},
    };
    for (const Case& c : cases) {
        Shown s(c.skin, c.prepare);
        ASSERT_NE(s.mini, nullptr) << c.what;
        EXPECT_TRUE(s.mini->BuiltIn()) << c.what;
        EXPECT_EQ(ImagePixel(*s.mini, 0, 0), CMiniBrowserWnd::kDesktopTeal) << c.what;
        s.f.Stop();
    }
}

TEST(DesktopSkin, ASkinChangeRedrawsTheOneMiniature) {
    Shown s("vessa", [](DesktopFixture& f) { WriteSkin(f, "Blue"); });
    ASSERT_NE(s.mini, nullptr);
    ASSERT_TRUE(s.mini->BuiltIn());
    s.f.app->Document()->ReloadDesktopSkin("Blue");
    EXPECT_FALSE(s.mini->BuiltIn());
    EXPECT_EQ(s.mini->SkinName(), "Blue");
    EXPECT_EQ(ImagePixel(*s.mini, 3, s.mini->SourceSize().cy - 3), kBody);
    EXPECT_TRUE(::IsWindowVisible(s.mini->hwnd()));
}
