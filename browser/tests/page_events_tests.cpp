// The main window's handlers of the WebBrowser control's events, in the real
// window with the real control. Events Wine's control never sends (title,
// secure lock, new window) are sent to the window's sink as the control
// would send them.
#include "page_fixture.h"

#include "fw/dispatch.h"

#include <commctrl.h>

namespace pagetest {
namespace {

LRESULT CALLBACK RecordTexts(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR texts) {
    if (msg == WM_SETTEXT)
        reinterpret_cast<std::vector<std::string>*>(texts)->push_back(reinterpret_cast<const char*>(lParam));
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

std::string Caption(HWND wnd) {
    char text[512] = {};
    ::GetWindowTextA(wnd, text, sizeof(text));
    return text;
}

using PageEvents = PageTest;

TEST_F(PageEvents, TitleMakesTheCaptionAndTheTitleText) {
    Start();
    ASSERT_EQ(SendTitleChange(Sink(), "News"), S_OK);
    EXPECT_EQ(Caption(Dlg().hwnd()), "News - Vessa");
    EXPECT_EQ(Dlg().ItemText(IDC_TITLE), "News - Vessa");
    EXPECT_EQ(Dlg().PageTitle(), "News");

    ASSERT_EQ(SendTitleChange(Sink(), ""), S_OK);
    EXPECT_EQ(Caption(Dlg().hwnd()), " - Vessa") << "an empty title still ends in the product's name";
    EXPECT_EQ(Dlg().PageTitle(), "");
}

TEST_F(PageEvents, TitleChangePutsTheLocationIntoAnUneditedAddressBox) {
    Start();
    const std::string page = ClosedLoopbackUrl("/page");
    NavigateAndWait(page);
    ASSERT_EQ(Control().GetLocationURL(), page);

    // Only the address is looked at, not its case.
    std::string shouted = page;
    for (char& c : shouted) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    Dlg().SetItemText(IDC_ADDRESS, shouted);
    SendTitleChange(Sink(), "Page");
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), shouted);

    Dlg().SetItemText(IDC_ADDRESS, "somewhere else");
    ASSERT_TRUE(Dlg().IsAddressUnedited());
    SendTitleChange(Sink(), "Page");
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), page);
    EXPECT_EQ(Dlg().AddressText(), page) << "the address text follows the box";
}

TEST_F(PageEvents, TypedAddressSurvivesTitlesAndFrameNavigationsUntilTheWholeWindowNavigates) {
    Start();
    const std::string page = ClosedLoopbackUrl("/page");
    NavigateAndWait(page);

    // The user types (the address box's edit handler clears the flag).
    Dlg().SetItemText(IDC_ADDRESS, "www.typed");
    Dlg().SetAddressUnedited(false);
    SendTitleChange(Sink(), "Page");
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), "www.typed");
    EXPECT_EQ(Dlg().AddressText(), "www.typed");

    // A frame inside the page navigates: the typed text stays.
    fw::ComPtr<IDispatch> control = Control().host().Dispatch();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    ASSERT_EQ(SendBeforeNavigate2(Sink(), control.get(), ClosedLoopbackUrl("/frame"), "banner", &cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    EXPECT_FALSE(Dlg().IsAddressUnedited());
    SendTitleChange(Sink(), "Page");
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), "www.typed");

    // The whole window navigates (the real control's own event): the box follows the page again.
    const std::string next = ClosedLoopbackUrl("/next");
    NavigateAndWait(next);
    EXPECT_TRUE(Dlg().IsAddressUnedited());
    SendTitleChange(Sink(), "Next");
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), next);
}

TEST_F(PageEvents, BeforeNavigate2ShowsTheLeftPagesNameAndNeverCancels) {
    Start();
    Dlg().SetItemText(IDC_TITLE, "old title");
    fw::ComPtr<IDispatch> control = Control().host().Dispatch();
    for (const char* frame : {"", "main"}) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        ASSERT_EQ(SendBeforeNavigate2(Sink(), control.get(), "http://example.invalid/", frame, &cancel), S_OK);
        EXPECT_EQ(cancel, VARIANT_FALSE) << frame;
        // Wine's control has no document, so the name of the page being left is empty.
        EXPECT_EQ(Dlg().ItemText(IDC_TITLE), Control().GetLocationName()) << frame;
        EXPECT_NE(Dlg().ItemText(IDC_TITLE), "old title");
    }
}

