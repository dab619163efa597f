#include "banner_test_util.h"
#include "browser_test_util.h"

#include "ErrorCodes.h"
#include "LinkWindowPlace.h"
#include "RegSettings.h"

#include "testsupport/box_answerer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using browsertest::ClientRectIn;
using browsertest::InProcessBrowser;
using browsertest::InstallSkin;

// A closed loopback port: the page control gets nowhere and asks no name server.
constexpr char kNowhere[] = "http://127.0.0.1:1/";

int Trunc(float value) {
    return static_cast<int>(value);
}

// The layout places the ad banner: it is there for every window of these tests.
const bool bannerRegistered = (bannertest::RegisterForTests(), true);

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

// The layout at three sizes, computed here the same way: 32-bit float percentages, truncated.
TEST(BrowserWindow, ProportionalLayoutFollowsTheArithmetic) {
    InProcessBrowser b(kNowhere);
    CNimbBrowserDlg& dlg = *b.dlg;
    const HWND wnd = dlg.hwnd();
    // Shown, so that the indicators' visibility means something.
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(::IsWindowVisible(wnd));
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
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(wnd, IDC_ONLINE_PICTURE)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(wnd, IDC_OFFLINE_PICTURE)));

        // A scaled button.
        const auto bp = dlg.ControlProportion(IDC_BACK);
        const int bLeft = Trunc(bp.x * 0.01f * cx), bTop = Trunc(bp.y * 0.01f * cy);
        const RECT back = ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_BACK));
        EXPECT_EQ(back.left, bLeft) << s.cx;
        EXPECT_EQ(back.top, bTop);
        EXPECT_EQ(back.right - back.left, Trunc(cx * bp.width * 0.01f + static_cast<float>(bLeft)) - bLeft);
        EXPECT_EQ(back.bottom - back.top, Trunc(cy * bp.height * 0.01f + static_cast<float>(bTop)) - bTop);
    }
    // Offline, the layout shows the other picture in the same cell.
    dlg.ShowOfflineIndicator(true);
    dlg.ApplyProportionalLayout(1000, 700);
    const HWND offline = ::GetDlgItem(wnd, IDC_OFFLINE_PICTURE);
    EXPECT_TRUE(::IsWindowVisible(offline));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(wnd, IDC_ONLINE_PICTURE)));
    EXPECT_EQ(ClientRectIn(wnd, offline).left, dlg.ViewerRect().right - 34);
    dlg.ShowOfflineIndicator(false);

    // At the skin's own height the address row sits 60 pixels below the viewer's top of 18, the viewer
    // under it, and the banner 62 pixels above it.
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
        for (const auto& c : cases)
            InstallSkin(self.dir, "vessa-folder", "broken" + std::to_string(c.code), {{c.section, c.key}});
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

// A window of the template's own size gets no WM_SIZE from the start's move:
// it is laid out and shaped all the same.
TEST(BrowserWindow, TheFirstLayoutRunsAtTheTemplatesSize) {
    RECT templateSize{0, 0, 455, 350};
    {
        InProcessBrowser measure(kNowhere);
        ASSERT_TRUE(::MapDialogRect(measure.dlg->hwnd(), &templateSize));
    }
    ::AdjustWindowRectEx(&templateSize, WS_POPUP | WS_THICKFRAME, FALSE, WS_EX_APPWINDOW);
    const int width = templateSize.right - templateSize.left, height = templateSize.bottom - templateSize.top;
    ASSERT_NE(width, 796) << "the test needs a template size other than the skin's";
    const RECT stored{50, 40, 50 + width, 40 + height};
    InProcessBrowser b(kNowhere, [&](InProcessBrowser&) { CRegSettings().SaveWindowRect("Vessa", stored); });
    const HWND wnd = b.dlg->hwnd();
    const RECT shown = fw::ScreenRectOf(wnd);
    ASSERT_TRUE(::EqualRect(&shown, &stored)) << shown.right - shown.left << " x " << shown.bottom - shown.top;
    EXPECT_EQ(b.dlg->Skin().PaintedWidth(), width) << "the window was shaped for its size";
    EXPECT_EQ(b.dlg->Skin().PaintedHeight(), height);
    fw::Region region(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(::GetWindowRgn(wnd, region.get()), ERROR);
    RECT client{};
    ::GetClientRect(wnd, &client);
    const auto vp = b.dlg->ViewerProportion();
    EXPECT_EQ(ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_ADDRESS)).top,
              Trunc(vp.y * 0.01f * static_cast<float>(client.bottom)) + 60);
}

