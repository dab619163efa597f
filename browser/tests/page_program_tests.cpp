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

// A started program, ended by force if the test did not end it.
class Program {
public:
    explicit Program(const std::string& folder, std::string commandLine) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        started_ = ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                    &startup, &info_) != FALSE;
    }
    ~Program() {
        if (!started_) return;
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "the browser was still running and was terminated";
            ::TerminateProcess(info_.hProcess, 1);
            ::WaitForSingleObject(info_.hProcess, 10000);
        }
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
        if (::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
        return ::GetExitCodeProcess(info_.hProcess, exitCode) != FALSE;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

struct BrowserSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<BrowserSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner != search->processId || !::GetDlgItem(wnd, IDC_STATUS) || !::GetDlgItem(wnd, IDC_EXPLORER)) return TRUE;
    search->found = wnd;
    return FALSE;
}

// The main window of a process: its top-level window with the status static.
HWND FindBrowserWindow(DWORD processId) {
    BrowserSearch search{processId, nullptr};
    ::EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A window's text, asked of its own thread (WM_GETTEXT crosses processes).
std::string TextOf(HWND wnd) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                               &copied))
        return "<no answer>";
    return std::string(text, copied);
}

TEST(PageProgram, TheBrowserGoesToItsStartAddressAndShowsTheControlsStatus) {
    testsupport::ScratchKey registry(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global");
    browsertest::SkipDefaultBrowserQuestion();
    regtest::SavedKey explorerMain(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main");
    testsupport::TempProgramFolder dir;
    dir.CopyProgram("Vessa.exe");
    // The browser's connection waits in the server's full queue until the
    // release, so the status of that moment stays long enough to be read.
    LoopbackServer server("<html><head><title>News</title></head><body>News of the day</body></html>",
                          LoopbackServer::kStall);
    ASSERT_TRUE(server.Listening());
    const std::string address = server.Url("/news?day=1");

    std::string commandLine = "\"";
    commandLine += dir / "Vessa.exe";
    commandLine += "\" ";
    commandLine += address;
    Program browser(dir.Path(), commandLine);
    ASSERT_TRUE(browser.started());
    testsupport::BoxAnswerer boxes(browser.id());
    HWND wnd = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (wnd = FindBrowserWindow(browser.id())) != nullptr; }, 20000));
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
