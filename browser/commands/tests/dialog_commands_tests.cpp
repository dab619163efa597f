// The commands of the real main window in-process, with its real page
// control: what Wine's control cannot show (offline, a default browser, a
// stored text size) is set up in the registry or behind a substitute.
#include "commands_test_util.h"

#include "browser_test_util.h"
#include "page_test_util.h"

#include "AppConstants.h"
#include "MainMenu.h"
#include "RegSettings.h"
#include "TypedAddress.h"

#include "testsupport/message_sequence.h"
#include "testsupport/box_answerer.h"
#include "testsupport/crash_guard.h"
#include "testsupport/reg_test_util.h"

#include "fw/com.h"
#include "fw/event_sink.h"
#include "fw/registry.h"

#include <exdisp.h>
#include <gtest/gtest.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace commandtest {
namespace {

using namespace menuid;
using pagetest::PumpFor;
using pagetest::PumpPosted;
using pagetest::PumpUntil;

constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kScripts[] = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
constexpr char kBrowserKey[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings\\Vessa";

class Commands : public ::testing::Test {
protected:
    using Prepare = std::function<void(browsertest::InProcessBrowser&)>;

    void Start(const Prepare& prepare = [](browsertest::InProcessBrowser&) {}) {
        ASSERT_TRUE(ole);
        browser.emplace(startUrl, prepare);
        ASSERT_TRUE(Control().host().IsCreated());
        watcher.On(pagetest::kBeforeNavigate2, [this](const fw::DispArgs& a) {
            befores.push_back(a.String(1));
            // Nothing leaves the machine: the maker's pages are only asked for.
            if (a.String(1).rfind("http://127.0.0.1", 0) != 0 && a.String(1).rfind("about:", 0) != 0)
                a.SetBool(6, true);
        });
        watcher.On(pagetest::kNavigateError, [this](const fw::DispArgs& a) { ends.push_back(a.String(1)); });
        ASSERT_EQ(watcher.Connect(Control().host().Control().get()), S_OK);
        Control().SetCallObserver([this](const CWebBrowser2::Call& call) { calls.push_back(call); });
        ASSERT_TRUE(
            PumpUntil([&] { return Control().GetLocationURL() == startUrl && !Dlg().IsAnimationRunning(); }, 10000));
        ASSERT_TRUE(PumpPosted()) << "what the start navigation left queued";
    }
    CNimbBrowserDlg& Dlg() { return *browser->dlg; }
    CWebBrowser2& Control() { return Dlg().Browser(); }
    IDispatch* Sink() { return Dlg().BrowserEvents(); }
    // A menu item's command.
    void Command(UINT id) { ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // A button's click.
    void Click(int id) {
        ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Dlg().Item(id)));
    }
    // Navigates the control itself and waits for the end (an error, under Wine).
    void NavigateAndWait(const std::string& address) {
        ends.clear();
        ASSERT_EQ(Control().Navigate(address), S_OK);
        ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }, 10000)) << address;
        ASSERT_TRUE(PumpPosted()) << "what the navigation's end left queued";
    }
    bool Shown(int id) { return (::GetWindowLongPtrA(Dlg().Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    int MenuItemState(UINT id) {
        fw::Menu menu = Dlg().BuildCurrentMainMenu();
        return ItemState(menu.get(), id);
    }

    const std::string startUrl = pagetest::ClosedLoopbackUrl("/start");
    fw::OleApartment ole;
    regtest::SavedKey typed{HKEY_CURRENT_USER, kTypedUrls};
    regtest::SavedKey scripts{HKEY_CURRENT_USER, kScripts};
    std::optional<browsertest::InProcessBrowser> browser;
    fw::EventSink watcher{DIID_DWebBrowserEvents2};
    std::vector<std::string> befores;
    std::vector<std::string> ends;
    std::vector<CWebBrowser2::Call> calls;  // what the window asked of its control

    std::vector<DISPID> TakeCallIds() {
        std::vector<DISPID> ids;
        for (const auto& call : calls) ids.push_back(call.id);
        calls.clear();
        return ids;
    }
};

TEST_F(Commands, MenuStatesComeFromTheRegistryAtStart) {
    struct Case {
        const char* name;
        std::optional<DWORD> checkDefault;
        std::optional<DWORD> fontSize;
        int checkItem;  // MF_CHECKED of 31037
        UINT textItem;  // the checked text size
    };
    const Case cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, MF_CHECKED, kMedium},
        {"check off, largest", 0u, 4u, 0, kLargest},
        {"check on, medium in the low byte", 1u, 0x0102u, MF_CHECKED, kMedium},
        {"smallest", 1u, 0u, MF_CHECKED, kSmallest},
    };
    for (const Case& c : cases) {
        browser.reset();
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kScripts);
        Start([&](browsertest::InProcessBrowser&) {
            if (c.fontSize) regtest::PutValue(HKEY_CURRENT_USER, kScripts, "IEFontSize", REG_BINARY, &*c.fontSize, 4);
        });
        // Read by every menu; set after the start, which would otherwise ask to be the default.
        CRegSettings::DeleteValue(HKEY_LOCAL_MACHINE, kBrowserKey, "CheckDefaultBrowser");
        if (c.checkDefault) regtest::PutDword(HKEY_LOCAL_MACHINE, kBrowserKey, "CheckDefaultBrowser", *c.checkDefault);
        fw::Menu menu = Dlg().BuildCurrentMainMenu();
        ASSERT_TRUE(menu) << c.name;
        EXPECT_EQ(ItemState(menu.get(), kCheckDefaultBrowser), c.checkItem) << c.name;
        for (UINT id = kLargest; id <= kSmallest; ++id)
            EXPECT_EQ(ItemState(menu.get(), id), id == c.textItem ? MF_CHECKED : 0) << c.name << " " << id;
        EXPECT_EQ(ItemState(menu.get(), kMakeDefaultBrowser), 0) << "Wine's browser is never the default";
        EXPECT_EQ(ItemState(menu.get(), 1035), MF_GRAYED) << c.name;
        EXPECT_EQ(ItemState(menu.get(), 1036), MF_GRAYED) << c.name;
    }
}

