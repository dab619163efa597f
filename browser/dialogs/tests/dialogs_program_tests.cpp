// The default-browser question, the usage hit and the About and Open
// dialogs of the real Vessa.exe under Wine, driven from outside.
#include "commands_test_util.h"

#include "browser_test_util.h"
#include "page_test_util.h"

#include "DefaultBrowserDlg.h"
#include "MainMenu.h"
#include "OpenLocationDlg.h"
#include "RegSettings.h"
#include "UsageHit.h"
#include "resource.h"

#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace commandtest {
namespace {

using pagetest::PumpUntil;

constexpr char kBrowserKey[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings\\Vessa";
constexpr char kAppSettings[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings";
constexpr char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The visible dialog of a process with the caption.
HWND DialogOf(DWORD pid, const std::string& caption) {
    for (HWND wnd = ::FindWindowA("#32770", caption.c_str()); wnd;
         wnd = ::FindWindowExA(nullptr, wnd, "#32770", caption.c_str())) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(wnd, &owner);
        if (owner == pid && ::IsWindowVisible(wnd)) return wnd;
    }
    return nullptr;
}

// The question is asked unless a test switches it off.
class ProgramDialogs : public ::testing::Test, protected browsertest::BrowserFolder {
protected:
    ProgramDialogs() : BrowserFolder("Vessa.exe", Question::kAsk) {}
    void SetUp() override {
        ::SetEnvironmentVariableA("http_proxy", nullptr);
        ::SetEnvironmentVariableA("HTTP_PROXY", nullptr);
    }
    void TearDown() override {
        if (window) Close();
    }
    // Starts the browser; with asked, waits for the question and leaves it open.
    void Start(bool asked) {
        browser = std::make_unique<browsertest::BrowserProgram>(dir, server.Url("/start"));
        ASSERT_TRUE(browser->started());
        if (asked) {
            ASSERT_TRUE(PumpUntil([&] { return (question = DialogOf(browser->id(), "Vessa")) != nullptr; }, 20000));
            return;
        }
        WaitForWindow();
    }
    void WaitForWindow() { ASSERT_TRUE(window = browser->WaitForWindow(20000)); }
    void Close() {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), 0);
        EXPECT_TRUE(browser->WaitForExit(20000));
        browser.reset();
        window = nullptr;
    }
    void Post(UINT id) { ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Go(const std::string& address) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(::GetDlgItem(window, IDC_ADDRESS), WM_SETTEXT, 0,
                              reinterpret_cast<LPARAM>(address.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), 0);
    }
    size_t Requests(const pagetest::LoopbackServer& s, const std::string& part) {
        size_t count = 0;
        for (const auto& request : s.Requests()) count += request.line.find(part) != std::string::npos;
        return count;
    }
    void UseProxy(int port) {
        regtest::PutDword(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable", 1);
        regtest::PutString(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer", "127.0.0.1:" + std::to_string(port));
    }

    regtest::SavedKey proxy{HKEY_CURRENT_USER, kInternetSettings};
    pagetest::LoopbackServer server{"<html><body>page</body></html>"};
    std::unique_ptr<browsertest::BrowserProgram> browser;
    HWND window = nullptr;
    HWND question = nullptr;
};

TEST_F(ProgramDialogs, AFreshStartAsksFirstAndNoWithTheBoxClearedAsksNoMore) {
    ASSERT_NO_FATAL_FAILURE(Start(true));
    EXPECT_TRUE(BrowserWindows(browser->id()).empty()) << "the question comes before the main window";
    EXPECT_EQ(TextOf(::GetDlgItem(question, kDefaultBrowserText)),
              "Vessa is not currently your default browser.  Would you like to make it your default browser?");
    HWND box = ::GetDlgItem(question, kDefaultBrowserCheck);
    EXPECT_EQ(TextOf(box), "Always perform this check when starting Vessa.");
    EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    ::PostMessageA(box, BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 5000));
    ::PostMessageA(::GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
    ASSERT_NO_FATAL_FAILURE(WaitForWindow());
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kBrowserKey, "CheckDefaultBrowser"), 0u);
    ASSERT_NO_FATAL_FAILURE(Close());

    ASSERT_NO_FATAL_FAILURE(Start(false));
    EXPECT_EQ(DialogOf(browser->id(), "Vessa"), nullptr);
}

