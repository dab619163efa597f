// Black-box: the real Vessa.exe with the stand-ins beside it (twad.dll) and
// in the prefix (ADBANNER.OCX), the user's proxy set in the settings.
#include "ad_test_util.h"
#include "banner_test_util.h"
#include "browser_test_util.h"
#include "page_test_util.h"

#include "MainMenu.h"
#include "resource.h"

#include "fw/handles.h"
#include "fw/window.h"
#include "testsupport/box_answerer.h"
#include "testsupport/registry_scratch.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using adtest::StandInLogs;
using adtest::TwadLine;
using adtest::UserProxy;
using testsupport::PumpUntil;

// The browser started with an address, its boxes answered; closed with its CLOSE button.
class Browser : public browsertest::BrowserProgram {
public:
    Browser(const testsupport::TempProgramFolder& dir, const std::string& address) : BrowserProgram(dir, address) {
        if (!started()) return;
        boxes_ = std::make_unique<testsupport::BoxAnswerer>(id());
        WaitForWindow();
    }
    size_t boxes() const { return boxes_ ? boxes_->Boxes().size() : 0; }
    std::vector<testsupport::SeenBox> seen() const { return boxes_ ? boxes_->Boxes() : std::vector<testsupport::SeenBox>{}; }

private:
    std::unique_ptr<testsupport::BoxAnswerer> boxes_;
};

RECT RectIn(HWND parent, HWND child) {
    RECT rc = fw::ScreenRectOf(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class AdProgram : public ::testing::Test, protected browsertest::BrowserFolder {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(bannertest::RegSvr32(false), 0u); }
    static void TearDownTestSuite() { bannertest::RegSvr32(true); }

    testsupport::TempProgramFolder logDir;
    StandInLogs logs{logDir};
};

TEST_F(AdProgram, TheStartHandsTheProxyOverExactlyOnce) {
    size_t lines = 0;
    for (const auto& c : adtest::ProxyCases()) {
        UserProxy proxy(1, std::string(c.server));
        Browser browser(dir, "about:blank");
        ASSERT_TRUE(browser.window()) << c.server;
        // The call comes in the start-up, before the window is shown.
        const auto twad = logs.Twad();
        ASSERT_EQ(twad.size(), ++lines) << c.server;
        EXPECT_EQ(twad.back(), c.line);
    }
}

HWND MenuPopupOf(HWND wnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    return testsupport::VisibleWindowOfClass(pid, "#32768");
}

TEST_F(AdProgram, ASkinChangeHandsTheProxyOverAgain) {
    browsertest::InstallSkin(dir, "vessa-folder", "good");
    UserProxy proxy(1, std::string("127.0.0.1:3128"));
    Browser browser(dir, "about:blank");
    HWND wnd = browser.window();
    ASSERT_TRUE(wnd);
    ASSERT_EQ(logs.Twad(), std::vector<std::string>{TwadLine("127.0.0.1", 3128)});

    // The MENU press lists the skins ("Vessa", then "good"); its popup is closed, then good's item chosen.
    ::PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDC_MENU, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(wnd, IDC_MENU)));
    HWND popup = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (popup = MenuPopupOf(wnd)) != nullptr; }, 10000));
    ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return MenuPopupOf(wnd) == nullptr; }, 10000));
    ::PostMessageA(wnd, WM_COMMAND, menuid::kFirstSkin + 1, 0);
    EXPECT_TRUE(PumpUntil([&] { return logs.Twad().size() >= 2; }, 20000)) << "the skin change calls again";
    EXPECT_EQ(logs.Twad(), (std::vector<std::string>{TwadLine("127.0.0.1", 3128), TwadLine("127.0.0.1", 3128)}));
    EXPECT_EQ(logs.Banner().size(), 1u) << "the banner stays";
    EXPECT_TRUE(::GetDlgItem(wnd, IDC_BANNER));
    EXPECT_EQ(browser.boxes(), 0u);
}

