// The real Vessa.exe with its WebBrowser control, seen from outside: it is
// started with an address on a loopback server, its window is read with
// WM_GETTEXT, and it is closed with its CLOSE button's command.
#include "browser_test_util.h"
#include "page_test_util.h"

#include "resource.h"

#include "testsupport/box_answerer.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

namespace pagetest {
namespace {

using testsupport::TextOf;

TEST(PageProgram, TheBrowserGoesToItsStartAddressAndShowsTheControlsStatus) {
    browsertest::BrowserFolder folder;
    const testsupport::TempProgramFolder& dir = folder.dir;
    regtest::SavedKey explorerMain(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main");
    // The browser's connection waits in the server's full queue until the
    // release, so the status of that moment stays long enough to be read.
    LoopbackServer server("<html><head><title>News</title></head><body>News of the day</body></html>",
                          LoopbackServer::kStall);
    ASSERT_TRUE(server.Listening());
    const std::string address = server.Url("/news?day=1");

    browsertest::BrowserProgram browser(dir, address);
    ASSERT_TRUE(browser.started());
    testsupport::BoxAnswerer boxes(browser.id());
    HWND wnd = browser.WaitForWindow(20000);
    ASSERT_TRUE(wnd);
    HWND status = ::GetDlgItem(wnd, IDC_STATUS);

    EXPECT_TRUE(PumpUntil([&] { return TextOf(status) == "Searching for 127.0.0.1"; }, 20000))
        << "status: " << TextOf(status);
    EXPECT_EQ(TextOf(wnd), address) << "the caption shows the start address";
    // The start showed the address in the title text too; the control's
    // BeforeNavigate2 put the name of the page being left there (none, under Wine).
    EXPECT_EQ(TextOf(::GetDlgItem(wnd, IDC_TITLE)), "");

    server.Release();
    ASSERT_TRUE(server.WaitForRequests(1, 20000)) << "the navigation was never made";
    EXPECT_EQ(server.Requests().front().line, "GET /news?day=1 HTTP/1.1");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(status).empty(); }, 10000))
        << "the control clears its status when the page is in; status: " << TextOf(status);

    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(wnd, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), 0, SMTO_ABORTIFHUNG, 10000, &ignored);
    DWORD exitCode = 1;
    EXPECT_TRUE(browser.WaitForExit(15000, &exitCode)) << "the CLOSE button ends the program";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace pagetest