TEST_F(Commands, WithoutSkinFoldersTheSkinsMenuHoldsOnlyTheBuiltInSkin) {
    Start();
    fw::Menu menu = Dlg().BuildCurrentMainMenu();
    const std::vector<std::string> expected = {
        "Set this as &Default Skin 31035",
        "&Reset to Original Skin Size 31042",
        "&Download More Skins 31041",
        "-",
        "Vessa 50000 [check]",
    };
    EXPECT_EQ(DumpPopup(::GetSubMenu(menu.get(), 0), "&Skins"), expected);
}

TEST_F(Commands, CheckDefaultBrowserTurnsAMissingValueOff) {
    Start();
    CRegSettings::DeleteValue(HKEY_LOCAL_MACHINE, kBrowserKey, "CheckDefaultBrowser");
    for (DWORD expected : {0u, 1u, 0u}) {
        Command(kCheckDefaultBrowser);
        EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kBrowserKey, "CheckDefaultBrowser"), expected);
        EXPECT_EQ(MenuItemState(kCheckDefaultBrowser), expected ? MF_CHECKED : 0);
    }
}

TEST_F(Commands, SkinItemsChangeToTheirSkinAndOtherIdsAreIgnored) {
    Start([](browsertest::InProcessBrowser& b) {
        browsertest::InstallSkin(b.dir, "vessa-folder", "Blue");
        b.dir.MakeFolder("Skins\\Blue\\Nested");
    });
    testsupport::BoxAnswerer boxes;
    fw::Menu menu = Dlg().BuildCurrentMainMenu();
    ASSERT_EQ(Dlg().SkinList().size(), 2u);
    EXPECT_EQ(ItemState(menu.get(), kFirstSkin + 1), 0);
    const RECT before = fw::ScreenRectOf(Dlg().hwnd());

    // Ids past the list are ignored; a look-up past it would crash or take
    // a stray name, so it is first tried in a child, where either ends it.
    ASSERT_RETURNS_IN_CHILD(testsupport::BoxAnswerer childBoxes; Command(kFirstSkin + 2); Command(0xFFFF);
                            if (Dlg().SkinPath().name != "vessa" || !childBoxes.Boxes().empty())
                                testsupport::EndChild(1));
    Command(kFirstSkin + 2);
    Command(0xFFFF);
    EXPECT_EQ(Dlg().SkinPath().name, "vessa");
    Command(kFirstSkin + 1);
    EXPECT_EQ(Dlg().SkinPath().name, "Blue");
    EXPECT_FALSE(Dlg().SkinPath().builtIn);
    const RECT after = fw::ScreenRectOf(Dlg().hwnd());
    EXPECT_TRUE(::EqualRect(&before, &after)) << "the window keeps its place and size";
    EXPECT_EQ(MenuItemState(kFirstSkin + 1), MF_CHECKED);

    Command(kSetDefaultSkin);
    std::string stored;
    EXPECT_EQ(CRegSettings().GetDefaultSkin(&stored), 0);
    EXPECT_EQ(stored, "Blue");

    Command(kFirstSkin);
    EXPECT_EQ(Dlg().SkinPath().name, "vessa");
    ASSERT_TRUE(PumpPosted()) << "a box from the skin change's queued work would come first";
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Commands, ResetSkinSizeGivesTheWindowTheSkinsOwnSize) {
    Start();
    ::SetWindowPos(Dlg().hwnd(), nullptr, 40, 30, 700, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    Command(kResetSkinSize);
    const RECT r = fw::ScreenRectOf(Dlg().hwnd());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 796);
    EXPECT_EQ(r.bottom - r.top, 568);
}