// The secure indicator follows the address until the first secure-lock
// event, and only that event from then on.
TEST_F(PageEvents, SecureIndicatorRule) {
    Start();
    struct Case {
        const char* address;
        bool secure;
    } const byAddress[] = {
        {"HTTPS://BANK.EXAMPLE/", true}, {"https://a", true}, {"https:", true},     {"https", false},
        {"http://plain/", false},        {"", false},         {"xhttps://", false},
    };
    for (const Case& c : byAddress) {
        Dlg().SetItemText(IDC_ADDRESS, c.address);
        ASSERT_EQ(SendCommandStateChange(Sink(), -1, true), S_OK);
        EXPECT_EQ(Dlg().IsSecure(), c.secure) << c.address;
        EXPECT_EQ(Shown(IDC_SECURE_PICTURE), c.secure) << c.address;
        EXPECT_EQ(Shown(IDC_NOTSECURE_PICTURE), !c.secure) << c.address;
    }
    EXPECT_FALSE(Dlg().SecureIconSeen());

    ASSERT_EQ(SendSetSecureLockIcon(Sink(), 0), S_OK);
    EXPECT_TRUE(Dlg().SecureIconSeen());
    EXPECT_FALSE(Dlg().IsSecure());
    Dlg().SetItemText(IDC_ADDRESS, "https://bank.example/");
    SendCommandStateChange(Sink(), 2, true);
    EXPECT_FALSE(Dlg().IsSecure()) << "after a secure-lock event the address no longer decides";

    for (long icon : {2L, 0L, 6L}) {
        SendSetSecureLockIcon(Sink(), icon);
        EXPECT_EQ(Dlg().IsSecure(), icon != 0) << icon;
        EXPECT_EQ(Shown(IDC_SECURE_PICTURE), icon != 0) << icon;
        Dlg().SetItemText(IDC_ADDRESS, icon != 0 ? "http://plain/" : "https://bank.example/");
        SendCommandStateChange(Sink(), 1, false);
        EXPECT_EQ(Dlg().IsSecure(), icon != 0) << icon;
    }
}

TEST_F(PageEvents, CommandStateChangeKeepsBackAndForward) {
    Start();
    // The real control disabled both at its navigations.
    EXPECT_FALSE(Dlg().IsBackEnabled());
    EXPECT_FALSE(Dlg().IsForwardEnabled());
    struct Step {
        long command;
        bool enable, back, forward;
    } const steps[] = {
        {2, true, true, false}, {1, true, true, true},   {-1, false, true, true},
        {3, false, true, true}, {2, false, false, true}, {1, false, false, false},
    };
    for (const Step& s : steps) {
        ASSERT_EQ(SendCommandStateChange(Sink(), s.command, s.enable), S_OK);
        EXPECT_EQ(Dlg().IsBackEnabled(), s.back) << s.command << " " << s.enable;
        EXPECT_EQ(Dlg().IsForwardEnabled(), s.forward) << s.command << " " << s.enable;
    }
}

