// The WebBrowser control in the main window: its place, its start
// navigations, the user agent it is given, the typed-address history kept at
// download starts, and the shape of the events the tests send.
#include "page_fixture.h"

#include "WindowsVersion.h"

#include "testsupport/reg_test_util.h"

#include <olectl.h>

namespace pagetest {
namespace {

constexpr DISPID kAmbientUserAgent = -5513;
constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

using PageHost = PageTest;

TEST_F(PageHost, ControlTakesThePlaceOfControl1000AndMovesWithTheLayout) {
    Start();
    HWND holder = Dlg().Item(IDC_EXPLORER);
    ASSERT_EQ(holder, Control().hwnd()) << "the placeholder is gone";
    EXPECT_TRUE(Control().host().IsInPlaceActive());
    EXPECT_TRUE(::GetWindowLongPtrA(holder, GWL_STYLE) & WS_TABSTOP);
    HWND page = Control().host().ControlWindow();
    ASSERT_NE(page, nullptr);

    for (SIZE size : {SIZE{1000, 700}, SIZE{700, 520}}) {
        Dlg().ApplyProportionalLayout(size.cx, size.cy);
        const RECT placed = browsertest::ClientRectIn(Dlg().hwnd(), holder);
        EXPECT_EQ(placed.left, Dlg().ViewerRect().left) << size.cx;
        RECT inside{};
        ::GetClientRect(holder, &inside);
        const RECT shown = fw::ScreenRectOf(page);
        EXPECT_EQ(shown.right - shown.left, inside.right) << "the control fills its place at " << size.cx;
        EXPECT_EQ(shown.bottom - shown.top, inside.bottom) << size.cx;
    }
}

TEST_F(PageHost, StartsAtTheStartAddress) {
    Start();
    EXPECT_EQ(Control().GetLocationURL(), startUrl);
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), startUrl);
}

TEST_F(PageHost, StartAddressOfOnlyTheSchemeShowsABlankPage) {
    Start("http://", "about:blank");
    EXPECT_EQ(Control().GetLocationURL(), "about:blank");
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), "http://");
}

TEST_F(PageHost, UserAgentIsAFreshStringAtEveryRequest) {
    Start();
    int code = 0;
    std::string windows;
    ASSERT_EQ(GetWindowsVersion(&code, &windows), 1);
    EXPECT_EQ(CNimbBrowserDlg::UserAgentText(), "Mozilla/4.0 (compatible; Vessa 2.0; " + windows + "; Vessa)");
    EXPECT_EQ(CNimbBrowserDlg::UserAgentText(), "Mozilla/4.0 (compatible; Vessa 2.0; Windows NT 6.1; Vessa)")
        << "Wine reports Windows NT 6.1";

    // Asked the way the control asks its site.
    fw::ComPtr<IDispatch> site = Control().host().AmbientDispatch();
    ASSERT_TRUE(site);
    auto ask = [&](DISPID id, VARIANT* out) {
        DISPPARAMS none{};
        ::VariantInit(out);
        return site->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, out, nullptr, nullptr);
    };
    const std::wstring expected = fw::ToWide(CNimbBrowserDlg::UserAgentText());
    VARIANT answers[3];
    for (VARIANT& answer : answers) {
        ASSERT_EQ(ask(kAmbientUserAgent, &answer), S_OK);
        ASSERT_EQ(answer.vt, VT_BSTR);
        EXPECT_EQ(std::wstring(answer.bstrVal, ::SysStringLen(answer.bstrVal)), expected);
    }
    EXPECT_NE(answers[0].bstrVal, answers[1].bstrVal);
    EXPECT_NE(answers[1].bstrVal, answers[2].bstrVal);
    // The receiver frees what it gets; the window's later answers stay whole.
    for (VARIANT& answer : answers) EXPECT_EQ(::VariantClear(&answer), S_OK);
    VARIANT again;
    ASSERT_EQ(ask(kAmbientUserAgent, &again), S_OK);
    EXPECT_EQ(std::wstring(again.bstrVal, ::SysStringLen(again.bstrVal)), expected);
    ::VariantClear(&again);

    // Other ambient properties keep the container's own answers.
    VARIANT userMode;
    ASSERT_EQ(ask(DISPID_AMBIENT_USERMODE, &userMode), S_OK);
    EXPECT_EQ(userMode.vt, VT_BOOL);
    EXPECT_EQ(userMode.boolVal, VARIANT_TRUE);
}