TEST_F(Commands, BackAndForwardWaitUntilTheControlAllowsThem) {
    Start();
    calls.clear();
    // Button, menu item and Alt+arrow, each while the control allows neither.
    Click(IDC_BACK);
    Command(IDC_BACK);
    Dlg().OnShortcutKey(VK_LEFT, true);
    Click(IDC_FORWARD);
    Command(IDC_FORWARD);
    Dlg().OnShortcutKey(VK_RIGHT, true);
    EXPECT_TRUE(TakeCallIds().empty());

    pagetest::SendCommandStateChange(Sink(), CSC_NAVIGATEBACK, true);
    EXPECT_EQ(MenuItemState(IDC_BACK), 0);
    Click(IDC_BACK);
    Command(IDC_BACK);
    Dlg().OnShortcutKey(VK_LEFT, true);
    Click(IDC_FORWARD);
    EXPECT_EQ(TakeCallIds(),
              (std::vector<DISPID>{CWebBrowser2::kGoBack, CWebBrowser2::kGoBack, CWebBrowser2::kGoBack}));

    pagetest::SendCommandStateChange(Sink(), CSC_NAVIGATEFORWARD, true);
    pagetest::SendCommandStateChange(Sink(), CSC_NAVIGATEBACK, false);
    Click(IDC_FORWARD);
    Command(IDC_FORWARD);
    Dlg().OnShortcutKey(VK_RIGHT, true);
    Click(IDC_BACK);
    EXPECT_EQ(TakeCallIds(),
              (std::vector<DISPID>{CWebBrowser2::kGoForward, CWebBrowser2::kGoForward, CWebBrowser2::kGoForward}));
}