TEST_F(PageEvents, AnimationStartsOncePerBurstAndStopsOnFrameZero) {
    Start();
    CSkinButton& animator = Dlg().Button(IDC_ANIMATOR);
    ASSERT_GT(animator.Frames(), 1);
    ASSERT_EQ(animator.TimerId(), 0u);
    const DWORD period = animator.TimerPeriod();

    // Downloads beginning faster than the animation's period: a restart at
    // each would hold the animation at its first frame.
    std::vector<int> frames;
    const ULONGLONG end = ::GetTickCount64() + 6 * period;
    while (::GetTickCount64() < end) {
        ASSERT_EQ(SendDownloadBegin(Sink()), S_OK);
        EXPECT_TRUE(Dlg().IsAnimationRunning());
        EXPECT_NE(animator.TimerId(), 0u);
        PumpFor(period / 4);
        frames.push_back(animator.FrameIndex());
    }
    EXPECT_NE(std::count_if(frames.begin(), frames.end(), [](int f) { return f != 0; }), 0)
        << "the animation never moved on";

    ASSERT_EQ(SendDownloadComplete(Sink()), S_OK);
    EXPECT_FALSE(Dlg().IsAnimationRunning());
    EXPECT_EQ(animator.FrameIndex(), 0);
    EXPECT_EQ(animator.TimerId(), 0u);
    ASSERT_TRUE(testsupport::PumpTimerTicks(period, 2)) << "a timer of the animation's period, set after it stopped";
    EXPECT_EQ(animator.FrameIndex(), 0);

    // The next burst starts it again.
    SendDownloadBegin(Sink());
    EXPECT_TRUE(Dlg().IsAnimationRunning());
    EXPECT_NE(animator.TimerId(), 0u);
    SendDownloadComplete(Sink());
}

TEST_F(PageEvents, RealDownloadsRunTheAnimationAndTheOfflineIndicatorFollowsTheControl) {
    Start();
    LoopbackServer server("<html><head><title>News</title></head><body>held for a while</body></html>",
                          LoopbackServer::kHold);
    ASSERT_TRUE(server.Listening());
    const std::string page = server.Url("/held");
    navigationEnds.clear();
    ASSERT_EQ(Control().Navigate(page), S_OK);
    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    ASSERT_TRUE(PumpUntil([&] { return Dlg().IsAnimationRunning(); }, 10000)) << "a download is under way";
    EXPECT_FALSE(Dlg().IsOffline());
    server.Release();
    ASSERT_TRUE(PumpUntil([&] { return !navigationEnds.empty(); }, 10000));
    EXPECT_FALSE(Dlg().IsAnimationRunning());
    EXPECT_EQ(Dlg().Button(IDC_ANIMATOR).FrameIndex(), 0);

    // The control's own offline property drives the indicator at the next download.
    ASSERT_EQ(fw::DispatchDriver(Control().host().Dispatch()).Put(CWebBrowser2::kOffline, true), S_OK);
    EXPECT_FALSE(Dlg().IsOffline()) << "not before a download begins";
    NavigateAndWait(ClosedLoopbackUrl("/offline"));
    EXPECT_TRUE(Dlg().IsOffline());
    EXPECT_TRUE(Shown(IDC_OFFLINE_PICTURE));
    EXPECT_FALSE(Shown(IDC_ONLINE_PICTURE));
    fw::DispatchDriver(Control().host().Dispatch()).Put(CWebBrowser2::kOffline, false);
    NavigateAndWait(ClosedLoopbackUrl("/online"));
    EXPECT_FALSE(Dlg().IsOffline());
    EXPECT_TRUE(Shown(IDC_ONLINE_PICTURE));
}

// Records the texts put into the status static while the real control
// loads a page from a loopback server.
TEST_F(PageEvents, StatusTextShowsWhatTheControlReports) {
    Start();
    std::vector<std::string> texts;
    HWND status = Dlg().Item(IDC_STATUS);
    ASSERT_TRUE(::SetWindowSubclass(status, RecordTexts, 1, reinterpret_cast<DWORD_PTR>(&texts)));

    LoopbackServer server("<html><head><title>News</title></head><body>News of the day</body></html>");
    const std::string page = server.Url("/news");
    NavigateAndWait(page);
    ::RemoveWindowSubclass(status, RecordTexts, 1);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Downloading " + page), texts.end())
        << "the control's download text reached the status line";
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(Dlg().ItemText(IDC_STATUS), texts.back());

    ASSERT_EQ(SendStatusTextChange(Sink(), "Done"), S_OK);
    EXPECT_EQ(Dlg().ItemText(IDC_STATUS), "Done");
}

}  // namespace
}  // namespace pagetest
