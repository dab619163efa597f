#include "browser_test_util.h"

#include "ErrorCodes.h"
#include "RegSettings.h"

#include "testsupport/box_answerer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using browsertest::ClientRectIn;
using browsertest::InProcessBrowser;
using browsertest::InstallSkin;

// A closed loopback port: the page control gets nowhere and asks no name server.
constexpr char kNowhere[] = "http://127.0.0.1:1/";

int Trunc(float value) { return static_cast<int>(value); }

TEST(BrowserWindow, BuiltInSkinPlacementAndMinimumTrackWidth) {
    InProcessBrowser b(kNowhere);
    CNimbBrowserDlg& dlg = *b.dlg;
    EXPECT_TRUE(dlg.SkinPath().builtIn);
    EXPECT_EQ(dlg.Skin().SkinWidth(), 796);
    EXPECT_EQ(dlg.Skin().SkinHeight(), 568);
    EXPECT_EQ(dlg.MinTrackWidth(), 551) << "796 x 468 / 675, truncated";
    // Every special and built-in button is live; GO never is.
    EXPECT_EQ(dlg.LiveButtons().size(), 5u + 9u);
    EXPECT_EQ(dlg.DefaultButtonLines().size(), 9u);

    MINMAXINFO info{};
    ::SendMessageA(dlg.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 551);
}

// The layout of the Part at three sizes, computed here with 32-bit floats.
TEST(BrowserWindow, ProportionalLayoutFollowsTheArithmetic) {
    InProcessBrowser b(kNowhere);
    CNimbBrowserDlg& dlg = *b.dlg;
    const HWND wnd = dlg.hwnd();
    const auto vp = dlg.ViewerProportion();
    EXPECT_FLOAT_EQ(vp.x, 66 * (100.0f / 796));
    EXPECT_FLOAT_EQ(vp.y, 18 * (100.0f / 568));

    struct Size {
        int cx, cy;
    } sizes[] = {{796, 568}, {1000, 700}, {600, 450}};
    for (const auto& s : sizes) {
        dlg.ApplyProportionalLayout(s.cx, s.cy);
        const float cx = static_cast<float>(s.cx), cy = static_cast<float>(s.cy);
        const int top = Trunc(vp.y * 0.01f * cy) + 60;
        const int left = Trunc(cx * (vp.x * 0.01f));
        const RECT go = ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_GO));
        const int goWidth = go.right - go.left;
        const int goLeft = Trunc(static_cast<float>(left) + cx * (vp.width * 0.01f)) - goWidth;
        EXPECT_EQ(go.left, goLeft) << s.cx;
        EXPECT_EQ(go.top, top) << s.cx;
        const RECT address = ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_ADDRESS));
        EXPECT_EQ(address.left, left);
        EXPECT_EQ(address.top, top);
        EXPECT_EQ(address.right, goLeft - 1);

        const int vTop = top + 20;
        const int vRight = Trunc(vp.width * 0.01f * cx + static_cast<float>(left));
        const int vBottom = Trunc(static_cast<float>(vTop) + vp.height * 0.01f * cy - 20.0f - 60.0f) - 20;
        EXPECT_EQ(ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_EXPLORER)).top, vTop);
        EXPECT_EQ(dlg.ViewerRect().left, left);
        EXPECT_EQ(dlg.ViewerRect().right, vRight);
        EXPECT_EQ(dlg.ViewerRect().bottom, vBottom);

        const RECT status = ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_STATUS));
        EXPECT_EQ(status.top, vBottom);
        EXPECT_EQ(status.right - status.left, vRight - left - 34);
        const RECT banner = ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_BANNER));
        EXPECT_EQ(banner.left, left + (vRight - left - 468) / 2);
        EXPECT_EQ(banner.top, top - 62);
        EXPECT_EQ(banner.right - banner.left, 468);
        const RECT online = ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_ONLINE_PICTURE));
        EXPECT_EQ(online.left, vRight - 34);
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(wnd, IDC_ONLINE_PICTURE)) ||
                    !::IsWindowVisible(wnd));

        // A scaled button.
        const auto bp = dlg.ControlProportion(IDC_BACK);
        const int bLeft = Trunc(bp.x * 0.01f * cx), bTop = Trunc(bp.y * 0.01f * cy);
        const RECT back = ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_BACK));
        EXPECT_EQ(back.left, bLeft) << s.cx;
        EXPECT_EQ(back.top, bTop);
        EXPECT_EQ(back.right - back.left, Trunc(cx * bp.width * 0.01f + static_cast<float>(bLeft)) - bLeft);
        EXPECT_EQ(back.bottom - back.top, Trunc(cy * bp.height * 0.01f + static_cast<float>(bTop)) - bTop);
    }
    // The Part's own figures at the skin's height.
    dlg.ApplyProportionalLayout(796, 568);
    EXPECT_EQ(ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_ADDRESS)).top, 78);
    EXPECT_EQ(ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_EXPLORER)).top, 98);
    EXPECT_EQ(ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_BANNER)).top, 16);
}

