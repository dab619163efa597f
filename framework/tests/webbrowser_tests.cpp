// The system's WebBrowser control in our container, driven by dispatch id.
// Under Wine it has no HTML engine: it activates and fires BeforeNavigate2,
// DownloadBegin/Complete and NavigateError, which is what these tests use.
// Navigations go to a closed loopback port, so nothing leaves the machine
// and each one ends at once with NavigateError.
#include "fw/activex.h"
#include "fw/dispatch.h"
#include "fw/event_sink.h"

#include "ax_test_util.h"
#include "testsupport/loopback.h"

#include <winsock2.h>

#include <exdisp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DISPID kNavigate = 104, kNavigate2 = 500, kLocationUrl = 211, kOffline = 550;
constexpr DISPID kBeforeNavigate2 = 250, kDownloadBegin = 106, kNavigateError = 271;
constexpr DWORD kEventTimeoutMs = 10000;

using testsupport::ClosedLoopbackUrl;

struct Event {
    DISPID id;
    std::string url;
    bool operator==(const Event&) const = default;
};

class WebBrowserTest : public ::testing::Test {
protected:
    // One apartment for the rest of the program, as the browser has. With one
    // per test, the control's libraries are unloaded after each test; when
    // the last release of a navigation had run on the network thread, a later
    // navigation in this process never reported its end.
    static void SetUpTestSuite() {
        [[maybe_unused]] static const fw::OleApartment* const program = new fw::OleApartment;
    }

    void SetUp() override {
        ASSERT_TRUE(host.Open());
        ax.host().SetAmbientHandler([this](DISPID id, fw::Variant&) {
            ambientAsked.push_back(id);
            return false;
        });
        ASSERT_EQ(ax.Create(CLSID_WebBrowser, host.hwnd(), RECT{10, 10, 410, 310}, 1000), S_OK);
        sink.On(kBeforeNavigate2, [this](const fw::DispArgs& a) {
            events.push_back({kBeforeNavigate2, a.String(1)});
            cancelArgType = a.Raw(6) ? a.Raw(6)->vt : VARTYPE(VT_EMPTY);
            if (a.String(1) == cancelUrl) a.SetBool(6, true);
        });
        sink.On(kDownloadBegin, [this](const fw::DispArgs&) { events.push_back({kDownloadBegin, {}}); });
        sink.On(kNavigateError, [this](const fw::DispArgs& a) { events.push_back({kNavigateError, a.String(1)}); });
        ASSERT_EQ(sink.Connect(ax.host().Control().get()), S_OK);
        browser.Attach(ax.host().Dispatch());
        ASSERT_TRUE(browser);
    }

    bool Seen(const Event& e) const { return std::find(events.begin(), events.end(), e) != events.end(); }
    bool WaitFor(const Event& e) {
        return axtest::PumpUntil([&] { return Seen(e); }, kEventTimeoutMs);
    }
    std::string Location() const { return browser.Get(kLocationUrl).value.ToString(); }

    // Declared so that what the handlers touch outlives the control.
    fw::OleApartment ole;
    axtest::HostWindow host;
    std::vector<DISPID> ambientAsked;
    std::vector<Event> events;
    std::string cancelUrl;
    VARTYPE cancelArgType = VT_EMPTY;
    fw::AxWindow ax;
    fw::EventSink sink{DIID_DWebBrowserEvents2};
    fw::DispatchDriver browser;
};

TEST_F(WebBrowserTest, CreatesAndActivatesInPlaceInsideItsWindow) {
    EXPECT_TRUE(ax.host().IsInPlaceActive());
    EXPECT_EQ(::GetDlgItem(host.hwnd(), 1000), ax.hwnd());
    HWND control = ax.host().ControlWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(::GetParent(control), ax.hwnd());
    EXPECT_TRUE(::IsWindowVisible(control));
    const RECT rc = axtest::RectInParent(control);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(rc.bottom - rc.top, 300);
    EXPECT_TRUE(ax.host().ControlAs<IWebBrowser2>());
    EXPECT_FALSE(ambientAsked.empty()) << "the control consults the site's ambient properties";
}

TEST_F(WebBrowserTest, ResizingTheHolderOrTheSiteMovesTheControl) {
    HWND control = ax.host().ControlWindow();
    ::MoveWindow(ax.hwnd(), 0, 0, 300, 200, TRUE);
    RECT rc = axtest::RectInParent(control);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 200);
    ASSERT_EQ(ax.host().SetRect(RECT{7, 8, 107, 58}), S_OK);
    rc = axtest::RectInParent(control);
    EXPECT_EQ(rc.left, 7);
    EXPECT_EQ(rc.top, 8);
    EXPECT_EQ(rc.right, 107);
    EXPECT_EQ(rc.bottom, 58);
}

