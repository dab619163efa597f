// The commands of the real Vessa.exe under Wine, driven from outside by
// posted commands and keys: navigations reach a loopback server, settings
// reach the registry, started programs are stand-ins that log their arguments.
#include "commands_test_util.h"

#include "browser_test_util.h"
#include "page_test_util.h"

#include "MainMenu.h"
#include "resource.h"

#include "testsupport/box_answerer.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace commandtest {
namespace {

using namespace menuid;

// A quoted program path and what follows it (built by appending: GCC 12
// warns falsely on a literal plus a string).
std::string Quoted(const std::string& path, const std::string& rest) {
    std::string line = "\"";
    line += path;
    line += "\"";
    line += rest;
    return line;
}
using pagetest::PumpFor;
using pagetest::PumpUntil;

constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kBrowserKey[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings\\Vessa";

class ProgramCommands : public ::testing::Test, protected browsertest::BrowserFolder {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Listening());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
    }
    void TearDown() override {
        for (HWND wnd : BrowserWindows(0)) ::PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), 0);
        if (browser) {
            EXPECT_TRUE(browser->WaitForExit(20000));
        }
        EXPECT_TRUE(PumpUntil([] { return BrowserWindows(0).empty(); }, 20000)) << "a browser was left open";
    }

    void Start(const std::string& address) {
        browser = std::make_unique<browsertest::BrowserProgram>(dir, address);
        ASSERT_TRUE(browser->started());
        boxes = std::make_unique<testsupport::BoxAnswerer>(browser->id());
        ASSERT_TRUE(window = browser->WaitForWindow(20000));
    }
    void Close() {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), 0);
        ASSERT_TRUE(browser->WaitForExit(20000));
        browser.reset();
        window = nullptr;
    }
    void Post(UINT id) { ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Click(int id) {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
    }
    void SetAddress(const std::string& text) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(::GetDlgItem(window, IDC_ADDRESS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                              SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    // Waits until a request for the path reached the server.
    bool Requested(const std::string& path) {
        return PumpUntil(
            [&] {
                for (const auto& request : server.Requests())
                    if (request.line == "GET " + path + " HTTP/1.1") return true;
                return false;
            },
            20000);
    }
    RECT RectOf(HWND wnd) {
        RECT r{};
        ::GetWindowRect(wnd, &r);
        return r;
    }

    regtest::SavedKey typed{HKEY_CURRENT_USER, kTypedUrls};
    pagetest::LoopbackServer server{"<html><body>page</body></html>"};
    std::unique_ptr<browsertest::BrowserProgram> browser;
    std::unique_ptr<testsupport::BoxAnswerer> boxes;
    HWND window = nullptr;
};

TEST_F(ProgramCommands, GoAndEnterNavigateAndTheHistoryOutlivesTheProgram) {
    ASSERT_NO_FATAL_FAILURE(Start(server.Url("/start")));
    ASSERT_TRUE(Requested("/start"));

    SetAddress(server.Url("/go/"));
    Click(IDC_GO);
    ASSERT_TRUE(Requested("/go/"));
    SetAddress(server.Url("/enter"));
    HWND edit = ::FindWindowExA(::GetDlgItem(window, IDC_ADDRESS), nullptr, "Edit", nullptr);
    ASSERT_TRUE(edit);
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(Requested("/enter"));
    ASSERT_TRUE(
        PumpUntil([&] { return regtest::StoredString(HKEY_CURRENT_USER, kTypedUrls, "url2").has_value(); }, 10000));
    EXPECT_EQ(regtest::StoredString(HKEY_CURRENT_USER, kTypedUrls, "url1"), server.Url("/enter"));
    EXPECT_EQ(regtest::StoredString(HKEY_CURRENT_USER, kTypedUrls, "url2"), server.Url("/go")) << "without its slash";
    ASSERT_NO_FATAL_FAILURE(Close());

    ASSERT_NO_FATAL_FAILURE(Start(server.Url("/again")));
    HWND box = ::GetDlgItem(window, IDC_ADDRESS);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_DROPDOWN), reinterpret_cast<LPARAM>(box));
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageA(box, CB_GETCOUNT, 0, 0) == 2; }, 10000));
    ::SendMessageA(box, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(TextOf(box), server.Url("/enter")) << "the drop-down's first entry";
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(ProgramCommands, ASkinItemOfTheMenuReskinsTheWindowInPlace) {
    const std::string ini = browsertest::InstallSkin(dir, "vessa-folder", "Blue");
    ::WritePrivateProfileStringA("SPECIAL", "MENU", "700,55,18,18,Menu,NULL,NULL,1", ini.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    ASSERT_NO_FATAL_FAILURE(Start(server.Url("/start")));
    HWND menuButton = ::GetDlgItem(window, IDC_MENU);
    const RECT before = RectOf(window);
    const RECT menuBefore = RectOf(menuButton);

    Click(IDC_MENU);
    HWND popup = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (popup = WindowOfClass(browser->id(), "#32768")) != nullptr; }, 10000));
    ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return WindowOfClass(browser->id(), "#32768") == nullptr; }, 10000));

    Post(kFirstSkin + 1);  // Vessa, then Blue
    ASSERT_TRUE(PumpUntil([&] { return RectOf(menuButton).left != menuBefore.left; }, 10000));
    const RECT after = RectOf(window);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "the window keeps its place and size";
    EXPECT_LT(RectOf(menuButton).left - before.left, menuBefore.left - before.left) << "Blue's MENU lies further left";

    Post(kSetDefaultSkin);
    EXPECT_TRUE(PumpUntil(
        [&] {
            return regtest::StoredString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global\\Vessa\\Skins",
                                         "Default Skin") == std::optional<std::string>("Blue");
        },
        10000));
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(ProgramCommands, SkinLibrarySkinSizeAndTheDefaultBrowserCheck) {
    ASSERT_NO_FATAL_FAILURE(Start(server.Url("/start")));
    Click(IDC_SKINLIBRARY);
    ASSERT_TRUE(boxes->WaitForBoxes(1));
    EXPECT_EQ(boxes->Boxes()[0].text, "Skin Library is not in use yet.");
    EXPECT_EQ(boxes->Boxes()[0].caption, "Vessa");

    ::SetWindowPos(window, nullptr, 30, 20, 640, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return RectOf(window).right - RectOf(window).left == 640; }, 10000));
    Post(kResetSkinSize);
    ASSERT_TRUE(PumpUntil([&] { return RectOf(window).right - RectOf(window).left == 796; }, 10000));
    EXPECT_EQ(RectOf(window).bottom - RectOf(window).top, 568);
    EXPECT_EQ(RectOf(window).left, 30);
    EXPECT_EQ(RectOf(window).top, 20);

    for (DWORD expected : {1u, 0u, 1u}) {
        Post(kCheckDefaultBrowser);
        EXPECT_TRUE(PumpUntil(
            [&] { return regtest::StoredDword(HKEY_LOCAL_MACHINE, kBrowserKey, "CheckDefaultBrowser") == expected; },
            10000))
            << expected;
    }
}