TEST(BrowserWindow, UnscaledButtonKeepsItsSize) {
    InProcessBrowser b(kNowhere, [](InProcessBrowser& self) {
        const std::string ini = InstallSkin(self.dir, "vessa-folder", "fixed");
        ::WritePrivateProfileStringA("BUTTONINFO", "1", "BUTTON_PRINT,53,506,23,22,Print,NULL,NULL,0", ini.c_str());
        CRegSettings().SetDefaultSkin("fixed");
    });
    CNimbBrowserDlg& dlg = *b.dlg;
    ASSERT_FALSE(dlg.SkinPath().builtIn);
    const HWND print = ::GetDlgItem(dlg.hwnd(), IDC_PRINT);
    for (auto [cx, cy] : {std::pair{1200, 900}, {600, 450}}) {
        dlg.ApplyProportionalLayout(cx, cy);
        const RECT r = ClientRectIn(dlg.hwnd(), print);
        EXPECT_EQ(r.right - r.left, 23) << cx;
        EXPECT_EQ(r.bottom - r.top, 22) << cx;
        const auto p = dlg.ControlProportion(IDC_PRINT);
        EXPECT_EQ(r.left, Trunc(p.x * 0.01f * static_cast<float>(cx)));
    }
}

TEST(BrowserWindow, LayoutWaitsForAUsableSkinSize) {
    InProcessBrowser b(kNowhere);
    const RECT before = ClientRectIn(b.dlg->hwnd(), ::GetDlgItem(b.dlg->hwnd(), IDC_EXPLORER));
    b.dlg->ApplyProportionalLayout(0, 0);
    b.dlg->ApplyProportionalLayout(-5, 300);
    const RECT after = ClientRectIn(b.dlg->hwnd(), ::GetDlgItem(b.dlg->hwnd(), IDC_EXPLORER));
    EXPECT_TRUE(::EqualRect(&before, &after) || after.right >= after.left) << "no crash, no inverted viewer";
}

// A broken skin of each kind falls back to the built-in skin and reports its code.
TEST(BrowserWindow, ChangeSkinFallsBackForEachBrokenKind) {
    struct Case {
        int code;
        const char* section;
        const char* key;
    } cases[] = {
        {kErrSkinViewer, "WEB", "VIEWER"},         {kErrSkinTitlebar, "SPECIAL", "TITLEBAR"},
        {kErrSkinGoButton, "SPECIAL", "GO"},       {kErrSkinAnimator, "SPECIAL", "ANIMATOR"},
        {kErrSkinCloseButton, "SPECIAL", "CLOSE"}, {kErrSkinMinimizeButton, "SPECIAL", "MINIMIZE"},
        {kErrSkinMenuButton, "SPECIAL", "MENU"},   {kErrSkinFavoritesButton, "SPECIAL", "FAVORITES"},
    };
    InProcessBrowser b(kNowhere, [&](InProcessBrowser& self) {
        for (const auto& c : cases) InstallSkin(self.dir, "vessa-folder", "broken" + std::to_string(c.code), {{c.section, c.key}});
        InstallSkin(self.dir, "vessa-folder", "good");
    });
    CNimbBrowserDlg& dlg = *b.dlg;
    ::SetWindowPos(dlg.hwnd(), nullptr, 40, 30, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    testsupport::BoxAnswerer answerer;
    std::string expectedLog;
    size_t boxes = 0;
    for (const auto& c : cases) {
        dlg.ChangeSkin("good");
        ASSERT_FALSE(dlg.SkinPath().builtIn);
        dlg.ChangeSkin("broken" + std::to_string(c.code));
        ASSERT_TRUE(answerer.WaitForBoxes(++boxes)) << c.code;
        std::string text;
        GetErrorMessage(c.code, &text);
        EXPECT_EQ(answerer.Boxes().back().text, "The following error occurred.\n" + text);
        EXPECT_TRUE(dlg.SkinPath().builtIn) << c.code;
        EXPECT_EQ(dlg.SkinPath().name, "vessa");
        EXPECT_EQ(dlg.LiveButtons().size(), 14u) << "the built-in skin's buttons";
        expectedLog += "ErrID: " + std::to_string(c.code) + "     FuncName: CNimbBrowserDlg::OnInitDialog()\r\n";
    }
    EXPECT_EQ(answerer.Boxes().size(), boxes) << "one report per broken skin";
    EXPECT_EQ(b.dir.ReadFile("Err.log"), expectedLog);

    // The window kept its place and size through all of it.
    const RECT r = fw::ScreenRectOf(dlg.hwnd());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 500);
}

TEST(BrowserWindow, ChangingToTheSkinInUseDoesNothing) {
    InProcessBrowser b(kNowhere, [](InProcessBrowser& self) { InstallSkin(self.dir, "vessa-folder", "good"); });
    CNimbBrowserDlg& dlg = *b.dlg;
    dlg.ChangeSkin("good");
    ASSERT_EQ(dlg.SkinPath().name, "good");
    const HBITMAP background = dlg.Skin().BackgroundBitmap();
    dlg.ChangeSkin("GOOD");
    EXPECT_EQ(dlg.Skin().BackgroundBitmap(), background) << "no reload";
    // Unsafe names are the built-in skin.
    dlg.ChangeSkin("..\\good");
    EXPECT_TRUE(dlg.SkinPath().builtIn);
}

}  // namespace
