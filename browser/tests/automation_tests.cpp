// The main window's automation in-process: the manager driver against the
// real manager and a stand-in manager process serving "Nimb.Document", and
// the browser's own proxies against the window's close.
#include "browser_test_util.h"

#include "NimbBrowserDlgAutoProxy.h"
#include "NimbDocDriver.h"

#include "AppConstants.h"

#include "fw/com_registration.h"

#include "testsupport/box_answerer.h"
#include "testsupport/child_process.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/stand_in_manager.h"

#include <gtest/gtest.h>

namespace browsertest {
namespace {

using testsupport::PumpUntil;
using testsupport::StandInManagerServer;

// The manager's class entries, removed before and after each test.
struct ManagerClassKeys {
    testsupport::ScratchKey progId{HKEY_LOCAL_MACHINE, "Software\\Classes\\Nimb.Document"};
    testsupport::ScratchKey automation{HKEY_LOCAL_MACHINE,
                                       "Software\\Classes\\CLSID\\" + fw::GuidText(NimbDocIds::kAutomationClsid)};
};

class Automation : public ::testing::Test {
protected:
    fw::OleApartment ole;
    ManagerClassKeys keys;
    InProcessBrowser browser;
    testsupport::BoxAnswerer boxes;
    CNimbBrowserDlg& dlg() { return *browser.dlg; }
};

TEST_F(Automation, NoManagerIsFoundWithoutTheProgIdOrARunningObject) {
    EXPECT_FALSE(dlg().ConnectToManager()) << "the ProgID is not registered";
    StandInManagerServer manager(browser.dir.Path());
    ASSERT_TRUE(manager.Start());
    ASSERT_TRUE(manager.Stop());
    // The ProgID stays; the running object went with the manager.
    ASSERT_TRUE(fw::ClassIdOfProgId(NimbDocIds::kProgId));
    fw::ComPtr<IUnknown> none;
    EXPECT_EQ(::GetActiveObject(NimbDocIds::kAutomationClsid, nullptr, none.put()), MK_E_UNAVAILABLE);
    EXPECT_FALSE(dlg().ConnectToManager());
    EXPECT_FALSE(dlg().ManagerDriver());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Automation, AfterAFavoriteTheManagerIsRefreshedFocusedAndShown) {
    StandInManagerServer manager(browser.dir.Path());
    ASSERT_TRUE(manager.Start());
    HWND managerWindow = ::FindWindowA(nullptr, AppConstants::kManagerTitle);
    ASSERT_TRUE(managerWindow);
    EXPECT_FALSE(::IsWindowVisible(managerWindow));

    ASSERT_TRUE(dlg().ConnectToManager());
    const std::string path = browser.dir / "Links\\7.vsl";
    dlg().RefreshNimbTree();
    dlg().SetFocusOnLinkItem(path);
    dlg().ActivateManager();
    EXPECT_EQ(manager.Calls(),
              (std::vector<std::string>{"RefreshNimbTree", "SetFocusOnLinkItem|" + path, "ShowManager"}));
    EXPECT_TRUE(::IsWindowVisible(managerWindow)) << "ShowManager showed the hidden manager";
    EXPECT_TRUE(dlg().ManagerDriver());
    EXPECT_TRUE(manager.Stop());
}

// Whether a top-level window lies above another in the z-order.
bool IsAbove(HWND upper, HWND lower) {
    for (HWND wnd = ::GetWindow(upper, GW_HWNDNEXT); wnd; wnd = ::GetWindow(wnd, GW_HWNDNEXT))
        if (wnd == lower) return true;
    return false;
}

TEST_F(Automation, TheRealManagerHiddenInTheTrayIsFoundShownAndRaised) {
    testsupport::ScratchKey documentClass{HKEY_LOCAL_MACHINE,
                                          "Software\\Classes\\CLSID\\{2A29E745-84C5-11D4-A2E3-FC9B3F577F54}"};
    browser.dir.CopyProgram("VessaMgr.exe");
    regtest::PutDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global\\Vessa\\Options", "Hide Program", 1);
    HWND window = dlg().hwnd();
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    testsupport::ChildProcess manager;
    ASSERT_TRUE(manager.Start(browser.dir / "VessaMgr.exe", ""));
    testsupport::BoxAnswerer managerBoxes(::GetProcessId(manager.Process()));
    HWND frame = nullptr;
    // Whatever fails, the manager ends by its real exit (timer 50): a killed
    // one would leave its running object registered.
    struct RealExit {
        HWND& frame;
        testsupport::ChildProcess& manager;
        ~RealExit() {
            if (frame) ::PostMessageA(frame, WM_TIMER, 50, 0);
            EXPECT_EQ(manager.Wait(20000), 0);
        }
    } realExit{frame, manager};
    ASSERT_TRUE(
        PumpUntil([&] { return (frame = ::FindWindowA(nullptr, AppConstants::kManagerTitle)) != nullptr; }, 30000));
    ASSERT_TRUE(PumpUntil([&] { return dlg().ConnectToManager(); }, 30000)) << "its object is found";
    EXPECT_FALSE(::IsWindowVisible(frame)) << "in the tray";

    dlg().ActivateManager();
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(frame) != FALSE; }, 20000)) << "shown";
    EXPECT_TRUE(IsAbove(frame, window)) << "raised above the browser";
    EXPECT_TRUE(dlg().ManagerDriver());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(managerBoxes.Boxes().empty());
}

