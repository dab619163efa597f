// The usage hit, the window count of the default-browser question, and the
// About and Open dialogs, in-process on the real main window.
#include "commands_test_util.h"

#include "browser_test_util.h"
#include "page_test_util.h"

#include "DefaultBrowserDlg.h"
#include "MainMenu.h"
#include "OpenLocationDlg.h"
#include "RegSettings.h"
#include "UsageHit.h"
#include "WindowsVersion.h"

#include "testsupport/reg_test_util.h"

#include "fw/com.h"
#include "fw/event_sink.h"

#include <exdisp.h>
#include <gtest/gtest.h>
#include <wininet.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace commandtest {
namespace {

using pagetest::PumpFor;
using pagetest::PumpPosted;
using pagetest::PumpUntil;

constexpr char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kAppSettings[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings";
constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

TEST(CaptionRule, OnlyCaptionsLongerThanTheSuffixAndEndingInItCount) {
    struct Case {
        const char* caption;
        bool counts;
    };
    const Case cases[] = {
        {"News - Vessa", true},   {"x- vessa", true},     {"NEWS - VESSA", true}, {"- Vessa", false},
        {"News - Vessa ", false}, {"News -Vessa", false}, {"Vessa", false},       {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsBrowserCaption(c.caption), c.counts) << c.caption;
}

TEST(OpenLocation, BrowseGivesOneFullPathWhateverIsSelected) {
    const char one[] = "C:\\pages\\a.htm\0";
    EXPECT_EQ(FirstSelectedPath(one, sizeof(one)), "C:\\pages\\a.htm");
    const char several[] = "C:\\pages\0a.htm\0b.htm\0";
    EXPECT_EQ(FirstSelectedPath(several, sizeof(several)), "C:\\pages\\a.htm");
    const char root[] = "C:\\\0a.htm\0b.htm\0";
    EXPECT_EQ(FirstSelectedPath(root, sizeof(root)), "C:\\a.htm");
    const char unterminated[] = {'C', ':', '\\', 'a'};
    EXPECT_EQ(FirstSelectedPath(unterminated, sizeof(unterminated)), "C:\\a");
}

TEST(UsageHitAgent, NamesTheChannelTheVersionAndWindows) {
    int code = 0;
    std::string windows;
    GetWindowsVersion(&code, &windows);
    EXPECT_EQ(HitAgent(11, "2.0"), "(rozeda)/2.0 " + windows);
    EXPECT_EQ(ChannelTag(11), "(rozeda)");
    EXPECT_EQ(ChannelTag(16), "");
    EXPECT_EQ(ChannelTag(-1), "");
}

// Runs act on the first visible dialog of this process with the caption,
// from a thread of its own (the dialog's modal loop holds this one).
class DialogDriver {
public:
    DialogDriver(std::string caption, std::function<void(HWND)> act)
        : thread_([this, caption = std::move(caption), act = std::move(act)] {
              const ULONGLONG end = ::GetTickCount64() + 20000;
              while (::GetTickCount64() < end) {
                  HWND box = ::FindWindowA("#32770", caption.c_str());
                  if (box && ::IsWindowVisible(box)) {
                      act(box);
                      done_ = true;
                      return;
                  }
                  ::Sleep(10);
              }
          }) {}
    ~DialogDriver() { thread_.join(); }
    bool Done() const { return done_; }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

std::vector<std::string> ChildTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(TextOf(child));
    return texts;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        // The hit goes through the user's proxy settings only.
        ::SetEnvironmentVariableA("http_proxy", nullptr);
        ::SetEnvironmentVariableA("HTTP_PROXY", nullptr);
    }
    void Start(const std::function<void(browsertest::InProcessBrowser&)>& prepare = {}) {
        ASSERT_TRUE(ole);
        browser.emplace(startUrl, [&](browsertest::InProcessBrowser& b) {
            if (prepare) prepare(b);
        });
        watcher.On(pagetest::kBeforeNavigate2, [this](const fw::DispArgs& a) { befores.push_back(a.String(1)); });
        ASSERT_EQ(watcher.Connect(Dlg().Browser().host().Control().get()), S_OK);
        ASSERT_TRUE(PumpUntil(
            [&] { return Dlg().Browser().GetLocationURL() == startUrl && !Dlg().IsAnimationRunning(); }, 10000))
            << Dlg().Browser().GetLocationURL();
        ASSERT_TRUE(PumpPosted()) << "what the start navigation left queued";
    }
    void UseProxy(int port) {
        regtest::PutDword(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable", 1);
        regtest::PutString(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer", "127.0.0.1:" + std::to_string(port));
    }
    CNimbBrowserDlg& Dlg() { return *browser->dlg; }
    size_t Hits(const pagetest::LoopbackServer& server) {
        size_t count = 0;
        for (const auto& request : server.Requests()) count += request.line.find(kHitPath) != std::string::npos;
        return count;
    }
    bool HitOver() {
        return PumpUntil([&] { return !Dlg().IsHitPending() || Dlg().HitWindowCount() == 0; }, 30000) &&
               PumpUntil([&] { return Dlg().HitWindowCount() == 0; }, 30000);
    }

    const std::string startUrl = pagetest::ClosedLoopbackUrl("/start");
    regtest::SavedKey proxy{HKEY_CURRENT_USER, kInternetSettings};
    fw::OleApartment ole;
    std::optional<browsertest::InProcessBrowser> browser;
    fw::EventSink watcher{DIID_DWebBrowserEvents2};
    std::vector<std::string> befores;
};

TEST_F(Dialogs, TheWindowCountTakesEveryTopLevelWindowWithABrowserCaption) {
    Start();
    const size_t before = static_cast<size_t>(Dlg().CountBrowserWindows());
    std::vector<HWND> windows;
    for (const std::string& caption : {std::string("Page - Vessa"), std::string("- Vessa"), std::string("Other"),
                                       std::string(300, 'x') + " - Vessa", std::string(240, 'x') + " - VESSA"})
        windows.push_back(::CreateWindowExA(0, "STATIC", caption.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                            nullptr, nullptr));
    EXPECT_EQ(static_cast<size_t>(Dlg().CountBrowserWindows()), before + 2)
        << "a caption is read to 255 characters: the long one's ending is cut off";
    for (HWND wnd : windows) ::DestroyWindow(wnd);
    EXPECT_EQ(static_cast<size_t>(Dlg().CountBrowserWindows()), before);
}

TEST_F(Dialogs, AHitAlreadySentIsNotSentAgain) {
    pagetest::LoopbackServer server("ok");
    ASSERT_TRUE(server.Listening());
    UseProxy(std::stoi(server.Url("").substr(17)));
    Start([](browsertest::InProcessBrowser&) { regtest::PutDword(HKEY_LOCAL_MACHINE, kAppSettings, "Access", 1); });
    for (int i = 0; i < 3; ++i) {
        Dlg().NavigateTo(server.Url("/go" + std::to_string(i)));
        EXPECT_TRUE(Dlg().IsHitDone());
        EXPECT_EQ(Dlg().HitWindowCount(), 0u);
    }
    ASSERT_TRUE(server.WaitForRequests(3, 20000)) << "the pages themselves";
    EXPECT_EQ(Hits(server), 0u);
}

TEST_F(Dialogs, TheHitIsOneHttp10RequestAndAccessRemembersIt) {
    pagetest::LoopbackServer server("ok");
    ASSERT_TRUE(server.Listening());
    UseProxy(std::stoi(server.Url("").substr(17)));
    Start();
    Dlg().NavigateTo(pagetest::ClosedLoopbackUrl("/first"));
    ASSERT_TRUE(PumpUntil([&] { return Hits(server) == 1; }, 30000));
    ASSERT_TRUE(HitOver());
    EXPECT_EQ(CRegSettings().GetHitSent(), 1u);
    EXPECT_TRUE(Dlg().IsHitPending()) << "done for this process";
    std::string head;
    for (const auto& request : server.Requests())
        if (request.line.find(kHitPath) != std::string::npos) head = request.head;
    // Through a proxy Wine names the port; the answer is never read.
    const std::string host = kHitHost;
    EXPECT_EQ(head, "GET http://" + host + ":80/nimbhits.shtml HTTP/1.0\r\nHost: " + host +
                        "\r\nUser-Agent: " + HitAgent(11, "2.0") + "\r\n\r\n");

    Dlg().NavigateTo(pagetest::ClosedLoopbackUrl("/second"));
    EXPECT_EQ(Dlg().HitWindowCount(), 0u);
    EXPECT_EQ(Hits(server), 1u);
}

TEST_F(Dialogs, AFailedHitLeavesNoWorkerAndTheNextNavigationTriesAgain) {
    const std::string closed = pagetest::ClosedLoopbackUrl("/");
    UseProxy(std::stoi(closed.substr(17)));
    Start();
    Dlg().NavigateTo(pagetest::ClosedLoopbackUrl("/one"));
    EXPECT_TRUE(Dlg().IsHitPending());
    ASSERT_TRUE(HitOver());
    EXPECT_FALSE(Dlg().IsHitPending());
    EXPECT_EQ(Dlg().HitWindowCount(), 0u) << "the worker ended and its window went";
    EXPECT_EQ(CRegSettings().GetHitSent(), 0u);

    pagetest::LoopbackServer server("ok");
    ASSERT_TRUE(server.Listening());
    UseProxy(std::stoi(server.Url("").substr(17)));
    Dlg().NavigateTo(pagetest::ClosedLoopbackUrl("/two"));
    ASSERT_TRUE(PumpUntil([&] { return Hits(server) == 1; }, 30000));
    ASSERT_TRUE(HitOver());
    EXPECT_EQ(CRegSettings().GetHitSent(), 1u);
}

TEST_F(Dialogs, OfflineTheHitWaitsForALaterNavigation) {
    pagetest::LoopbackServer server("ok");
    ASSERT_TRUE(server.Listening());
    UseProxy(std::stoi(server.Url("").substr(17)));
    Start();
    auto owned = std::make_unique<FakeConnectedState>(INTERNET_STATE_DISCONNECTED_BY_USER);
    FakeConnectedState& state = *owned;
    Dlg().Commands().Shell().UseConnectedState(std::move(owned));
    Dlg().NavigateTo(pagetest::ClosedLoopbackUrl("/offline"));
    EXPECT_FALSE(Dlg().IsHitPending());
    EXPECT_EQ(Dlg().HitWindowCount(), 0u);

    state.state_ = INTERNET_STATE_CONNECTED;
    Dlg().NavigateTo(pagetest::ClosedLoopbackUrl("/online"));
    ASSERT_TRUE(PumpUntil([&] { return Hits(server) == 1; }, 30000));
    ASSERT_TRUE(HitOver());
    EXPECT_EQ(CRegSettings().GetHitSent(), 1u);
}

TEST_F(Dialogs, AboutShowsTheVersionAndOkClosesIt) {
    Start();
    std::vector<std::string> texts;
    {
        DialogDriver driver("About Vessa", [&](HWND about) {
            texts = ChildTexts(about);
            ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(menuid::kAbout, 0), 0);
    }
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Version:  2.0"), texts.end());
    EXPECT_EQ(::FindWindowA("#32770", "About Vessa"), nullptr);
}

TEST_F(Dialogs, OpenListsTheTypedAddressesAndGoesStraightToTheAddress) {
    regtest::SavedKey typed(HKEY_CURRENT_USER, kTypedUrls);
    const std::string a = pagetest::ClosedLoopbackUrl("/zz"), b = pagetest::ClosedLoopbackUrl("/aa");
    Start([&](browsertest::InProcessBrowser&) { CRegSettings().SetTypedURLs({a, b}); });
    const std::string target = pagetest::ClosedLoopbackUrl("/opened");
    std::vector<std::string> listed;
    std::string prompt;
    {
        DialogDriver driver("Open", [&](HWND open) {
            HWND box = ::GetDlgItem(open, kOpenAddress);
            const LRESULT count = ::SendMessageA(box, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                char text[256] = {};
                ::SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
                listed.push_back(text);
            }
            prompt = TextOf(::GetDlgItem(open, kOpenPrompt));
            ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
            ::PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(menuid::kOpen, 0), 0);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{a, b})) << "in the list's order, not sorted";
    EXPECT_EQ(prompt, "Type the Internet address of a document or folder, and Vessa will open it for you");
    ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000));
    EXPECT_EQ(befores.back(), target);
    EXPECT_FALSE(Dlg().IsHitPending()) << "no usage hit";
    EXPECT_FALSE(Dlg().IsHistoryAddPending());

    befores.clear();
    {
        DialogDriver driver("Open", [&](HWND open) {
            ::SendMessageA(::GetDlgItem(open, kOpenAddress), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            ::PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(menuid::kOpen, 0), 0);
    }
    // A later address the same way: one the empty address had caused would come first.
    const std::string later = pagetest::ClosedLoopbackUrl("/later");
    {
        DialogDriver driver("Open", [&](HWND open) {
            ::SendMessageA(::GetDlgItem(open, kOpenAddress), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(later.c_str()));
            ::PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(menuid::kOpen, 0), 0);
    }
    ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000));
    EXPECT_EQ(befores, std::vector<std::string>{later}) << "an empty address goes nowhere";
}

}  // namespace
}  // namespace commandtest
