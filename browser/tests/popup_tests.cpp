// Windows that pages open: NewWindow2 gives the control a hidden popup
// window whose first web navigation of its own starts a new browser process
// and closes it.
#include "page_fixture.h"

#include "StringUtil.h"

#include "fw/dispatch.h"

#include "testsupport/running_program.h"
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

// Every browser this process started has ended, so each has logged its start.
bool WaitForStartedBrowsers() {
    return testsupport::WaitForStartedProgramsEnded("Vessa.exe");
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

    struct OpenedPopup {
        fw::ComPtr<IDispatch> window;  // the reference handed to the control
        CPopupBrowserDlg* dlg = nullptr;
        HWND wnd = nullptr;
    };
    // Started with the stand-in browser as the program folder's Vessa.exe
    // (it logs each start and shows nothing), then a popup opened.
    OpenedPopup StartBesideStandInAndOpen() {
        Start();
        browser->dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
        browser->dir.WriteFile("behaviour.txt", "silent");
        OpenedPopup opened;
        opened.window = OpenWindow();
        opened.dlg = Dlg().Popup();
        if (opened.dlg) opened.wnd = opened.dlg->hwnd();
        return opened;
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

    // The window handed back is usable: a page that is no web page (those
    // go to browsers of their own) loads there, not into the main window.
    const std::string page = "about:blank";
    EXPECT_EQ(fw::DispatchDriver(window).Call(CWebBrowser2::kNavigate, {page}).hr, S_OK);
    ASSERT_TRUE(PumpUntil([&] { return popup->Browser().GetLocationURL() == page; }, 10000));
    EXPECT_TRUE(::IsWindow(wnd));
    EXPECT_EQ(Control().GetLocationURL(), startUrl);
    // A later page of the same control: once it shows, whatever the first still had to send has come.
    const std::string later = "about:later";
    EXPECT_EQ(fw::DispatchDriver(window).Call(CWebBrowser2::kNavigate, {later}).hr, S_OK);
    ASSERT_TRUE(PumpUntil([&] { return popup->Browser().GetLocationURL() == later; }, 10000))
        << popup->Browser().GetLocationURL();
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
    // The dialog manager posts the close on as a Cancel press.
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(wnd); }, 10000)) << "the popup closes";
    EXPECT_EQ(Dlg().Popup(), nullptr);
    EXPECT_EQ(Dlg().Popups().OpenCount(), 0u);
    const ULONG left = raw->Release();
    EXPECT_EQ(left, 1u) << "the popup kept or handed out a reference too many";
    if (left == 1) {
        EXPECT_EQ(raw->Release(), 0u) << "the handed reference is the control's last";
    }
}

TEST_F(Popups, TheFirstWebNavigationOfThePopupStartsANewBrowserAndClosesIt) {
    const OpenedPopup opened = StartBesideStandInAndOpen();
    CPopupBrowserDlg* popup = opened.dlg;
    ASSERT_NE(popup, nullptr);
    HWND wnd = opened.wnd;
    const testsupport::TempProgramFolder& dir = browser->dir;
    fw::DispatchDriver driver(opened.window);

    // Real navigations of the popup's control: about:blank only loads there.
    ASSERT_EQ(driver.Call(CWebBrowser2::kNavigate, {std::string("about:blank")}).hr, S_OK);
    PumpUntil([&] { return popup->Browser().GetLocationURL() == "about:blank"; }, 3000);
    EXPECT_TRUE(::IsWindow(wnd));
    std::string https = ClosedLoopbackUrl("/secure");
    https.replace(0, 4, "HTTPS");
    ASSERT_EQ(driver.Call(CWebBrowser2::kNavigate, {https}).hr, S_OK);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(wnd); }, 10000)) << "the popup closes once it handed its page over";
    EXPECT_EQ(Dlg().Popup(), nullptr);
    ASSERT_TRUE(WaitForStartedBrowsers());
    const std::vector<std::string> launched = Launches(dir);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_TRUE(EqualsNoCase(launched[0], https)) << launched[0];
    EXPECT_EQ(Control().GetLocationURL(), startUrl);
}

// The control's events fed to the popup's sink: Wine's control sends no
// frame navigations and no second top-level one.
TEST_F(Popups, OnlyThePopupsOwnTopLevelWebNavigationActsAndOnlyOnce) {
    const OpenedPopup opened = StartBesideStandInAndOpen();
    CPopupBrowserDlg* popup = opened.dlg;
    ASSERT_NE(popup, nullptr);
    HWND wnd = opened.wnd;
    const testsupport::TempProgramFolder& dir = browser->dir;
    const fw::ComPtr<IDispatch> own = popup->Browser().host().Dispatch();
    // Another browser object stands for a frame inside the popup's page.
    const fw::ComPtr<IDispatch> frame = Control().host().Dispatch();
    const std::string first = ClosedLoopbackUrl("/first");
    const std::string second = ClosedLoopbackUrl("/second");

    struct Case {
        IDispatch* browser;
        std::string address;
        bool cancelled;
    };
    const Case cases[] = {
        {frame.get(), ClosedLoopbackUrl("/frame"), false},  // a frame's navigation loads in its frame
        {own.get(), "about:blank", false},                  // not a web address: it only loads here
        {own.get(), first, true},                           // handed over: the popup does not load it
        {own.get(), second, false},                         // the popup is done: nothing more starts
    };
    for (const Case& c : cases) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        ASSERT_EQ(SendBeforeNavigate2(popup->Events(), c.browser, c.address, "", &cancel), S_OK);
        EXPECT_EQ(cancel != VARIANT_FALSE, c.cancelled) << c.address;
        EXPECT_TRUE(::IsWindow(wnd)) << "not from inside the control's own event";
    }
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(wnd); }, 5000));
    EXPECT_EQ(Dlg().Popup(), nullptr);
    ASSERT_TRUE(WaitForStartedBrowsers());
    EXPECT_EQ(Launches(dir), std::vector<std::string>{first});
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
    ASSERT_TRUE(PumpPosted()) << "what the controls' teardown left queued";
    first.reset();
    second.reset();
}

}  // namespace
}  // namespace pagetest
