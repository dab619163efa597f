// CWebBrowser2 on its own: the control made by class id in a window of
// ours, each method reaching the control's member of the same name.
#include "WebBrowser2.h"

#include "page_test_util.h"

#include "fw/dispatch.h"
#include "fw/event_sink.h"
#include "fw/window.h"

#include "testsupport/reg_test_util.h"

#include <exdisp.h>
#include <gtest/gtest.h>

namespace pagetest {
namespace {

class HostWindow : public fw::Window {
public:
    bool Open() {
        if (!RegisterClass("pagetestHost", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) return false;
        if (!Create("pagetestHost", "host", WS_POPUP | WS_CLIPCHILDREN, 0, 20, 20, 640, 480, nullptr)) return false;
        ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
        return true;
    }
};

ULONG RefCount(IUnknown* unk) {
    unk->AddRef();
    return unk->Release();
}

class WebBrowser2Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ole);
        ASSERT_TRUE(host.Open());
        ASSERT_EQ(browser.Create(host.hwnd(), RECT{10, 10, 410, 310}, 1000), S_OK);
        events.On(kNavigateError, [this](const fw::DispArgs& a) { ends.push_back(a.String(1)); });
        ASSERT_EQ(events.Connect(browser.host().Control().get()), S_OK);
    }
    bool WaitForEnd(const std::string& address) {
        return PumpUntil([&] { return std::find(ends.begin(), ends.end(), address) != ends.end(); }, 10000);
    }
    fw::DispatchDriver Driver() { return fw::DispatchDriver(browser.host().Dispatch()); }

    fw::OleApartment ole;
    HostWindow host;
    std::vector<std::string> ends;
    CWebBrowser2 browser;
    fw::EventSink events{DIID_DWebBrowserEvents2};
};

TEST_F(WebBrowser2Test, CreatedByClassIdInItsRectangle) {
    EXPECT_TRUE(browser.host().IsInPlaceActive());
    EXPECT_EQ(::GetDlgItem(host.hwnd(), 1000), browser.hwnd());
    EXPECT_TRUE(browser.host().ControlAs<IWebBrowser2>());
    RECT rc{};
    ::GetClientRect(browser.hwnd(), &rc);
    EXPECT_EQ(rc.right, 400);
    EXPECT_EQ(rc.bottom, 300);
    CLSID clsid{};
    ASSERT_EQ(::CLSIDFromString(L"{8856F961-340A-11D0-A96B-00C04FD705A2}", &clsid), S_OK);
    EXPECT_TRUE(::IsEqualCLSID(CWebBrowser2::kClassId, clsid));
}

// The ids the wrapper calls are those the control publishes for the names.
TEST_F(WebBrowser2Test, DispatchIdsAreTheControlsOwn) {
    const struct {
        const wchar_t* name;
        DISPID id;
    } members[] = {
        {L"GoBack", CWebBrowser2::kGoBack},
        {L"GoForward", CWebBrowser2::kGoForward},
        {L"GoHome", CWebBrowser2::kGoHome},
        {L"Navigate", CWebBrowser2::kNavigate},
        {L"Refresh", CWebBrowser2::kRefresh},
        {L"Stop", CWebBrowser2::kStop},
        {L"Application", CWebBrowser2::kApplication},
        {L"Document", CWebBrowser2::kDocument},
        {L"LocationName", CWebBrowser2::kLocationName},
        {L"LocationURL", CWebBrowser2::kLocationURL},
        {L"ExecWB", CWebBrowser2::kExecWB},
        {L"Offline", CWebBrowser2::kOffline},
    };
    for (const auto& m : members) EXPECT_EQ(Driver().IdOf(m.name), m.id) << fw::ToAnsi(m.name);
}

TEST_F(WebBrowser2Test, NavigateGoesToTheAddressAndLocationReportsIt) {
    const std::string first = ClosedLoopbackUrl("/first"), second = ClosedLoopbackUrl("/second?x=1");
    ASSERT_EQ(browser.Navigate(first), S_OK);
    ASSERT_TRUE(WaitForEnd(first));
    EXPECT_EQ(browser.GetLocationURL(), first);
    ASSERT_EQ(browser.Navigate(second), S_OK);
    ASSERT_TRUE(WaitForEnd(second));
    EXPECT_EQ(browser.GetLocationURL(), second);
    EXPECT_EQ(browser.GetLocationName(), "") << "Wine's control has no document to name";
    EXPECT_FALSE(browser.GetDocument());
    EXPECT_EQ(browser.Stop(), S_OK);
}

TEST_F(WebBrowser2Test, GoHomeGoesToTheStartPage) {
    regtest::SavedKey saved(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main");
    const std::string home = ClosedLoopbackUrl("/home");
    regtest::PutString(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page", home);
    ASSERT_EQ(browser.GoHome(), S_OK);
    ASSERT_TRUE(WaitForEnd(home));
    EXPECT_EQ(browser.GetLocationURL(), home);
}

// Wine's control keeps no history of pages it could not show and has no
// document: the calls reach the member and are refused by it, not by
// automation (a wrong id or argument list would give DISP_E_*).
TEST_F(WebBrowser2Test, CallsWithoutHistoryOrDocumentAreRefusedByTheControl) {
    const std::string page = ClosedLoopbackUrl("/only");
    browser.Navigate(page);
    ASSERT_TRUE(WaitForEnd(page));
    for (HRESULT hr : {browser.GoBack(), browser.GoForward(), browser.Refresh()}) EXPECT_EQ(hr, E_FAIL);
    fw::Variant zoom(2), out;
    for (HRESULT hr : {browser.ExecWB(19, 2, zoom.get(), nullptr), browser.ExecWB(19, 0, nullptr, out.put()),
                       browser.ExecWB(6, 0, nullptr, nullptr)})
        EXPECT_EQ(hr, E_UNEXPECTED);
    EXPECT_EQ(browser.GetLocationURL(), page);
}

TEST_F(WebBrowser2Test, OfflineReadsTheControlsProperty) {
    for (bool offline : {true, false, true, false}) {
        ASSERT_EQ(Driver().Put(CWebBrowser2::kOffline, offline), S_OK);
        EXPECT_EQ(browser.GetOffline(), offline);
    }
}

TEST_F(WebBrowser2Test, ApplicationIsTheControlWithOneNewReference) {
    fw::ComPtr<IUnknown> control = browser.host().Control();
    const ULONG before = RefCount(control.get());
    fw::ComPtr<IDispatch> application = browser.GetApplication();
    ASSERT_TRUE(application);
    EXPECT_TRUE(fw::SameObject(application.get(), control.get()));
    EXPECT_EQ(RefCount(control.get()), before + 1);
    application.reset();
    EXPECT_EQ(RefCount(control.get()), before);
}

TEST(WebBrowser2WithoutControl, EveryCallFailsQuietly) {
    CWebBrowser2 browser;  // never created
    EXPECT_HRESULT_FAILED(browser.Navigate("about:blank"));
    EXPECT_HRESULT_FAILED(browser.GoBack());
    EXPECT_HRESULT_FAILED(browser.Stop());
    EXPECT_HRESULT_FAILED(browser.ExecWB(6, 0, nullptr, nullptr));
    EXPECT_FALSE(browser.GetApplication());
    EXPECT_EQ(browser.GetLocationURL(), "");
    EXPECT_FALSE(browser.GetOffline());
}

}  // namespace
}  // namespace pagetest