TEST_F(ProgramCommands, NewMessageAndNewContactStartTheClientsWithTheirArguments) {
    regtest::SavedKey clients(HKEY_LOCAL_MACHINE, "Software\\Clients");
    dir.MakeFolder("Mail Client");
    dir.MakeFolder("Contacts");
    dir.CopyProgramAs("StandInBrowser.exe", "Mail Client\\mail.exe");
    dir.CopyProgramAs("StandInBrowser.exe", "Contacts\\book.exe");
    regtest::PutString(HKEY_LOCAL_MACHINE, "Software\\Clients\\Mail", "", "Test Mail");
    regtest::PutString(HKEY_LOCAL_MACHINE,
                       "Software\\Clients\\Mail\\Test Mail\\Protocols\\mailto\\shell\\open\\command", "",
                       Quoted(dir / "Mail Client\\mail.exe", " /compose \"to me\""));
    regtest::PutString(HKEY_LOCAL_MACHINE, "Software\\Clients\\Contacts", "", "Book");
    regtest::PutString(HKEY_LOCAL_MACHINE, "Software\\Clients\\Contacts\\Book\\shell\\open\\command", "",
                       Quoted(dir / "Contacts\\book.exe", ""));
    ASSERT_NO_FATAL_FAILURE(Start(server.Url("/start")));

    Post(kNewMessage);
    const std::string mailLog = dir / "Mail Client\\launches.log";
    ASSERT_TRUE(PumpUntil([&] { return Lines(mailLog).size() == 1; }, 20000));
    EXPECT_EQ(ArgumentsOf(Lines(mailLog)[0]), "/compose \"to me\"");

    Post(kNewContact);
    const std::string bookLog = dir / "Contacts\\launches.log";
    ASSERT_TRUE(PumpUntil([&] { return Lines(bookLog).size() == 1; }, 20000));
    EXPECT_EQ(ArgumentsOf(Lines(bookLog)[0]), "");
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(ProgramCommands, NewWindowOpensASecondBrowserOnTheCurrentAddress) {
    ASSERT_NO_FATAL_FAILURE(Start(server.Url("/current")));
    ASSERT_TRUE(Requested("/current"));
    Post(kNewWindow);
    HWND second = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (HWND wnd : BrowserWindows(0))
                if (wnd != window) second = wnd;
            return second != nullptr;
        },
        30000));
    ASSERT_TRUE(PumpUntil(
        [&] {
            size_t count = 0;
            for (const auto& request : server.Requests()) count += request.line == "GET /current HTTP/1.1";
            return count == 2;
        },
        20000));
    EXPECT_EQ(TextOf(::GetDlgItem(second, IDC_ADDRESS)), server.Url("/current"));
    ::PostMessageA(second, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(second); }, 20000));
}

}  // namespace
}  // namespace commandtest
