// The browser program as the server of "NimbBrowser.Application" under Wine:
// an ordinary start names it in the class entries, and a client's
// CoCreateInstance starts a browser whose window only hides on a close
// request while the client holds its object.
#include "browser_test_util.h"

#include "NimbBrowserDlgAutoProxy.h"

#include "AppConstants.h"
#include "RegSettings.h"

#include "fw/com_registration.h"
#include "fw/registry.h"

#include "testsupport/running_program.h"

#include <gtest/gtest.h>

namespace browsertest {
namespace {

using testsupport::PumpUntil;

std::optional<std::string> ClassDefault(const std::string& path) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + path, KEY_READ);
    if (!key) return std::nullopt;
    return fw::ReadString(key.get(), nullptr);
}

std::string ImageOf(DWORD pid) {
    fw::Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof(path);
    if (!process || !::QueryFullProcessImageNameA(process.get(), 0, path, &size)) return {};
    return std::string(path, size);
}

// The visible main window of a browser started from the given program file.
HWND FindBrowserWindow(const std::string& program) {
    const auto found = testsupport::TopWindows(0, [&](HWND wnd) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(wnd, &pid);
        return IsBrowserWindow(wnd) && ::lstrcmpiA(ImageOf(pid).c_str(), program.c_str()) == 0;
    });
    return found.empty() ? nullptr : found.front();
}

// Internet Explorer's start page, set for the test and put back after it.
class StartPage {
public:
    explicit StartPage(const std::string& page) {
        key_ = fw::CreateKey(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Internet Explorer\\Main", KEY_READ | KEY_WRITE);
        if (key_) old_ = fw::ReadString(key_.get(), "Start Page");
        if (key_) fw::WriteString(key_.get(), "Start Page", page);
    }
    ~StartPage() {
        if (!key_) return;
        if (old_)
            fw::WriteString(key_.get(), "Start Page", *old_);
        else
            ::RegDeleteValueA(key_.get(), "Start Page");
    }

private:
    fw::RegKey key_;
    std::optional<std::string> old_;
};

class BrowserServer : public ::testing::Test, protected BrowserFolder {
protected:
    fw::OleApartment ole;
    testsupport::ScratchKey progId{HKEY_LOCAL_MACHINE, "Software\\Classes\\NimbBrowser.Application"};
    testsupport::ScratchKey classKey{HKEY_LOCAL_MACHINE,
                                     "Software\\Classes\\CLSID\\" + fw::GuidText(NimbBrowserIds::kApplicationClsid)};
    StartPage start{"about:blank"};
    std::string program;

    void SetUp() override { program = dir / "Vessa.exe"; }

    // Starts the browser ordinarily, waits for its window and closes it with its CLOSE button.
    void RunOrdinaryStart() {
        BrowserProgram browser(dir, "about:blank");
        ASSERT_TRUE(browser.WaitForWindow());
        EXPECT_EQ(browser.Close(30000), 0);
    }
};

TEST_F(BrowserServer, AnOrdinaryStartNamesTheProgramInTheClassEntries) {
    ASSERT_NO_FATAL_FAILURE(RunOrdinaryStart());
    const std::string clsid = fw::GuidText(NimbBrowserIds::kApplicationClsid);
    EXPECT_EQ(ClassDefault("CLSID\\" + clsid + "\\LocalServer32"), "\"" + program + "\"");
    EXPECT_EQ(ClassDefault("CLSID\\" + clsid + "\\ProgID"), "NimbBrowser.Application");
    EXPECT_EQ(ClassDefault("NimbBrowser.Application\\CLSID"), clsid);
}

TEST_F(BrowserServer, AClientsObjectKeepsTheWindowFromClosingUntilItIsReleased) {
    ASSERT_NO_FATAL_FAILURE(RunOrdinaryStart());
    RECT rect{};
    ASSERT_EQ(CRegSettings().LoadWindowRect(AppConstants::kProductName, &rect), 0) << "the CLOSE button saved it";
    const std::string savedRect =
        std::string(AppConstants::kRegistryRoot) + "\\App Settings\\" + AppConstants::kProductName;
    ASSERT_TRUE(fw::DeleteKeyTree(HKEY_LOCAL_MACHINE, savedRect));
    // The default-browser switch lives in the same key: a missing one would ask.
    browsertest::SkipDefaultBrowserQuestion();
    ASSERT_NE(CRegSettings().LoadWindowRect(AppConstants::kProductName, &rect), 0);

    // COM starts the registered program with its switch and hands back its object.
    fw::ComPtr<IDispatch> object;
    ASSERT_EQ(::CoCreateInstance(NimbBrowserIds::kApplicationClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                 object.put_void()),
              S_OK);
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (window = FindBrowserWindow(program)) != nullptr; }, 30000));
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    fw::Handle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    ASSERT_TRUE(process);

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(window); }, 20000)) << "the close request hides it";
    EXPECT_EQ(::WaitForSingleObject(process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "and does not end it";
    EXPECT_TRUE(::IsWindow(window));

    object.reset();
    EXPECT_EQ(::WaitForSingleObject(process.get(), 30000), static_cast<DWORD>(WAIT_OBJECT_0))
        << "the release ends the hidden browser";
    EXPECT_NE(CRegSettings().LoadWindowRect(AppConstants::kProductName, &rect), 0) << "without saving";
}

}  // namespace
}  // namespace browsertest