TEST_F(AdProgram, WithoutAProxyTheLibraryIsNotCalled) {
    UserProxy proxy(0, std::nullopt);
    Browser browser(dir, "about:blank");
    ASSERT_TRUE(browser.window());
    // The banner's line is written in the same start-up, before the window shows.
    EXPECT_EQ(logs.Banner(), std::vector<std::string>{adtest::kBannerLine});
    EXPECT_TRUE(logs.Twad().empty());
}

TEST_F(AdProgram, TheBannerIsControl1055WithItsInitialDataInItsPlace) {
    UserProxy proxy(0, std::nullopt);
    Browser browser(dir, "about:blank");
    HWND wnd = browser.window();
    ASSERT_TRUE(wnd);
    EXPECT_EQ(logs.Banner(), std::vector<std::string>{adtest::kBannerLine});
    HWND banner = ::GetDlgItem(wnd, IDC_BANNER);
    ASSERT_TRUE(banner);
    EXPECT_TRUE(::IsWindowVisible(banner));
    const RECT b = RectIn(wnd, banner);
    const RECT address = RectIn(wnd, ::GetDlgItem(wnd, IDC_ADDRESS));
    const RECT viewer = RectIn(wnd, ::GetDlgItem(wnd, IDC_EXPLORER));
    EXPECT_EQ(b.right - b.left, 468);
    EXPECT_EQ(b.bottom - b.top, 60);
    EXPECT_EQ(b.left, address.left + (viewer.right - viewer.left - 468) / 2);
    EXPECT_EQ(b.top, address.top - 62);
    RECT client{};
    ::GetClientRect(wnd, &client);
    EXPECT_GE(b.left, 0);
    EXPECT_GE(b.top, 0);
    EXPECT_LE(b.right, client.right);
    EXPECT_LE(b.bottom, client.bottom);
    EXPECT_EQ(browser.boxes(), 0u);
}

// Unregistered, or registered with its library gone: the place stays empty
// and the browser starts and navigates.
TEST_F(AdProgram, AMissingBannerLeavesItsPlaceEmpty) {
    UserProxy proxy(0, std::nullopt);
    testsupport::TempProgramFolder gone;
    gone.CopyProgram("ADBANNER.OCX");
    for (bool registeredButGone : {false, true}) {
        if (registeredButGone) {
            ASSERT_EQ(bannertest::RegSvr32(false, gone / "ADBANNER.OCX"), 0u);
            ASSERT_TRUE(::DeleteFileA((gone / "ADBANNER.OCX").c_str()));
        } else {
            ASSERT_EQ(bannertest::RegSvr32(true), 0u);
        }
        pagetest::LoopbackServer server("<html><body>page</body></html>");
        ASSERT_TRUE(server.Listening());
        Browser browser(dir, server.Url("/start"));
        ASSERT_TRUE(browser.window()) << registeredButGone;
        EXPECT_EQ(::GetDlgItem(browser.window(), IDC_BANNER), nullptr);
        EXPECT_TRUE(server.WaitForRequests(1, 20000)) << "the browser navigates";
        EXPECT_EQ(browser.boxes(), 0u);
    }
    EXPECT_TRUE(logs.Banner().empty());
}

TEST_F(AdProgram, WithoutTwadDllTheProgramSaysWhereItBelongsAndEnds) {
    ASSERT_TRUE(::DeleteFileA((dir / "twad.dll").c_str()));
    UserProxy proxy(1, std::string("127.0.0.1:3128"));
    Browser browser(dir, "about:blank");
    ASSERT_TRUE(browser.process());
    EXPECT_EQ(browser.window(), nullptr);
    ASSERT_EQ(::WaitForSingleObject(browser.process(), 20000), WAIT_OBJECT_0) << "it ends by itself";
    DWORD code = 0;
    ::GetExitCodeProcess(browser.process(), &code);
    EXPECT_NE(code, 0u);
    EXPECT_TRUE(logs.Banner().empty());
    const auto seen = browser.seen();
    ASSERT_EQ(seen.size(), 1u) << "a box says why";
    EXPECT_EQ(seen[0].caption, "Vessa");
    EXPECT_EQ(seen[0].text, "Failed to load twad.dll. Please ensure that twad.dll is located in the program folder " +
                                dir.Path() + ".");
}

}  // namespace