TEST_F(Commands, EachPageCommandMakesItsOneCallAndFailuresShowNothing) {
    testsupport::BoxAnswerer boxes;
    Start();
    using C = CWebBrowser2;
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<DISPID> ids;
        long command = 0, option = 0;  // of an ExecWB
    };
    const Case cases[] = {
        {"print button", [&] { Click(IDC_PRINT); }, {C::kExecWB}, 6, 0},
        {"print item", [&] { Command(kPrint); }, {C::kExecWB}, 6, 0},
        {"save as", [&] { Command(kSaveAs); }, {C::kExecWB}, 4, 0},
        {"page setup", [&] { Command(kPageSetup); }, {C::kExecWB}, 8, 0},
        {"properties", [&] { Command(kProperties); }, {C::kExecWB}, 10, 0},
        {"select all", [&] { Command(kSelectAll); }, {C::kExecWB}, 17, 0},
        {"largest text", [&] { Command(kLargest); }, {C::kExecWB}, 19, 2},
        {"smallest text", [&] { Command(kSmallest); }, {C::kExecWB}, 19, 2},
        {"source button", [&] { Click(IDC_EDITSOURCE); }, {C::kDocument}},
        {"source item", [&] { Command(kSource); }, {C::kDocument}},
        {"find item", [&] { Command(kFind); }, {C::kDocument}},
        {"Alt+F", [&] { Dlg().OnShortcutKey('F', true); }, {C::kDocument}},
        {"Internet options", [&] { Command(kInternetOptions); }, {C::kDocument}},
        {"home button", [&] { Click(IDC_HOME); }, {C::kGoHome}},
        {"home item", [&] { Command(IDC_HOME); }, {C::kGoHome}},
        {"Alt+Home", [&] { Dlg().OnShortcutKey(VK_HOME, true); }, {C::kGoHome}},
        {"stop", [&] { Click(IDC_STOP); }, {C::kStop}},
        {"Esc", [&] { Command(IDCANCEL); }, {C::kStop}},
        {"F5", [&] { Dlg().OnShortcutKey(VK_F5, false); }, {C::kRefresh}},
        {"another key", [&] { Dlg().OnShortcutKey(VK_F6, false); }, {}},
        {"skins page", [&] { Command(kMoreSkins); }, {C::kNavigate}},
    };
    for (const Case& c : cases) {
        calls.clear();
        c.act();
        std::vector<DISPID> ids;
        for (const auto& call : calls) ids.push_back(call.id);
        EXPECT_EQ(ids, c.ids) << c.name;
        if (c.ids == std::vector<DISPID>{C::kExecWB} && !calls.empty()) {
            EXPECT_EQ(calls[0].command, c.command) << c.name;
            EXPECT_EQ(calls[0].option, c.option) << c.name;
        }
    }
    // Wine's control has no zoom: a failed size change keeps the index.
    EXPECT_EQ(Dlg().TextSizeIndex(), 2);
    EXPECT_EQ(MenuItemState(kMedium), MF_CHECKED);
    ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000));
    EXPECT_EQ(befores.back(), AppConstants::kSkinsPage);
    ASSERT_TRUE(PumpPosted()) << "a box from the commands' queued work would come first";
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Commands, RefreshStopsNothingAndMarksTheHistory) {
    Start();
    calls.clear();
    Click(IDC_REFRESH);
    EXPECT_EQ(TakeCallIds(), std::vector<DISPID>{CWebBrowser2::kRefresh});
    EXPECT_TRUE(Dlg().IsHistoryAddPending());
    pagetest::SendDownloadBegin(Sink());
    EXPECT_TRUE(Dlg().IsAnimationRunning());
    std::vector<std::string> history;
    CRegSettings().GetTypedURLs(&history);
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history.front(), startUrl) << "the refreshed page";
    Click(IDC_STOP);
    EXPECT_FALSE(Dlg().IsAnimationRunning());
    EXPECT_EQ(Dlg().Button(IDC_ANIMATOR).FrameIndex(), 0);
}