// The typed-address history gets the address at the first download start
// after a navigation asked for it.
TEST_F(PageHost, PendingHistoryAddPutsTheAddressAtTheHead) {
    Start();
    regtest::SavedKey saved(HKEY_CURRENT_USER, kTypedUrls);
    auto numbered = [](int from, int count) {
        std::vector<std::string> list;
        for (int i = 0; i < count; ++i) list.push_back("http://site" + std::to_string(from + i) + ".example");
        return list;
    };
    auto with = [](std::string head, std::vector<std::string> rest) {
        rest.insert(rest.begin(), std::move(head));
        return rest;
    };
    struct Case {
        const char* name;
        std::vector<std::string> before;
        std::string address;
        std::vector<std::string> after;
    } const cases[] = {
        {"no history yet", {}, "http://news.example/", {"http://news.example"}},
        {"new address",
         {"http://a.example", "http://b.example"},
         "http://news.example",
         {"http://news.example", "http://a.example", "http://b.example"}},
        {"moved up",
         {"http://a.example", "http://news.example", "http://b.example"},
         "http://news.example/",
         {"http://news.example", "http://a.example", "http://b.example"}},
        {"with a slash in the list",
         {"http://a.example", "http://news.example/"},
         "http://news.example",
         {"http://news.example", "http://a.example"}},
        {"full list", numbered(1, 25), "http://news.example", with("http://news.example", numbered(1, 24))},
        {"longer than full", numbered(1, 27), "http://news.example", with("http://news.example", numbered(1, 26))},
    };
    for (const Case& c : cases) {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
        if (!c.before.empty()) {
            ASSERT_EQ(CRegSettings().SetTypedURLs(c.before), 0) << c.name;
        }
        // As after the user typed the address and went there.
        Dlg().SetAddressUnedited(false);
        Dlg().SetItemText(IDC_ADDRESS, c.address);
        SendTitleChange(Sink(), "Page");
        ASSERT_EQ(Dlg().AddressText(), c.address);
        Dlg().SetHistoryAddPending(true);

        ASSERT_EQ(SendDownloadBegin(Sink()), S_OK);
        EXPECT_FALSE(Dlg().IsHistoryAddPending()) << c.name;
        std::vector<std::string> stored;
        CRegSettings().GetTypedURLs(&stored);
        EXPECT_EQ(stored, c.after) << c.name;

        // Only once per request.
        Dlg().SetItemText(IDC_ADDRESS, "http://other.example");
        SendTitleChange(Sink(), "Page");
        SendDownloadBegin(Sink());
        std::vector<std::string> unchanged;
        CRegSettings().GetTypedURLs(&unchanged);
        EXPECT_EQ(unchanged, c.after) << c.name;
        SendDownloadComplete(Sink());
    }
}

// The events the tests build have the shape of the real control's.
TEST_F(PageHost, HandBuiltEventsHaveTheShapeOfTheControlsOwn) {
    Start();
    using Shape = std::vector<std::pair<VARTYPE, VARTYPE>>;  // each argument's type, and the referenced one
    auto shapeOf = [](const fw::DispArgs& a) {
        Shape shape;
        for (UINT i = 0; i < a.Count(); ++i) {
            const VARIANT* v = a.Raw(i);
            shape.emplace_back(v->vt, v->vt == (VT_BYREF | VT_VARIANT) ? v->pvarVal->vt : VARTYPE(VT_EMPTY));
        }
        return shape;
    };
    const DISPID ids[] = {kBeforeNavigate2, kCommandStateChange, kStatusTextChange, kDownloadBegin, kDownloadComplete};
    std::map<DISPID, Shape> real, built;
    for (DISPID id : ids)
        watcher.On(id, [&, id](const fw::DispArgs& a) {
            if (!real.count(id)) real[id] = shapeOf(a);
        });
    NavigateAndWait(ClosedLoopbackUrl("/shape"));

    fw::EventSink recorder(DIID_DWebBrowserEvents2);
    for (DISPID id : ids) recorder.On(id, [&, id](const fw::DispArgs& a) { built[id] = shapeOf(a); });
    VARIANT_BOOL cancel = VARIANT_FALSE;
    fw::ComPtr<IDispatch> control = Control().host().Dispatch();
    SendBeforeNavigate2(recorder.dispatch(), control.get(), "http://a.example/", "", &cancel);
    SendCommandStateChange(recorder.dispatch(), 2, false);
    SendStatusTextChange(recorder.dispatch(), "text");
    SendDownloadBegin(recorder.dispatch());
    SendDownloadComplete(recorder.dispatch());
    for (DISPID id : ids) {
        ASSERT_TRUE(real.count(id)) << "the control sent no event " << id;
        EXPECT_EQ(built[id], real[id]) << "event " << id;
    }
}

TEST_F(PageHost, KeysOutsideThePageStayWithTheWindow) {
    Start();
    MSG msg{Dlg().Item(IDC_ADDRESS), WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_FALSE(browser->app->ProcessMessageFilter(msg));
    msg.message = WM_CHAR;
    EXPECT_FALSE(browser->app->ProcessMessageFilter(msg));
}

}  // namespace
}  // namespace pagetest
