// Windows that pages open: NewWindow2 gives the control a hidden popup
// window whose web navigations start new browser processes.
#include "page_fixture.h"

#include "StringUtil.h"

#include "fw/dispatch.h"

#include "testsupport/temp_program_folder.h"

#include <sstream>

namespace pagetest {
namespace {

// The arguments of each browser the popup started (the stand-in browser's log).
std::vector<std::string> Launches(const testsupport::TempProgramFolder& dir) {
    std::vector<std::string> arguments;
    if (!dir.Exists("launches.log")) return arguments;
    std::istringstream lines(dir.ReadFile("launches.log"));
    std::string line;
    while (std::getline(lines, line)) {
        const size_t first = line.find('|');
        if (first == std::string::npos) continue;
        arguments.push_back(line.substr(first + 1, line.find('|', first + 1) - first - 1));
    }
    return arguments;
}

class Popups : public PageTest {
protected:
    // A NewWindow2 as the control sends it; the window handed back, owned by the caller.
    fw::ComPtr<IDispatch> OpenWindow(VARIANT_BOOL* cancelOut = nullptr) {
        IDispatch* window = nullptr;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EXPECT_EQ(SendNewWindow2(Sink(), &window, &cancel), S_OK);
        if (cancelOut) *cancelOut = cancel;
        return fw::ComPtr<IDispatch>::Attach(window);
    }
};

TEST_F(Popups, NewWindowGoesToAHiddenPopupWhoseControlTakesThePage) {
    Start();
    VARIANT_BOOL cancel = VARIANT_TRUE;
    fw::ComPtr<IDispatch> window = OpenWindow(&cancel);
    EXPECT_EQ(cancel, VARIANT_FALSE) << "the control goes on and opens the page in the window handed back";
    ASSERT_TRUE(window);
    CPopupBrowserDlg* popup = Dlg().Popup();
    ASSERT_NE(popup, nullptr);
    HWND wnd = popup->hwnd();
    EXPECT_FALSE(::GetWindowLongPtrA(wnd, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(::GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(::GetWindow(wnd, GW_OWNER), nullptr) << "made without a parent";
    EXPECT_TRUE(fw::SameObject(window.get(), popup->Browser().host().Control().get()))
        << "the popup's control is the new window";

    // The window handed back is usable: a page goes there, not into the main window.
    const std::string page = ClosedLoopbackUrl("/opened");
    EXPECT_EQ(fw::DispatchDriver(window).Call(CWebBrowser2::kNavigate, {page}).hr, S_OK);
    ASSERT_TRUE(PumpUntil([&] { return popup->Browser().GetLocationURL() == page; }, 10000));
    EXPECT_EQ(Control().GetLocationURL(), startUrl);
    PumpFor(100);
    EXPECT_FALSE(::GetWindowLongPtrA(wnd, GWL_STYLE) & WS_VISIBLE) << "the popup is never shown";
}

TEST_F(Popups, ExactlyOneReferenceIsHandedOverAndTheClosedPopupLetsGo) {
    Start();
    fw::ComPtr<IDispatch> window = OpenWindow();
    ASSERT_TRUE(window);
    CPopupBrowserDlg* popup = Dlg().Popup();
    ASSERT_NE(popup, nullptr);
    HWND wnd = popup->hwnd();

    IDispatch* raw = window.release();  // the one reference the control got
    raw->AddRef();                      // and one to look at it after the close
    ::SendMessageA(wnd, WM_CLOSE, 0, 0);
    PumpFor(100);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(Dlg().Popup(), nullptr);
    EXPECT_EQ(Dlg().Popups().OpenCount(), 0u);
    const ULONG left = raw->Release();
    EXPECT_EQ(left, 1u) << "the popup kept or handed out a reference too many";
    if (left == 1) {
        EXPECT_EQ(raw->Release(), 0u) << "the handed reference is the control's last";
    }
}

TEST_F(Popups, WebNavigationsOfThePopupStartNewBrowsers) {
    Start();
    const testsupport::TempProgramFolder& dir = browser->dir;
    dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
    dir.WriteFile("behaviour.txt", "silent");
    fw::ComPtr<IDispatch> window = OpenWindow();
    CPopupBrowserDlg* popup = Dlg().Popup();
    ASSERT_NE(popup, nullptr);
    fw::DispatchDriver driver(window);

    // Real navigations of the popup's control, each ending at once.
    const std::string http = ClosedLoopbackUrl("/a?b=c");
    std::string https = ClosedLoopbackUrl("/secure");
    https.replace(0, 4, "HTTPS");
    for (const std::string& address : {std::string("about:blank"), http, https}) {
        ASSERT_EQ(driver.Call(CWebBrowser2::kNavigate, {address}).hr, S_OK);
        PumpUntil([&] { return EqualsNoCase(popup->Browser().GetLocationURL(), address); }, 3000);
    }
    ASSERT_TRUE(PumpUntil([&] { return Launches(dir).size() >= 2; }, 10000));
    PumpFor(300);
    std::vector<std::string> launched = Launches(dir);
    ASSERT_EQ(launched.size(), 2u) << "about:blank starts nothing";
    // The two browsers log in the order they run, not the order they were started.
    if (!EqualsNoCase(launched[1], https)) std::swap(launched[0], launched[1]);
    EXPECT_EQ(launched[0], http);
    EXPECT_TRUE(EqualsNoCase(launched[1], https)) << launched[1];
    EXPECT_EQ(Control().GetLocationURL(), startUrl);
}

TEST_F(Popups, ThePageClosingItsWindowClosesThePopup) {
    Start();
    fw::ComPtr<IDispatch> window = OpenWindow();
    CPopupBrowserDlg* popup = Dlg().Popup();
    ASSERT_NE(popup, nullptr);
    HWND wnd = popup->hwnd();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    ASSERT_EQ(SendWindowClosing(popup->Events(), false, &cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    EXPECT_TRUE(::IsWindow(wnd)) << "not from inside the control's own event";
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(wnd); }, 5000));
    EXPECT_EQ(Dlg().Popup(), nullptr);
}

TEST_F(Popups, EachNewWindowGetsItsOwnPopupAndAllCloseWithTheMainWindow) {
    Start();
    fw::ComPtr<IDispatch> first = OpenWindow();
    CPopupBrowserDlg* one = Dlg().Popup();
    fw::ComPtr<IDispatch> second = OpenWindow();
    CPopupBrowserDlg* two = Dlg().Popup();
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_NE(one, two);
    EXPECT_FALSE(fw::SameObject(first.get(), second.get()));
    EXPECT_EQ(Dlg().Popups().OpenCount(), 2u);

    // Closing the older one leaves the last one as the window's popup.
    HWND older = one->hwnd();
    ::DestroyWindow(older);
    EXPECT_EQ(Dlg().Popup(), two);
    EXPECT_EQ(Dlg().Popups().OpenCount(), 1u);

    HWND last = two->hwnd();
    watcher.Disconnect();
    browser->dlg.reset();
    EXPECT_FALSE(::IsWindow(last)) << "the main window takes its popups with it";
    PumpFor(100);
    first.reset();
    second.reset();
}

}  // namespace
}  // namespace pagetest