TEST_F(Commands, WorkOfflineHoldsAcrossDownloadStarts) {
    Start();
    auto owned = std::make_unique<FakeConnectedState>(INTERNET_STATE_CONNECTED);
    FakeConnectedState& state = *owned;
    Dlg().Commands().Shell().UseConnectedState(std::move(owned));
    EXPECT_EQ(MenuItemState(kWorkOffline), 0);

    Command(kWorkOffline);
    EXPECT_EQ(state.state_, static_cast<DWORD>(INTERNET_STATE_DISCONNECTED_BY_USER));
    EXPECT_EQ(state.flags_, static_cast<DWORD>(ISO_FORCE_DISCONNECTED));
    EXPECT_EQ(MenuItemState(kWorkOffline), MF_CHECKED);
    EXPECT_TRUE(Shown(IDC_OFFLINE_PICTURE));
    EXPECT_FALSE(Shown(IDC_ONLINE_PICTURE));
    EXPECT_TRUE(Control().GetOffline());

    // The next page's download start reads the control's property back.
    ASSERT_EQ(pagetest::SendDownloadBegin(Sink()), S_OK);
    EXPECT_EQ(state.state_, static_cast<DWORD>(INTERNET_STATE_DISCONNECTED_BY_USER));
    EXPECT_TRUE(Shown(IDC_OFFLINE_PICTURE));
    EXPECT_EQ(MenuItemState(kWorkOffline), MF_CHECKED);

    Click(IDC_WORKOFFLINE);
    EXPECT_EQ(state.state_, static_cast<DWORD>(INTERNET_STATE_CONNECTED));
    EXPECT_EQ(state.flags_, 0u);
    EXPECT_FALSE(Control().GetOffline());
    EXPECT_TRUE(Shown(IDC_ONLINE_PICTURE));
    ASSERT_EQ(pagetest::SendDownloadBegin(Sink()), S_OK);
    EXPECT_EQ(MenuItemState(kWorkOffline), 0);

    // A state that cannot be read counts as offline: the command goes online.
    state.readable_ = false;
    EXPECT_EQ(MenuItemState(kWorkOffline), MF_CHECKED);
    Command(kWorkOffline);
    EXPECT_EQ(state.state_, static_cast<DWORD>(INTERNET_STATE_CONNECTED));
}

// Records the key presses that reach any window of this thread.
struct KeyRecorder {
    static inline testsupport::MessageLog* keys = nullptr;
    testsupport::MessageLog seen;
    HHOOK hook;
    KeyRecorder() {
        keys = &seen;
        hook = ::SetWindowsHookExA(WH_GETMESSAGE, Proc, nullptr, ::GetCurrentThreadId());
    }
    ~KeyRecorder() {
        ::UnhookWindowsHookEx(hook);
        keys = nullptr;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_KEYDOWN && keys)
            keys->Add(msg->message, msg->wParam, msg->lParam, msg->hwnd);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

TEST_F(Commands, CutCopyAndPasteTypeOnlyIntoTheForegroundBrowser) {
    Start();
    // Another window in front: the keys would go to it.
    HWND other = ::CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 50, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_TRUE(other);
    ::SetForegroundWindow(other);
    ::SetFocus(other);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == other; }, 5000));
    {
        KeyRecorder recorder;
        EXPECT_FALSE(Dlg().Commands().Edit().SimulateControlKey('C'));
        Click(IDC_COPY);
        Command(kPaste);
        // A later key of the same input queue: any typed before it comes first.
        ::keybd_event(VK_SHIFT, 0, 0, 0);
        ::keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        ASSERT_TRUE(PumpUntil([&] { return !recorder.seen.Entries().empty(); }, 5000));
        static const testsupport::ExpectedMessage kShiftOnly[] = {{WM_KEYDOWN, testsupport::kWParam, VK_SHIFT}};
        testsupport::ExpectSequence(recorder.seen, kShiftOnly, "no key while another window is in front");
    }
    ::DestroyWindow(other);

    ::SetForegroundWindow(Dlg().hwnd());
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == Dlg().hwnd(); }, 5000));
    KeyRecorder recorder;
    Click(IDC_CUT);
    HWND holder = Control().hwnd();
    ASSERT_TRUE(PumpUntil([&] { return recorder.seen.Entries().size() >= 2; }, 5000)) << recorder.seen.Entries().size();
    for (const auto& key : recorder.seen.Entries())
        EXPECT_TRUE(key.window == holder || ::IsChild(holder, key.window)) << "a key outside the page control";
    static const testsupport::ExpectedMessage kCut[] = {{WM_KEYDOWN, testsupport::kWParam, VK_CONTROL},
                                                        {WM_KEYDOWN, testsupport::kWParam, 'X'}};
    testsupport::ExpectSequence(recorder.seen, kCut, "Ctrl+X typed into the page control");
}

