// The property pane in-process: its tabs and pages, what a selection fills
// and enables, the title change, keys on the link page, the clipboard and
// Launch commands, and what a save through the pages writes.
#include "property_fixture.h"

#include "resource.h"

#include "testsupport/message_sequence.h"

#include <commctrl.h>

#include <climits>
#include <cstring>

using mgrtest::PropertyFixture;
using testsupport::PumpUntil;

namespace {

std::string TabText(HWND tab, int index) {
    char text[129] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

bool StyleVisible(HWND wnd) {
    return (::GetWindowLongA(wnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(data))) text = p;
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

void SetClipboard(const char* text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    if (text) {
        const size_t size = std::strlen(text) + 1;
        HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(::GlobalLock(mem), text, size);
        ::GlobalUnlock(mem);
        ::SetClipboardData(CF_TEXT, mem);
    }
    ::CloseClipboard();
}

}  // namespace

TEST(ManagerPropertyView, ThreeOwnerDrawnTabsNamedByTheirPagesWithTheLinkPageShown) {
    PropertyFixture f;
    f.StartManager();
    HWND tab = f.view->TabCtrl().hwnd();
    EXPECT_EQ(::GetDlgCtrlID(tab), IDC_PROPERTY_TABS);
    EXPECT_EQ(::GetParent(tab), f.view->hwnd());
    EXPECT_TRUE(::GetWindowLongA(tab, GWL_STYLE) & TCS_OWNERDRAWFIXED);
    ASSERT_EQ(TabCtrl_GetItemCount(tab), 3);
    EXPECT_EQ(TabText(tab, 0), "Link Options");
    EXPECT_EQ(TabText(tab, 1), "Skin Options");
    EXPECT_EQ(TabText(tab, 2), "Font && Color Options");

    HWND link = f.view->LinkPage().hwnd();
    EXPECT_EQ(::GetParent(link), tab);
    EXPECT_FALSE(::GetWindowLongA(link, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(::IsWindowVisible(link));
    EXPECT_FALSE(StyleVisible(f.view->SkinPage().hwnd()));
    RECT first{}, page = fw::ScreenRectOf(link);
    TabCtrl_GetItemRect(tab, 0, &first);
    ::MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&first), 2);
    EXPECT_EQ(page.left, first.left);
    EXPECT_EQ(page.top, first.bottom);
    // Every shown control of the link page lies within the pane at its first size.
    const RECT column = fw::ScreenRectOf(f.view->hwnd());
    for (int id : {IDC_TITLE_LABEL, IDC_LINK_TITLE, IDC_LINK_ADDRESS, IDC_LINK_COMMENTS, IDC_SEPARATE_BROWSER}) {
        EXPECT_LE(fw::ScreenRectOf(f.Control(id)).right, column.right) << id;
        EXPECT_LE(fw::ScreenRectOf(f.Control(id)).bottom, column.bottom) << id;
    }
}

TEST(ManagerPropertyView, ATabChangeHidesThePageAndShowsTheNewOneInItsPlace) {
    PropertyFixture f;
    f.StartManager();
    HWND tab = f.view->TabCtrl().hwnd();
    HWND link = f.view->LinkPage().hwnd();
    HWND font = f.view->FontPage().hwnd();
    const RECT linkRect = fw::ScreenRectOf(link);
    // As a click on the third tab would: the control notifies its parent.
    NMHDR hdr{tab, IDC_PROPERTY_TABS, static_cast<UINT>(TCN_SELCHANGING)};
    EXPECT_EQ(::SendMessageA(f.view->hwnd(), WM_NOTIFY, IDC_PROPERTY_TABS, reinterpret_cast<LPARAM>(&hdr)), FALSE);
    TabCtrl_SetCurSel(tab, 2);
    hdr.code = static_cast<UINT>(TCN_SELCHANGE);
    ::SendMessageA(f.view->hwnd(), WM_NOTIFY, IDC_PROPERTY_TABS, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_FALSE(StyleVisible(link));
    EXPECT_TRUE(StyleVisible(font));
    const RECT fontRect = fw::ScreenRectOf(font);
    EXPECT_EQ(fontRect.left, linkRect.left);
    EXPECT_EQ(fontRect.top, linkRect.top);
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == font || ::IsChild(font, focus)) << "the new page has the focus";
}

// A click on a tab: the control asks its parent first, tells it, and at the
// release reports the click.
TEST(ManagerPropertyView, AClickedTabNotifiesTheViewChangingThenChange) {
    PropertyFixture f;
    f.StartManager();
    HWND tab = f.view->TabCtrl().hwnd();
    RECT third{};
    ASSERT_TRUE(TabCtrl_GetItemRect(tab, 2, &third));
    const LPARAM at = MAKELPARAM((third.left + third.right) / 2, (third.top + third.bottom) / 2);
    testsupport::MessageLog log;
    testsupport::MessageRecorder recorder(f.view->hwnd(), log, testsupport::IsNotification);
    ::SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(tab, WM_LBUTTONUP, 0, at);
    static const testsupport::ExpectedMessage kClick[] = {
        testsupport::Notify(TCN_SELCHANGING, testsupport::kWParam, IDC_PROPERTY_TABS),
        testsupport::Notify(TCN_SELCHANGE, testsupport::kWParam, IDC_PROPERTY_TABS),
        testsupport::Notify(NM_CLICK, testsupport::kWParam, IDC_PROPERTY_TABS)};
    testsupport::ExpectSequence(log, kClick, "a click on the third tab");
    EXPECT_EQ(TabCtrl_GetCurSel(tab), 2);
    EXPECT_FALSE(StyleVisible(f.view->LinkPage().hwnd()));
    EXPECT_TRUE(StyleVisible(f.view->FontPage().hwnd()));
}

TEST(ManagerPropertyView, ALinkFillsThePageATemplateHidesItsAddressAGroupEmptiesIt) {
    PropertyFixture f;
    CURLObject member;
    member.link.title = "Member";
    member.options.separateBrowser = 1;
    const std::string alpha = f.AddLink("Alpha");
    const std::string memberFile = f.AddLink(member);
    f.dir.WriteFile("Groups\\Pair.vsg", "Links\\" + alpha + "\r\nLinks\\" + memberFile + "\r\n");
    f.AddTemplate("Default Template", "http://stored.example/");
    f.StartManager();

    f.Select(f.Link("Alpha"));
    EXPECT_EQ(f.Text(IDC_LINK_TITLE), "Alpha");
    EXPECT_EQ(f.Text(IDC_LINK_ADDRESS), "http://127.0.0.1:1/Alpha");
    EXPECT_EQ(f.Text(IDC_LINK_COMMENTS), "About Alpha");
    for (int id : {IDC_LINK_TITLE, IDC_LINK_ADDRESS, IDC_LINK_COMMENTS, IDC_SEPARATE_BROWSER})
        EXPECT_TRUE(f.Enabled(id));

    f.Select(f.Template());
    EXPECT_EQ(f.Text(IDC_LINK_TITLE), "Default Template");
    EXPECT_EQ(f.Text(IDC_LINK_ADDRESS), "");
    EXPECT_FALSE(f.Enabled(IDC_LINK_ADDRESS));
    EXPECT_FALSE(f.Enabled(IDC_LINK_TITLE)) << "the default template keeps its title";
    EXPECT_TRUE(f.Enabled(IDC_LINK_COMMENTS));

    HTREEITEM pair = f.Group("Pair");
    f.Select(pair);
    for (int id : {IDC_LINK_TITLE, IDC_LINK_ADDRESS, IDC_LINK_COMMENTS, IDC_SEPARATE_BROWSER, IDC_REFRESH_ON,
                   IDC_REFRESH_MINUTES, IDC_TITLE_LABEL, IDC_ADDRESS_LABEL, IDC_COMMENTS_LABEL})
        EXPECT_FALSE(f.Enabled(id)) << id;
    EXPECT_EQ(f.Text(IDC_LINK_TITLE), "");
    EXPECT_EQ(f.Text(IDC_LINK_ADDRESS), "");
    EXPECT_EQ(f.Text(IDC_LINK_COMMENTS), "");

    f.Select(f.Item(pair, "Member"));
    EXPECT_EQ(f.Text(IDC_LINK_TITLE), "Member");
    EXPECT_EQ(::IsDlgButtonChecked(f.view->LinkPage().hwnd(), IDC_SEPARATE_BROWSER), BST_CHECKED);
    EXPECT_FALSE(f.Enabled(IDC_SEPARATE_BROWSER)) << "a member's flag shows but cannot change";
    EXPECT_TRUE(f.Enabled(IDC_LINK_TITLE));
}

TEST(ManagerPropertyView, TheTemplateIsStoredWithAnEmptyAddress) {
    PropertyFixture f;
    f.AddLink("Alpha");
    f.AddTemplate("Default Template", "http://stored.example/");
    f.StartManager();
    f.Select(f.Link("Alpha"));
    f.Select(f.Template());
    f.Select(f.tree->LinksItem());
    auto stored = f.Load("Templates\\Default.vst");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->link.address, "");
    EXPECT_EQ(stored->link.title, "Default Template");
}

TEST(ManagerPropertyView, ANewTitleRenamesTheItemAndTheFileOnceTheFocusMoves) {
    PropertyFixture f;
    const std::string alpha = f.AddLink("Alpha");
    f.StartManager();
    f.Select(f.Link("Alpha"));
    f.Retype(IDC_LINK_TITLE, "Gamma");
    EXPECT_EQ(f.Text(IDC_LINK_TITLE), "Gamma");
    ::SetFocus(f.Control(IDC_LINK_ADDRESS));
    // Posted: nothing happens inside the focus change itself.
    EXPECT_EQ(f.tree->Text(f.tree->CurrentItem()), "Alpha");
    ASSERT_TRUE(PumpUntil([&] { return f.tree->Text(f.tree->CurrentItem()) == "Gamma"; }, 10000));
    EXPECT_EQ(f.Load("Links\\" + alpha)->link.title, "Gamma");

    // A change of case is a change.
    f.Retype(IDC_LINK_TITLE, "gamma");
    ::SetFocus(f.Control(IDC_LINK_COMMENTS));
    ASSERT_TRUE(PumpUntil([&] { return f.tree->Text(f.tree->CurrentItem()) == "gamma"; }, 10000));
    EXPECT_EQ(f.Load("Links\\" + alpha)->link.title, "gamma");
}

TEST(ManagerPropertyView, ATitleLeftAsItWasTellsNothing) {
    PropertyFixture f;
    const std::string alpha = f.AddLink("Alpha");
    f.StartManager();
    f.Select(f.Link("Alpha"));
    // The item's text is changed behind the page's back: a rename would show.
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = f.tree->CurrentItem();
    tv.pszText = const_cast<char*>("Marker");
    TreeView_SetItem(f.tree->hwnd(), &tv);
    const std::string before = f.dir.ReadFile("Links\\" + alpha);
    ::SetFocus(f.Control(IDC_LINK_TITLE));
    f.Retype(IDC_LINK_TITLE, "Alpha");
    ::SetFocus(f.Control(IDC_LINK_ADDRESS));
    testsupport::PumpFor(0);
    f.PumpLoop();
    EXPECT_EQ(f.tree->Text(f.tree->CurrentItem()), "Marker");
    EXPECT_EQ(f.dir.ReadFile("Links\\" + alpha), before);
}

TEST(ManagerPropertyView, EnterWalksTheEditsAddsALineInTheCommentsAndEscChangesNothing) {
    PropertyFixture f;
    f.AddLink("Alpha");
    f.StartManager();
    f.Select(f.Link("Alpha"));
    HWND page = f.view->LinkPage().hwnd();
    ::SetFocus(f.Control(IDC_LINK_TITLE));
    f.Key(VK_RETURN);
    EXPECT_EQ(::GetFocus(), f.Control(IDC_LINK_ADDRESS));
    f.Key(VK_RETURN);
    EXPECT_EQ(::GetFocus(), f.Control(IDC_LINK_COMMENTS));
    ::SendMessageA(f.Control(IDC_LINK_COMMENTS), EM_SETSEL, 0, -1);
    f.Type("one");
    f.Key(VK_RETURN);
    f.Type("two");
    EXPECT_EQ(f.Text(IDC_LINK_COMMENTS), "one\r\ntwo");
    EXPECT_EQ(::GetFocus(), f.Control(IDC_LINK_COMMENTS));

    f.Key(VK_ESCAPE);
    ::SetFocus(f.Control(IDC_LINK_TITLE));
    f.Key(VK_ESCAPE);
    f.PumpLoop();
    EXPECT_TRUE(::IsWindow(page));
    EXPECT_TRUE(::IsWindowVisible(page));
    EXPECT_EQ(f.Text(IDC_LINK_TITLE), "Alpha");
    EXPECT_EQ(f.Text(IDC_LINK_COMMENTS), "one\r\ntwo");
}

TEST(ManagerPropertyView, TheRefreshControlsExistHiddenWithTheirSpinRange) {
    PropertyFixture f;
    f.StartManager();
    for (int id : {IDC_REFRESH_ON, IDC_REFRESH_LABEL, IDC_MINUTES_LABEL, IDC_REFRESH_MINUTES, IDC_REFRESH_SPIN, IDOK,
                   IDCANCEL}) {
        ASSERT_NE(f.Control(id), nullptr) << id;
        EXPECT_FALSE(StyleVisible(f.Control(id))) << id;
    }
    for (int id : {IDC_TITLE_LABEL, IDC_LINK_TITLE, IDC_LINK_ADDRESS, IDC_LINK_COMMENTS, IDC_SEPARATE_BROWSER})
        EXPECT_TRUE(StyleVisible(f.Control(id))) << id;
    int low = 0, high = 0;
    ::SendMessageA(f.Control(IDC_REFRESH_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                   reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 32767);
    EXPECT_EQ(reinterpret_cast<HWND>(::SendMessageA(f.Control(IDC_REFRESH_SPIN), UDM_GETBUDDY, 0, 0)),
              f.Control(IDC_REFRESH_MINUTES));
}

TEST(ManagerPropertyView, CopyFollowsTheSelectionAndPasteTheClipboard) {
    PropertyFixture f;
    f.AddLink("Alpha");
    f.StartManager();
    f.Select(f.Link("Alpha"));
    ::SetFocus(f.Control(IDC_LINK_COMMENTS));
    EXPECT_EQ(f.frame->ActiveView(), f.view) << "the page's edit makes its pane the active one";
    ::SendMessageA(f.Control(IDC_LINK_COMMENTS), EM_SETSEL, 0, 5);
    EXPECT_TRUE(f.CommandEnabled(ID_EDIT_COPY));
    EXPECT_TRUE(f.CommandEnabled(ID_EDIT_CUT));
    SetClipboard(nullptr);
    EXPECT_TRUE(f.frame->RouteCommand(ID_EDIT_COPY));
    EXPECT_EQ(ClipboardText(), "About");

    ::SendMessageA(f.Control(IDC_LINK_COMMENTS), EM_SETSEL, 2, 2);
    EXPECT_FALSE(f.CommandEnabled(ID_EDIT_COPY));
    EXPECT_FALSE(f.CommandEnabled(ID_EDIT_CUT));
    SetClipboard(nullptr);
    EXPECT_FALSE(f.CommandEnabled(ID_EDIT_PASTE));
    SetClipboard("XY");
    EXPECT_TRUE(f.CommandEnabled(ID_EDIT_PASTE));
    EXPECT_TRUE(f.frame->RouteCommand(ID_EDIT_PASTE));
    EXPECT_EQ(f.Text(IDC_LINK_COMMENTS), "AbXYout Alpha");

    // Off the edits, nothing goes to them.
    ::SetFocus(f.Control(IDC_SEPARATE_BROWSER));
    EXPECT_EQ(f.frame->ActiveView(), f.view);
    EXPECT_FALSE(f.CommandEnabled(ID_EDIT_PASTE));
}

TEST(ManagerPropertyView, LaunchFromThePaneFollowsTheTreesRule) {
    PropertyFixture f;
    const std::string alpha = f.AddLink("Alpha");
    f.dir.WriteFile("Groups\\Empty.vsg", "");
    f.AddTemplate("Default Template", "");
    f.StartManager();
    const struct {
        HTREEITEM item;
        bool enabled;
    } cases[] = {
        {f.tree->Root(), false},   {f.tree->LinksItem(), false}, {f.tree->GroupsItem(), false},
        {f.Group("Empty"), false}, {f.Template(), false},        {f.Link("Alpha"), true},
    };
    for (const auto& c : cases) {
        f.Select(c.item);
        f.frame->SetActiveView(f.view);
        EXPECT_EQ(f.CommandEnabled(ID_LAUNCH), c.enabled) << f.tree->Text(c.item);
        EXPECT_EQ(f.CommandEnabled(ID_LAUNCH_BUTTON), c.enabled) << f.tree->Text(c.item);
    }
    EXPECT_TRUE(f.frame->RouteCommand(ID_LAUNCH));
    ASSERT_TRUE(PumpUntil([&] { return !f.Launches().empty(); }, 20000));
    EXPECT_NE(f.Launches().front().find(alpha), std::string::npos);
}

// What the user did not change, or what the page cannot show, stays as stored.
TEST(ManagerPropertyView, ASaveThroughThePagesKeepsWhatWasNotChanged) {
    const struct {
        std::int32_t seconds;
        std::int32_t refresh;
        std::int32_t separate;
    } cases[] = {{90, 1, 2}, {-60, 1, 0}, {INT_MAX, 0, 1}, {59, 7, 1}};
    for (const auto& c : cases) {
        PropertyFixture f;
        CURLObject record;
        record.link.title = "Alpha";
        record.link.address = "http://127.0.0.1:1/a";
        record.link.refreshInterval = c.seconds;
        record.link.refreshEnabled = c.refresh;
        record.options.separateBrowser = c.separate;
        const std::string alpha = f.AddLink(record);
        f.StartManager();
        f.Select(f.Link("Alpha"));
        f.Retype(IDC_LINK_TITLE, "Renamed");
        f.Select(f.tree->LinksItem());
        auto saved = f.Load("Links\\" + alpha);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->link.title, "Renamed");
        EXPECT_EQ(saved->link.refreshInterval, c.seconds);
        EXPECT_EQ(saved->link.refreshEnabled, c.refresh);
        EXPECT_EQ(saved->options.separateBrowser, c.separate);
        EXPECT_EQ(saved->link.address, "http://127.0.0.1:1/a");
    }
}

TEST(ManagerPropertyView, ChangedMinutesAndFlagsAreStored) {
    PropertyFixture f;
    CURLObject record;
    record.link.title = "Alpha";
    record.link.refreshInterval = 90;
    const std::string alpha = f.AddLink(record);
    f.StartManager();
    f.Select(f.Link("Alpha"));
    EXPECT_EQ(f.Text(IDC_REFRESH_MINUTES), "1");
    mgrtest::Click(f.view->LinkPage().hwnd(), IDC_SEPARATE_BROWSER);
    ::CheckDlgButton(f.view->LinkPage().hwnd(), IDC_REFRESH_ON, BST_CHECKED);
    ::SetWindowTextA(f.Control(IDC_REFRESH_MINUTES), "3");
    f.Select(f.tree->LinksItem());
    auto saved = f.Load("Links\\" + alpha);
    EXPECT_EQ(saved->link.refreshInterval, 180);
    EXPECT_EQ(saved->link.refreshEnabled, 1);
    EXPECT_EQ(saved->options.separateBrowser, 1);
}

// A click on another tree item: the old link is saved with the title, its
// items take it, and the newly selected item keeps its own, in either order
// of focus and selection.
TEST(ManagerPropertyView, ATitleTypedBeforeAClickOnTheTreeRenamesItsOwnItemsOnly) {
    for (bool focusFirst : {false, true}) {
        PropertyFixture f;
        const std::string alpha = f.AddLink("Alpha");
        const std::string beta = f.AddLink("Beta");
        f.dir.WriteFile("Groups\\Both.vsg", "Links\\" + beta + "\r\nLinks\\" + alpha + "\r\n");
        f.StartManager();
        HTREEITEM alphaItem = f.Link("Alpha");
        HTREEITEM betaItem = f.Link("Beta");
        HTREEITEM group = f.Group("Both");
        f.Select(alphaItem);
        f.Retype(IDC_LINK_TITLE, "Gamma");
        if (focusFirst) {
            ::SetFocus(f.tree->hwnd());
            f.Select(betaItem);
        } else {
            f.Select(betaItem);
            ::SetFocus(f.tree->hwnd());
        }
        const HTREEITEM secondMember =
            TreeView_GetNextSibling(f.tree->hwnd(), TreeView_GetChild(f.tree->hwnd(), group));
        EXPECT_TRUE(PumpUntil([&] { return f.tree->Text(alphaItem) == "Gamma"; }, 10000)) << focusFirst;
        EXPECT_EQ(f.tree->Text(secondMember), "Gamma") << focusFirst;
        f.PumpLoop();
        testsupport::PumpFor(0);
        EXPECT_EQ(f.tree->Text(betaItem), "Beta") << focusFirst;
        EXPECT_EQ(f.tree->Text(TreeView_GetChild(f.tree->hwnd(), group)), "Beta") << focusFirst;
        EXPECT_EQ(f.Load("Links\\" + alpha)->link.title, "Gamma") << focusFirst;
        EXPECT_EQ(f.Load("Links\\" + beta)->link.title, "Beta") << focusFirst;
        EXPECT_EQ(f.Text(IDC_LINK_TITLE), "Beta") << focusFirst;
    }
}