TEST_F(WebBrowserTest, NavigateByDispatchIdFiresBeforeNavigate2WithTheAddress) {
    const std::string a = ClosedLoopbackUrl("/first"), b = ClosedLoopbackUrl("/second");
    ASSERT_EQ(browser.Call(kNavigate, {a}).hr, S_OK);
    ASSERT_TRUE(WaitFor({kNavigateError, a}));
    EXPECT_EQ(events.front(), (Event{kBeforeNavigate2, a}));
    EXPECT_EQ(cancelArgType, VT_BYREF | VT_BOOL) << "Cancel arrives as a VARIANT_BOOL reference";
    EXPECT_EQ(Location(), a);

    // Navigate2 takes its address as a variant.
    ASSERT_EQ(browser.Call(kNavigate2, {fw::Variant(b)}).hr, S_OK);
    ASSERT_TRUE(WaitFor({kNavigateError, b}));
    EXPECT_TRUE(Seen({kBeforeNavigate2, b}));
}

TEST_F(WebBrowserTest, CancelInBeforeNavigate2StopsTheNavigation) {
    const std::string before = ClosedLoopbackUrl("/before"), blocked = ClosedLoopbackUrl("/blocked"),
                      after = ClosedLoopbackUrl("/after");
    cancelUrl = blocked;
    ASSERT_EQ(browser.Call(kNavigate, {before}).hr, S_OK);
    ASSERT_TRUE(WaitFor({kNavigateError, before}));

    events.clear();
    browser.Call(kNavigate, {blocked});
    ASSERT_TRUE(axtest::PumpUntil([&] { return Seen({kBeforeNavigate2, blocked}); }, kEventTimeoutMs));
    EXPECT_EQ(Location(), before) << "a cancelled navigation leaves the page where it was";
    // A later navigation runs to its end; nothing of the blocked one came before it.
    ASSERT_EQ(browser.Call(kNavigate, {after}).hr, S_OK);
    ASSERT_TRUE(WaitFor({kNavigateError, after}));
    EXPECT_EQ(events.front(), (Event{kBeforeNavigate2, blocked}));
    EXPECT_EQ(events[1], (Event{kBeforeNavigate2, after})) << "no download began for the blocked address";
    EXPECT_FALSE(Seen({kNavigateError, blocked}));
}

TEST_F(WebBrowserTest, PropertyPutAndGetByDispatchId) {
    for (bool offline : {true, false, true}) {
        ASSERT_EQ(browser.Put(kOffline, offline), S_OK);
        const fw::DispResult got = browser.Get(kOffline);
        ASSERT_TRUE(got);
        EXPECT_EQ(got.value.vt(), VT_BOOL);
        EXPECT_EQ(got.value.ToBool(), offline);
    }
}

TEST_F(WebBrowserTest, ADisconnectedSinkHearsNothing) {
    fw::EventSink other(DIID_DWebBrowserEvents2);
    std::vector<std::string> heard;
    other.On(kNavigateError, [&](const fw::DispArgs& a) { heard.push_back(a.String(1)); });
    ASSERT_EQ(other.Connect(ax.host().Control().get()), S_OK);
    sink.Disconnect();
    EXPECT_FALSE(sink.connected());

    const std::string url = ClosedLoopbackUrl("/quiet");
    ASSERT_EQ(browser.Call(kNavigate, {url}).hr, S_OK);
    ASSERT_TRUE(axtest::PumpUntil([&] { return !heard.empty(); }, kEventTimeoutMs));
    EXPECT_EQ(heard.front(), url);
    EXPECT_TRUE(events.empty());
}

TEST_F(WebBrowserTest, TeardownReleasesTheControlAndItsWindow) {
    fw::ComPtr<IUnknown> control = ax.host().Control();
    fw::ComPtr<IDispatch> site = ax.host().AmbientDispatch();
    HWND controlWnd = ax.host().ControlWindow();
    HWND holder = ax.hwnd();

    // As when a dialog closes: its window goes first, the members holding
    // the event connection and the dispatch pointer later.
    ASSERT_TRUE(host.Destroy());
    EXPECT_FALSE(::IsWindow(controlWnd));
    EXPECT_FALSE(::IsWindow(holder));
    EXPECT_FALSE(ax.host().IsCreated());
    EXPECT_EQ(axtest::RefCount(site.get()), 2u) << "only the host and this test hold the site";
    sink.Disconnect();
    browser.Release();
    ASSERT_TRUE(axtest::PumpPosted()) << "what the control's teardown left queued";
    EXPECT_EQ(control.release()->Release(), 0u) << "the last reference to the control was this test's";
}

TEST(WebBrowserInParent, HostedDirectlyInADialogWindowThatGoesFirst) {
    fw::OleApartment ole;
    axtest::HostWindow host;
    ASSERT_TRUE(host.Open());
    fw::AxHost ax;
    ASSERT_EQ(ax.Create(CLSID_WebBrowser, host.hwnd(), RECT{0, 0, 200, 100}), S_OK);
    HWND controlWnd = ax.ControlWindow();
    EXPECT_EQ(::GetParent(controlWnd), host.hwnd());
    fw::ComPtr<IUnknown> control = ax.Control();
    ASSERT_TRUE(host.Destroy());
    EXPECT_FALSE(::IsWindow(controlWnd));
    ax.Destroy();
    ASSERT_TRUE(axtest::PumpPosted()) << "what the control's teardown left queued";
    EXPECT_EQ(control.release()->Release(), 0u);
}

}  // namespace