TEST_F(Commands, EveryMenuPressDestroysItsMenus) {
    Start();
    // Presses Esc on every popup menu of this process while the test runs.
    std::atomic<bool> stop{false};
    std::thread closer([&] {
        while (!stop) {
            if (HWND popup = WindowOfClass(::GetCurrentProcessId(), "#32768"))
                ::PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            ::Sleep(20);
        }
    });
    std::vector<HMENU> menus;
    for (int i = 0; i < 3; ++i) {
        Click(IDC_MENU);
        menus.push_back(Dlg().LastMainMenu());
    }
    stop = true;
    closer.join();
    EXPECT_NE(menus[0], menus[1]);
    EXPECT_NE(menus[1], menus[2]);
    for (HMENU menu : menus) {
        EXPECT_TRUE(menu != nullptr);
        EXPECT_FALSE(::IsMenu(menu)) << "a press's menus outlived it";
    }
}

TEST_F(Commands, TheDropDownRecordsTheChosenAddressInTheHistory) {
    Start();
    const std::string a = pagetest::ClosedLoopbackUrl("/a"), b = pagetest::ClosedLoopbackUrl("/b");
    ASSERT_EQ(CRegSettings().SetTypedURLs({a, b}), 0);
    HWND box = Dlg().Item(IDC_ADDRESS);
    Dlg().SetItemText(IDC_ADDRESS, "typed, not gone to");
    ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(box));
    EXPECT_FALSE(Dlg().IsAddressUnedited());
    ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_DROPDOWN), reinterpret_cast<LPARAM>(box));
    EXPECT_EQ(::SendMessageA(box, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), "typed, not gone to") << "the refill keeps the text";

    ::SendMessageA(box, CB_SETCURSEL, 1, 0);
    befores.clear();
    ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_CLOSEUP), reinterpret_cast<LPARAM>(box));
    ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000));
    EXPECT_EQ(befores.front(), b);
    EXPECT_TRUE(Dlg().IsAddressUnedited());
    pagetest::SendDownloadBegin(Sink());
    std::vector<std::string> history;
    CRegSettings().GetTypedURLs(&history);
    EXPECT_EQ(history, (std::vector<std::string>{b, a}));

    // Closing on the entry already shown goes nowhere.
    befores.clear();
    Dlg().SetItemText(IDC_ADDRESS, b);
    ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_DROPDOWN), reinterpret_cast<LPARAM>(box));
    ::SendMessageA(box, CB_SETCURSEL, 0, 0);
    ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_CLOSEUP), reinterpret_cast<LPARAM>(box));
    // A later closing on another entry: a navigation the first had caused would come first.
    ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_DROPDOWN), reinterpret_cast<LPARAM>(box));
    ::SendMessageA(box, CB_SETCURSEL, 1, 0);
    ::SendMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADDRESS, CBN_CLOSEUP), reinterpret_cast<LPARAM>(box));
    ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000));
    EXPECT_EQ(befores, std::vector<std::string>{a}) << "closing on the entry shown goes nowhere";
}

TEST_F(Commands, GoWithAnEmptyAddressGoesNowhere) {
    Start();
    calls.clear();
    Dlg().SetItemText(IDC_ADDRESS, "");
    Click(IDC_GO);
    Command(IDOK);
    EXPECT_TRUE(TakeCallIds().empty());
    EXPECT_FALSE(Dlg().IsHistoryAddPending());
}

TEST(TypedAddress, AnAddressWithoutASchemeGetsHttp) {
    const std::string existing = "C:\\here";
    const auto exists = [&](const std::string& path) { return path == existing; };
    const struct {
        const char* typed;
        const char* goesTo;
    } cases[] = {
        {"127.0.0.1:8731/index.html", "http://127.0.0.1:8731/index.html"},
        {"www.example.com", "http://www.example.com"},
        {"localhost:8080/", "http://localhost:8080/"},
        {"example.com/a:b", "http://example.com/a:b"},
        {"http://127.0.0.1/", "http://127.0.0.1/"},
        {"HTTPS://secure.example.com", "HTTPS://secure.example.com"},
        {"ftp://files.example.com", "ftp://files.example.com"},
        {"about:blank", "about:blank"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"javascript:void(0)", "javascript:void(0)"},
        {"C:\\here", "C:\\here"},                  // an existing folder stays a path
        {"C:\\not\\here", "http://C:\\not\\here"},  // a path that names nothing is no file to open
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CompleteTypedAddress(c.typed, exists), c.goesTo) << c.typed;
}