TEST_F(Automation, AManagerGoneSinceTheConnectionIsLetGoQuietly) {
    StandInManagerServer manager(browser.dir.Path());
    ASSERT_TRUE(manager.Start());
    ASSERT_TRUE(dlg().ConnectToManager());
    ASSERT_TRUE(manager.Stop()) << "the manager ends after the browser found it";

    dlg().RefreshNimbTree();
    EXPECT_FALSE(dlg().ManagerDriver()) << "the failed call let go of the manager";
    dlg().SetFocusOnLinkItem(browser.dir / "Links\\0.vsl");
    dlg().ActivateManager();
    EXPECT_FALSE(dlg().ConnectToManager());
    EXPECT_TRUE(manager.Calls().empty());
    EXPECT_TRUE(boxes.Boxes().empty()) << "nothing is reported";
    EXPECT_TRUE(::IsWindow(dlg().hwnd()));
}

TEST_F(Automation, WhileAProxyIsHeldACloseRequestOnlyHidesTheWindow) {
    HWND window = dlg().hwnd();
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindowVisible(window)) << "without a proxy a close request only stops the page";

    fw::ComPtr<CNimbBrowserDlgAutoProxy> proxy = fw::MakeCom<CNimbBrowserDlgAutoProxy>(&dlg());
    ASSERT_TRUE(proxy);
    EXPECT_TRUE(dlg().HasAutomationProxy());
    EXPECT_FALSE(dlg().CanExit());
    EXPECT_FALSE(::IsWindowVisible(window));
    ::ShowWindow(window, SW_SHOWNOACTIVATE);

    // The proxy has no members of its own.
    fw::DispatchDriver driver(fw::ComPtr<IDispatch>(proxy.get()));
    EXPECT_EQ(driver.Call(1).hr, DISP_E_MEMBERNOTFOUND);
    EXPECT_FALSE(driver.IdOf(L"Close"));
    driver.Release();

    ::SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_TRUE(::IsWindow(window)) << "hidden, not closed";

    // The client lets go: the close it held up happens, without a save.
    proxy.reset();
    EXPECT_FALSE(dlg().HasAutomationProxy());
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(dlg().SaveOnClose());
}

TEST_F(Automation, AProxyLetGoWithoutARefusedCloseLeavesTheWindowAsItWas) {
    HWND window = dlg().hwnd();
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    {
        fw::ComPtr<CNimbBrowserDlgAutoProxy> first = fw::MakeCom<CNimbBrowserDlgAutoProxy>(&dlg());
        fw::ComPtr<CNimbBrowserDlgAutoProxy> second = fw::MakeCom<CNimbBrowserDlgAutoProxy>(&dlg());
        ::SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_FALSE(::IsWindowVisible(window));
        first.reset();
        EXPECT_TRUE(::IsWindow(window)) << "the second client still holds the browser";
        EXPECT_TRUE(dlg().HasAutomationProxy());
        ::ShowWindow(window, SW_SHOWNOACTIVATE);  // shown again while still held
    }
    EXPECT_TRUE(::IsWindow(window)) << "a window shown again is not ended by the last release";
    EXPECT_TRUE(::IsWindowVisible(window));
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindowVisible(window)) << "a close request behaves as usual again";
}

TEST_F(Automation, TheWindowGoingFirstDetachesTheProxy) {
    fw::ComPtr<CNimbBrowserDlgAutoProxy> proxy = fw::MakeCom<CNimbBrowserDlgAutoProxy>(&dlg());
    EXPECT_EQ(proxy->Dialog(), &dlg());
    browser.dlg.reset();
    EXPECT_EQ(proxy->Dialog(), nullptr);
    proxy.reset();  // reaches no window
}

}  // namespace
}  // namespace browsertest