TEST_F(ProgramDialogs, YesMakesTheBrowserTheDefaultAndTheNextStartAsksNothing) {
    std::vector<std::unique_ptr<regtest::SavedKey>> classes;
    for (const char* name : {"http", "https", "ftp", "htmlfile", "giffile", "jpegfile", ".htm", ".html"})
        classes.push_back(
            std::make_unique<regtest::SavedKey>(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + name));
    ASSERT_NO_FATAL_FAILURE(Start(true));
    ::PostMessageA(::GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    ASSERT_NO_FATAL_FAILURE(WaitForWindow());
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kBrowserKey, "CheckDefaultBrowser"), 1u);
    const std::string command = CRegSettings(dir.Path()).BrowserOpenCommand();
    for (const char* name : {"http", "https", "ftp", "htmlfile"})
        EXPECT_EQ(regtest::StoredString(HKEY_LOCAL_MACHINE,
                                        std::string("Software\\Classes\\") + name + "\\shell\\open\\command", ""),
                  command)
            << name;
    EXPECT_EQ(regtest::StoredString(HKEY_LOCAL_MACHINE, "Software\\Classes\\.htm", ""), "htmlfile");
    std::string system;
    CRegSettings().GetSystemRoot(&system);
    EXPECT_TRUE(regtest::StoredString(HKEY_LOCAL_MACHINE, "Software\\Classes\\http\\DefaultIcon", "")
                    .value_or("")
                    .ends_with("\\Vessa.ico,0"));
    ASSERT_NO_FATAL_FAILURE(Close());

    ASSERT_NO_FATAL_FAILURE(Start(false));
    EXPECT_EQ(DialogOf(browser->id(), "Vessa"), nullptr) << "the browser is the default now";
}

TEST_F(ProgramDialogs, TheHitGoesThroughTheUsersProxyOnceItListens) {
    browsertest::SkipDefaultBrowserQuestion();
    // "Access" already set: three navigations send nothing.
    regtest::PutDword(HKEY_LOCAL_MACHINE, kAppSettings, "Access", 1);
    pagetest::LoopbackServer proxyServer("ok");
    ASSERT_TRUE(proxyServer.Listening());
    UseProxy(std::stoi(proxyServer.Url("").substr(17)));
    ASSERT_NO_FATAL_FAILURE(Start(false));
    for (const std::string page : {"/a ", "/b ", "/c "}) {
        Go(server.Url(page.substr(0, 2)));
        // Each page in before the next: a text set later would overtake a posted GO.
        ASSERT_TRUE(PumpUntil([&] { return Requests(server, page) + Requests(proxyServer, page) >= 1; }, 20000))
            << page;
    }
    EXPECT_EQ(Requests(proxyServer, kHitPath), 0u);
    ASSERT_NO_FATAL_FAILURE(Close());

    // Not sent yet, the proxy's port closed: "Access" stays unset.
    CRegSettings::DeleteValue(HKEY_LOCAL_MACHINE, kAppSettings, "Access");
    const std::string closed = pagetest::ClosedLoopbackUrl("/");
    UseProxy(std::stoi(closed.substr(17)));
    ASSERT_NO_FATAL_FAILURE(Start(false));
    Go(server.Url("/d"));
    // The page control goes through the same closed proxy: wait for the window's
    // status to come back, then nothing can have been sent.
    ASSERT_TRUE(PumpUntil([&] { return TextOf(::GetDlgItem(window, IDC_STATUS)).empty(); }, 20000));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kAppSettings, "Access"), std::nullopt);
    EXPECT_EQ(Requests(proxyServer, kHitPath), 0u);
    // The proxy now listens: a next navigation sends the hit (the failed one
    // lets the next navigation try again once its worker has reported).
    UseProxy(std::stoi(proxyServer.Url("").substr(17)));
    bool sent = false;
    for (int attempt = 0; attempt < 20 && !sent; ++attempt) {
        Go(server.Url("/e"));
        sent = PumpUntil([&] { return Requests(proxyServer, kHitPath) == 1; }, 2000);
    }
    ASSERT_TRUE(sent);
    EXPECT_TRUE(PumpUntil(
        [&] { return regtest::StoredDword(HKEY_LOCAL_MACHINE, kAppSettings, "Access") == std::optional<DWORD>(1); },
        20000));
}

TEST_F(ProgramDialogs, AboutAndOpen) {
    browsertest::SkipDefaultBrowserQuestion();
    ASSERT_NO_FATAL_FAILURE(Start(false));
    Post(menuid::kAbout);
    HWND about = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (about = DialogOf(browser->id(), "About Vessa")) != nullptr; }, 20000));
    bool version = false;
    for (HWND child = ::GetWindow(about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        version = version || TextOf(child) == "Version:  2.0";
    EXPECT_TRUE(version);
    ::PostMessageA(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return DialogOf(browser->id(), "About Vessa") == nullptr; }, 20000));

    Post(menuid::kOpen);
    HWND open = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (open = DialogOf(browser->id(), "Open")) != nullptr; }, 20000));
    const std::string target = server.Url("/opened");
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(::GetDlgItem(open, kOpenAddress), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()),
                          SMTO_ABORTIFHUNG, 5000, &ignored);
    ::PostMessageA(::GetDlgItem(open, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Requests(server, "/opened ") == 1; }, 20000));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kAppSettings, "Access"), std::nullopt) << "no hit";
}

}  // namespace
}  // namespace commandtest