TEST_F(Commands, GoAndEnterGiveATypedAddressWithoutASchemeHttp) {
    Start();
    const std::string url = pagetest::ClosedLoopbackUrl("/typed");
    ASSERT_EQ(url.rfind("http://", 0), 0u);
    for (bool enter : {false, true}) {
        befores.clear();
        Dlg().SetItemText(IDC_ADDRESS, url.substr(7));
        if (enter)
            Command(IDOK);
        else
            Click(IDC_GO);
        ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000)) << (enter ? "Enter" : "GO");
        EXPECT_EQ(befores.front(), url);
        EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), url) << "the box shows where it went";
    }
    // An existing local folder is opened as it is.
    const std::string folder = browser->dir.Path();
    befores.clear();
    Dlg().SetItemText(IDC_ADDRESS, folder);
    Click(IDC_GO);
    ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000));
    EXPECT_NE(befores.front().rfind("http://", 0), 0u) << befores.front();
}

// Wine's control sends BeforeNavigate2 for HOME but never NavigateComplete2
// or TitleChange: the address box, and with it what Add Favorite stores,
// takes HOME's address from it.
TEST_F(Commands, TheAddressFollowsHomeAndWhatAddFavoriteStoresWithIt) {
    regtest::SavedKey main{HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main"};
    const std::string home = pagetest::ClosedLoopbackUrl("/home");
    fw::RegKey key = fw::CreateKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", KEY_SET_VALUE);
    ASSERT_TRUE(key);
    ASSERT_TRUE(fw::WriteString(key.get(), "Start Page", home));
    Start();
    ASSERT_NE(Dlg().ItemText(IDC_ADDRESS), home);
    befores.clear();
    Click(IDC_HOME);
    ASSERT_TRUE(PumpUntil([&] { return !befores.empty(); }, 10000)) << "HOME goes somewhere";
    EXPECT_EQ(befores.front(), home);
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), home);
    EXPECT_EQ(Dlg().GetAddressText(), home) << "what Add Favorite stores";

    // A frame's navigation inside the page leaves the address alone, and so
    // does a late report of the window's own start: what was typed since stays.
    VARIANT_BOOL cancel = VARIANT_FALSE;
    ASSERT_EQ(pagetest::SendBeforeNavigate2(Sink(), nullptr, pagetest::ClosedLoopbackUrl("/frame"), "inner", &cancel),
              S_OK);
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), home);
    Dlg().SetItemText(IDC_ADDRESS, "typed since");
    ASSERT_EQ(pagetest::SendBeforeNavigate2(Sink(), nullptr, startUrl, "", &cancel), S_OK);
    EXPECT_EQ(Dlg().ItemText(IDC_ADDRESS), "typed since");
}

TEST_F(Commands, HelpPagesStartTheBrowserProgramOrSayItIsMissing) {
    testsupport::BoxAnswerer boxes;
    Start();
    Command(kContents);
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_EQ(boxes.Boxes()[0].text,
              "Failed to open Vessa.exe. Please ensure that Vessa.exe is located in the same directory as this "
              "Vessa Manager program");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Vessa");

    browser->dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
    const std::string log = browser->dir / "launches.log";
    Command(kContents);
    Command(kQuickStart);
    ASSERT_TRUE(PumpUntil([&] { return Lines(log).size() == 2; }, 20000));
    std::vector<std::string> arguments{ArgumentsOf(Lines(log)[0]), ArgumentsOf(Lines(log)[1])};
    std::sort(arguments.begin(), arguments.end());
    EXPECT_EQ(arguments,
              (std::vector<std::string>{browser->dir / "Help\\Guide.htm", browser->dir / "Help\\Quickst.htm"}));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(Commands, SkinLibrarySaysItIsNotInUse) {
    testsupport::BoxAnswerer boxes;
    Start();
    ::PostMessageA(Dlg().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_SKINLIBRARY, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Dlg().Item(IDC_SKINLIBRARY)));
    ASSERT_TRUE(PumpUntil([&] { return boxes.Boxes().size() == 1; }, 10000));
    EXPECT_EQ(boxes.Boxes()[0].text, "Skin Library is not in use yet.");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Vessa");
}

}  // namespace
}  // namespace commandtest