// ChangeSkin lays out and shapes for the client size, whatever the window's outer size or the skin's.
TEST(BrowserWindow, ChangeSkinLaysOutForTheClientSize) {
    InProcessBrowser b(kNowhere, [](InProcessBrowser& self) { InstallSkin(self.dir, "vessa-folder", "good"); });
    CNimbBrowserDlg& dlg = *b.dlg;
    const HWND wnd = dlg.hwnd();
    ::SetWindowPos(wnd, nullptr, 20, 20, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    dlg.ChangeSkin("good");
    ASSERT_FALSE(dlg.SkinPath().builtIn);
    RECT client{};
    ::GetClientRect(wnd, &client);
    ASSERT_EQ(client.right, 694);
    EXPECT_EQ(dlg.Skin().PaintedWidth(), 700);
    EXPECT_EQ(dlg.Skin().PaintedHeight(), 500);
    const auto vp = dlg.ViewerProportion();
    const int left = Trunc(694.0f * (vp.x * 0.01f));
    EXPECT_EQ(dlg.ViewerRect().left, left);
    EXPECT_EQ(dlg.ViewerRect().right, Trunc(vp.width * 0.01f * 694.0f + static_cast<float>(left)));
    const int top = Trunc(vp.y * 0.01f * 494.0f) + 60;
    EXPECT_EQ(ClientRectIn(wnd, ::GetDlgItem(wnd, IDC_ADDRESS)).top, top);
}

// Proportions are taken from the window's own corner: a skin change far from
// the screen origin puts every control where it goes at the origin.
TEST(BrowserWindow, ProportionsAreMeasuredFromTheWindowsCorner) {
    InProcessBrowser b(kNowhere, [](InProcessBrowser& self) { InstallSkin(self.dir, "vessa-folder", "good"); });
    CNimbBrowserDlg& dlg = *b.dlg;
    const HWND wnd = dlg.hwnd();
    const int ids[] = {IDC_BACK, IDC_CLOSE, IDC_MENU, IDC_TITLE, IDC_PRINT};
    auto places = [&] {
        std::vector<RECT> out;
        for (int id : ids) out.push_back(ClientRectIn(wnd, ::GetDlgItem(wnd, id)));
        return out;
    };
    ::SetWindowPos(wnd, nullptr, 0, 0, 796, 568, SWP_NOZORDER | SWP_NOACTIVATE);
    dlg.ChangeSkin("good");
    const std::vector<RECT> atOrigin = places();
    const auto backAtOrigin = dlg.ControlProportion(IDC_BACK);
    dlg.ChangeSkin("vessa");
    ::SetWindowPos(wnd, nullptr, 150, 100, 796, 568, SWP_NOZORDER | SWP_NOACTIVATE);
    dlg.ChangeSkin("good");
    ASSERT_EQ(fw::ScreenRectOf(wnd).left, 150);
    const std::vector<RECT> away = places();
    for (size_t i = 0; i < away.size(); ++i) EXPECT_TRUE(::EqualRect(&away[i], &atOrigin[i])) << ids[i];
    EXPECT_FLOAT_EQ(dlg.ControlProportion(IDC_BACK).x, backAtOrigin.x);
    EXPECT_FLOAT_EQ(dlg.ControlProportion(IDC_BACK).y, backAtOrigin.y);
}

// A minimised window is saved with the rectangle it comes back to.
TEST(BrowserWindow, AMinimisedWindowSavesItsNormalRectangle) {
    InProcessBrowser b(kNowhere);
    const HWND wnd = b.dlg->hwnd();
    ::SetWindowPos(wnd, nullptr, 40, 30, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(wnd, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(::IsIconic(wnd));
    const BrowserSave save = b.dlg->StateToSave();
    const RECT normal{40, 30, 740, 530};
    EXPECT_TRUE(::EqualRect(&save.windowRect, &normal)) << save.windowRect.left << "," << save.windowRect.top << ","
                                                        << save.windowRect.right << "," << save.windowRect.bottom;
    b.app->SaveWindowAndSkinSize(save);
    RECT saved{};
    ASSERT_EQ(CRegSettings().LoadWindowRect("Vessa", &saved), kErrNone);
    EXPECT_TRUE(::EqualRect(&saved, &normal));
}

// An inverted rectangle, from a link file or from the registry, is no place to
// open at: the window opens as without one (a link's window where the
// manager's desktop pane shows a link without a rectangle).
TEST(BrowserWindow, InvertedStartRectanglesCountAsNone) {
    const RECT inverted{500, 400, 100, 100};
    const RECT expected{0, 0, 796, 568};
    {
        InProcessBrowser b(kNowhere, [&](InProcessBrowser&) { CRegSettings().SaveWindowRect("Vessa", inverted); });
        const RECT shown = fw::ScreenRectOf(b.dlg->hwnd());
        EXPECT_TRUE(::EqualRect(&shown, &expected)) << "stored: " << shown.left << "," << shown.right;
    }
    // A link file's record, handed to the window as the application would.
    const browsertest::BrowserFolder folder(nullptr);
    const testsupport::TempProgramFolder& dir = folder.dir;
    CErrorHandler errors;
    errors.CreateLog(dir.Path());
    BrowserStart start;
    start.programFolder = dir.Path();
    start.record.link.address = kNowhere;
    start.record.link.windowRect = URLRect{inverted.left, inverted.top, inverted.right, inverted.bottom};
    start.record.skinName = "vessa";
    start.linkFileMode = true;
    CNimbBrowserDlg dlg(start, errors);
    ASSERT_TRUE(dlg.CreateModeless(nullptr));
    const RECT shown = fw::ScreenRectOf(dlg.hwnd());
    const RECT paneDefault{102, 76, 716, 537};  // the desktop pane's default place on 1024 x 768
    EXPECT_TRUE(::EqualRect(&shown, &paneDefault)) << "link: " << shown.left << "," << shown.top << ","
                                                   << shown.right << "," << shown.bottom;
}

// A link storing no rectangle opens where the manager's desktop pane showed
// it, not where the last browser was closed.
TEST(BrowserWindow, ALinkWithoutARectangleOpensAtTheDesktopPanesDefaultPlace) {
    const browsertest::BrowserFolder folder(nullptr);
    CRegSettings().SaveWindowRect("Vessa", RECT{20, 30, 20 + 796, 30 + 568});
    CErrorHandler errors;
    errors.CreateLog(folder.dir.Path());
    BrowserStart start;
    start.programFolder = folder.dir.Path();
    start.record.link.address = kNowhere;
    start.record.skinName = "vessa";
    start.linkFileMode = true;
    CNimbBrowserDlg dlg(start, errors);
    ASSERT_TRUE(dlg.CreateModeless(nullptr));
    const RECT shown = fw::ScreenRectOf(dlg.hwnd());
    const RECT paneDefault = DefaultLinkWindowRect(1024, 768);
    const RECT spelledOut{102, 76, 716, 537};
    EXPECT_TRUE(::EqualRect(&paneDefault, &spelledOut));
    EXPECT_TRUE(::EqualRect(&shown, &paneDefault)) << shown.left << "," << shown.top << "," << shown.right << ","
                                                   << shown.bottom;
}

// The sizing frame is drawn from the skin: losing and regaining activation (a
// popup opening and closing) leaves the frame as the skin painted it, not in
// the system's frame colours.
TEST(BrowserWindow, ActivationChangesLeaveTheSkinsFrame) {
    InProcessBrowser b(kNowhere);
    const HWND wnd = b.dlg->hwnd();
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(testsupport::PumpPosted()) << "what showing the window left queued";
    const RECT outer = fw::ScreenRectOf(wnd);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    // The frame's rows along the bottom, where the skin's shape reaches into it.
    auto frameRows = [&] {
        std::vector<COLORREF> pixels;
        fw::WholeWindowDc dc(wnd);
        for (int y = height - 3; y < height; ++y)
            for (int x = 40; x < width - 40; x += 5) pixels.push_back(::GetPixel(dc.get(), x, y));
        return pixels;
    };
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<COLORREF> painted = frameRows();
    ASSERT_NE(std::count(painted.begin(), painted.end(), CLR_INVALID), static_cast<long>(painted.size()))
        << "some of the bottom frame lies inside the window's shape";
    for (BOOL active : {FALSE, TRUE}) {
        ::SendMessageA(wnd, WM_NCACTIVATE, active, 0);
        const std::vector<COLORREF> now = frameRows();
        size_t changed = 0;
        for (size_t i = 0; i < now.size(); ++i) changed += now[i] != painted[i];
        EXPECT_EQ(changed, 0u) << "pixels of the frame repainted otherwise after WM_NCACTIVATE " << active;
    }
}

// The window's own palette change is not answered, or realising would start it again.
TEST(BrowserWindow, ItsOwnPaletteChangeIsIgnored) {
    InProcessBrowser b(kNowhere);
    const HWND wnd = b.dlg->hwnd();
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(testsupport::PumpPosted()) << "what showing the window left queued";
    const HWND back = ::GetDlgItem(wnd, IDC_BACK);
    auto pending = [](HWND w) { return ::GetUpdateRect(w, nullptr, FALSE) != FALSE; };
    ::ValidateRect(wnd, nullptr);
    ::ValidateRect(back, nullptr);
    ::SendMessageA(wnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(wnd), 0);
    EXPECT_FALSE(pending(wnd));
    EXPECT_FALSE(pending(back));
    ::SendMessageA(wnd, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(::GetDesktopWindow()), 0);
    EXPECT_TRUE(pending(wnd)) << "another window's change repaints the skin";
    EXPECT_TRUE(pending(back));
}

// The page control, whose start costs Wine's HTML library its own, and the
// first navigation come after start-up, once the window can be on the screen.
TEST(BrowserWindow, ThePageControlWaitsForTheEndOfStartUp) {
    const browsertest::BrowserFolder folder(nullptr);
    const testsupport::TempProgramFolder& dir = folder.dir;
    CErrorHandler errors;
    errors.CreateLog(dir.Path());
    BrowserStart start;
    start.programFolder = dir.Path();
    start.record.link.address = kNowhere;
    start.record.skinName = "vessa";
    CNimbBrowserDlg dlg(start, errors);
    ASSERT_TRUE(dlg.CreateModeless(nullptr));
    EXPECT_FALSE(dlg.Browser().host().IsCreated()) << "not while the window is being made";
    const RECT placeholder = ClientRectIn(dlg.hwnd(), ::GetDlgItem(dlg.hwnd(), IDC_EXPLORER));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return dlg.Browser().host().IsCreated(); }, 10000));
    const RECT control = ClientRectIn(dlg.hwnd(), ::GetDlgItem(dlg.hwnd(), IDC_EXPLORER));
    EXPECT_TRUE(::EqualRect(&control, &placeholder)) << "in the place the layout gave the placeholder";
    EXPECT_EQ(dlg.Browser().hwnd(), ::GetDlgItem(dlg.hwnd(), IDC_EXPLORER));
}

}  // namespace
