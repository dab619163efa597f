// The ad client's configuration and the banner on the real main window,
// in-process, with the stand-ins twad.dll and ADBANNER.OCX.
#include "ad_test_util.h"
#include "banner_test_util.h"
#include "browser_test_util.h"

#include "AdClient.h"
#include "FlexActive2.h"

#include "testsupport/crash_guard.h"

#include <gtest/gtest.h>

namespace {

using adtest::StandInLogs;
using adtest::TwadLine;
using adtest::UserProxy;

TEST(AdProxyParse, TheHttpEntryOrTheWholeTextSplitAtTheLastColon) {
    const struct {
        const char* text;
        const char* host;
        uint32_t port;
    } cases[] = {
        {"http=a:1 ftp=b:2", "a", 1},
        {"a:b:3", "a:b", 3},
        {"h:12ab", "h", 12},
        {"h:xyz", "h", 0},
        {"", "", 0},
        {"http=a:1;https=b:2", "a", 1},
        {"ftp=b:2 http=c:8080", "c", 8080},
        {"proxyhost", "proxyhost", 0},
        {"127.0.0.1:3128", "127.0.0.1", 3128},
        {"http=", "", 0},
        {":8080", "", 8080},
    };
    for (const auto& c : cases) {
        const AdProxy proxy = ParseAdProxy(c.text);
        EXPECT_EQ(proxy.host, c.host) << c.text;
        EXPECT_EQ(proxy.port, c.port) << c.text;
    }
}

class AdClient : public ::testing::Test {
protected:
    void TearDown() override { ::SetEnvironmentVariableA("TWAD_STANDIN_RESULT", nullptr); }
    testsupport::TempProgramFolder dir;
    StandInLogs logs{dir};
};

TEST_F(AdClient, HandsTheUsersProxyToTheLibrary) {
    std::vector<std::string> expected;
    for (const auto& c : adtest::ProxyCases()) {
        UserProxy proxy(1, std::string(c.server));
        EXPECT_EQ(ConfigureAdClient(), TRUE) << c.server;
        expected.push_back(c.line);
        EXPECT_EQ(logs.Twad(), expected) << c.server;
    }
}

TEST_F(AdClient, NoProxyMeansNoCall) {
    // Switched off, or switched on with no server: the platform gives no proxy text.
    const std::optional<std::string> servers[] = {std::nullopt, std::string("127.0.0.1:3128")};
    for (const auto& server : servers) {
        UserProxy proxy(server ? 0 : 1, server);
        // Reading a text that is not there would crash: tried first where a
        // crash ends at once.
        ASSERT_RETURNS_IN_CHILD(ConfigureAdClient());
        EXPECT_EQ(ConfigureAdClient(), TRUE);
    }
    EXPECT_TRUE(logs.Twad().empty());
}

TEST_F(AdClient, ARefusingLibraryIsFalseAndTheStartStillReportsSuccess) {
    UserProxy proxy(1, std::string("127.0.0.1:3128"));
    ::SetEnvironmentVariableA("TWAD_STANDIN_RESULT", "5");
    EXPECT_EQ(ConfigureAdClient(), FALSE);
    EXPECT_EQ(logs.Twad().size(), 1u);
}

// The banner in its place: 468 x 60, centred over the viewer, 62 pixels above the address row.
void ExpectBannerInPlace(HWND dlg) {
    HWND banner = ::GetDlgItem(dlg, IDC_BANNER);
    ASSERT_TRUE(banner) << "control 1055";
    EXPECT_TRUE(::GetWindowLongPtrA(banner, GWL_STYLE) & WS_VISIBLE) << "shown with its window";
    const RECT b = browsertest::ClientRectIn(dlg, banner);
    const RECT address = browsertest::ClientRectIn(dlg, ::GetDlgItem(dlg, IDC_ADDRESS));
    const RECT viewer = browsertest::ClientRectIn(dlg, ::GetDlgItem(dlg, IDC_EXPLORER));
    EXPECT_EQ(b.right - b.left, 468);
    EXPECT_EQ(b.bottom - b.top, 60);
    EXPECT_EQ(b.left, address.left + (viewer.right - viewer.left - 468) / 2);
    EXPECT_EQ(b.top, address.top - 62);
    RECT client{};
    ::GetClientRect(dlg, &client);
    RECT inside{};
    EXPECT_TRUE(::IntersectRect(&inside, &b, &client) && ::EqualRect(&inside, &b)) << "within the client area";
}

class BannerWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(bannertest::RegSvr32(false), 0u); }
    static void TearDownTestSuite() { bannertest::RegSvr32(true); }
};

TEST_F(BannerWindow, StartAndSkinChangeEachHandTheProxyOverAndTheBannerKeepsItsPlace) {
    testsupport::TempProgramFolder logDir;
    StandInLogs logs(logDir);
    UserProxy proxy(1, std::string("127.0.0.1:3128"));
    browsertest::InProcessBrowser b("http://127.0.0.1:1/ad", [](browsertest::InProcessBrowser& self) {
        browsertest::InstallSkin(self.dir, "vessa-folder", "good");
    });
    HWND dlg = b.dlg->hwnd();
    EXPECT_EQ(logs.Twad(), std::vector<std::string>{TwadLine("127.0.0.1", 3128)});
    EXPECT_EQ(logs.Banner(), std::vector<std::string>{adtest::kBannerLine}) << "initial data before activation";
    char cls[64] = {};
    ::GetClassNameA(::GetDlgItem(dlg, IDC_BANNER), cls, sizeof(cls));
    EXPECT_STREQ(cls, fw::AxWindow::kClassName) << "the control took the placeholder's place";
    ExpectBannerInPlace(dlg);

    // The built-in skin laid out for its own height: the banner's top is 16.
    b.dlg->ApplyProportionalLayout(796, 568);
    EXPECT_EQ(browsertest::ClientRectIn(dlg, ::GetDlgItem(dlg, IDC_BANNER)).top, 16);

    b.dlg->ChangeSkin("good");
    EXPECT_EQ(logs.Twad(), (std::vector<std::string>{TwadLine("127.0.0.1", 3128), TwadLine("127.0.0.1", 3128)}));
    ExpectBannerInPlace(dlg);
    b.dlg->ChangeSkin("good");
    EXPECT_EQ(logs.Twad().size(), 2u) << "the skin in use is no change";
    EXPECT_EQ(logs.Banner().size(), 1u) << "one banner for the window's life";
}

TEST(BannerMissing, TheStartGoesOnWithAnEmptyPlace) {
    ASSERT_EQ(bannertest::RegSvr32(true), 0u);
    browsertest::InProcessBrowser b("http://127.0.0.1:1/no-banner");
    HWND dlg = b.dlg->hwnd();
    EXPECT_EQ(::GetDlgItem(dlg, IDC_BANNER), nullptr) << "no banner, no placeholder";
    EXPECT_TRUE(b.dlg->Browser().host().IsCreated());
    // The rest of the layout stands: the viewer 20 below the address row.
    const RECT address = browsertest::ClientRectIn(dlg, ::GetDlgItem(dlg, IDC_ADDRESS));
    const RECT viewer = browsertest::ClientRectIn(dlg, ::GetDlgItem(dlg, IDC_EXPLORER));
    EXPECT_EQ(viewer.top, address.top + 20);
    b.dlg->ApplyProportionalLayout(796, 568);
    EXPECT_EQ(browsertest::ClientRectIn(dlg, ::GetDlgItem(dlg, IDC_EXPLORER)).top, 98);
}

}  // namespace
