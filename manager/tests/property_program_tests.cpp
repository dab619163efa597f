// The property pane of the real VessaMgr.exe, read across processes: the tab
// texts, what a link, the template and a group show and enable, and the
// template stored with an empty address.
#include "running_manager.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "property/PropertyIds.h"
#include "remote_tree.h"
#include "testsupport/child_process.h"
#include "testsupport/remote_buffer.h"

#include <commctrl.h>

#include <optional>
#include <vector>

using namespace mgrtest;

namespace {

struct ControlSearch {
    int id;
    HWND found = nullptr;
};

// A control of the property pane's pages: the child with the id whose page lies in tab control 1112.
BOOL CALLBACK FindPageControl(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<ControlSearch*>(param);
    HWND page = ::GetParent(child);
    if (::GetDlgCtrlID(child) == s->id && page && ::GetDlgCtrlID(::GetParent(page)) == IDC_PROPERTY_TABS) {
        s->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindById(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<ControlSearch*>(param);
    if (::GetDlgCtrlID(child) != s->id) return TRUE;
    s->found = child;
    return FALSE;
}

HWND PageControl(HWND top, int id) {
    ControlSearch s{id};
    ::EnumChildWindows(top, FindPageControl, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::string WindowText(HWND wnd) {
    char text[512] = {};
    ::SendMessageA(wnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// The tab texts of a tab control in another process.
std::vector<std::string> RemoteTabTexts(HWND tab) {
    std::vector<std::string> texts;
    constexpr size_t kText = 256;
    const testsupport::RemoteBuffer buffer(tab, sizeof(TCITEMA) + kText);
    const int count = static_cast<int>(::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; buffer && i < count; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<char*>(buffer.At(sizeof(TCITEMA)));
        item.cchTextMax = static_cast<int>(kText);
        const bool got = buffer.Put(item) && ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), buffer.At());
        texts.push_back(got ? buffer.Text(sizeof(TCITEMA)) : std::string());
    }
    return texts;
}

struct PagesFixture : ProgramFixture {
    std::string alpha;
    PagesFixture() {
        dir.MakeFolder("Links");
        dir.MakeFolder("Groups");
        dir.MakeFolder("Templates");
        CURLObject link;
        link.link.title = "Alpha";
        link.link.address = "http://127.0.0.1:1/alpha";
        link.link.comments = "First";
        EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject("", link, &alpha), kErrNone);
        dir.WriteFile("Groups\\Solo.vsg", "Links\\" + alpha + "\r\n");
        CURLObject templ;
        templ.link.title = "Default Template";
        templ.link.address = "http://stored.example/";
        EXPECT_EQ(CLinkStore(dir.Path()).WriteArchive(dir / "Templates\\Default.vst", templ), kErrNone);
    }
};

}  // namespace

TEST(ManagerPropertyProgram, TheTabsAreNamedByTheirPages) {
    PagesFixture f;
    RunningManager manager(f.dir, "-o ");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    ControlSearch s{IDC_PROPERTY_TABS};
    ASSERT_TRUE(WaitUntil([&] {
        ::EnumChildWindows(wnd, FindById, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
    }));
    EXPECT_EQ(RemoteTabTexts(s.found),
              (std::vector<std::string>{"Link Options", "Skin Options", "Font && Color Options"}));
}

TEST(ManagerPropertyProgram, ALinkTheTemplateAndAGroupOnTheLinkPage) {
    PagesFixture f;
    RunningManager manager(f.dir, "-o ");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    // The frame has its title before its panes: wait for the tree itself.
    std::optional<RemoteTree> remote;
    ASSERT_TRUE(WaitUntil([&] { return static_cast<bool>(remote.emplace(wnd)); }, 30000));
    RemoteTree& tree = *remote;
    // The tree is whole once its last item, the template, is there.
    ASSERT_TRUE(WaitUntil([&] { return tree.Find(tree.Find(tree.Root(), "Templates"), "Default Template") != nullptr; },
                          30000));
    HWND title = PageControl(wnd, IDC_LINK_TITLE);
    HWND address = PageControl(wnd, IDC_LINK_ADDRESS);
    HWND comments = PageControl(wnd, IDC_LINK_COMMENTS);
    HWND separate = PageControl(wnd, IDC_SEPARATE_BROWSER);
    ASSERT_TRUE(title && address && comments && separate);
    const HTREEITEM links = tree.Find(tree.Root(), "Links");
    const HTREEITEM templ = tree.Find(tree.Find(tree.Root(), "Templates"), "Default Template");
    const HTREEITEM solo = tree.Find(tree.Find(tree.Root(), "Groups"), "Solo");
    ASSERT_TRUE(links && templ && solo);

    tree.Select(tree.Find(links, "Alpha"));
    EXPECT_EQ(WindowText(title), "Alpha");
    EXPECT_EQ(WindowText(address), "http://127.0.0.1:1/alpha");
    EXPECT_EQ(WindowText(comments), "First");
    EXPECT_TRUE(::IsWindowEnabled(address));

    tree.Select(templ);
    EXPECT_EQ(WindowText(title), "Default Template");
    EXPECT_EQ(WindowText(address), "");
    EXPECT_FALSE(::IsWindowEnabled(address));
    EXPECT_FALSE(::IsWindowEnabled(title));

    tree.Select(links);
    std::unique_ptr<CURLObject> stored;
    ASSERT_EQ(CLinkStore(f.dir.Path()).ReadArchive(f.dir / "Templates\\Default.vst", &stored), kErrNone);
    EXPECT_EQ(stored->link.address, "");

    tree.Select(solo);
    for (HWND control : {title, address, comments, separate}) EXPECT_FALSE(::IsWindowEnabled(control));
    for (HWND control : {title, address, comments}) EXPECT_EQ(WindowText(control), "");
}

namespace {

// The combo box of a ZylCombo control of the font page: inside its place's window, below the control's.
HWND FontCombo(HWND top, int id) {
    HWND check = PageControl(top, 1039);  // only the font page has this id
    HWND place = check ? ::GetDlgItem(::GetParent(check), id) : nullptr;
    HWND control = place ? ::GetWindow(place, GW_CHILD) : nullptr;
    return control ? ::GetWindow(control, GW_CHILD) : nullptr;
}

struct Registration {
    std::string ocx;
    explicit Registration(const TempProgramFolder& dir) : ocx(dir / "ZYLCOMBO.OCX") { EXPECT_EQ(Run(false), 0u); }
    ~Registration() { Run(true); }
    DWORD Run(bool unregister) const { return testsupport::RegSvr32(ocx, unregister); }
};

}  // namespace

TEST(ManagerPropertyProgram, TheFontPageAndTheSkinPageShowTheSelectedLink) {
    PagesFixture f;
    f.dir.CopyProgram("ZYLCOMBO.OCX");
    Registration registered(f.dir);
    f.dir.MakeFolder("Skins");
    f.dir.MakeFolder("Skins\\Autumn");
    f.dir.WriteFile("Skins\\Autumn\\Data.ini", "[GENERAL]\r\nCOMMENTS=Leaves.\r\n");
    CURLObject link;
    link.link.title = "Dressed";
    link.skinName = "Autumn";
    link.font.sizeCode = 105;
    link.font.textColor = 0x800000;
    link.colors.hoverColor = 0x008000;
    std::string dressed;
    ASSERT_EQ(CLinkStore(f.dir.Path()).AddURLObject("", link, &dressed), kErrNone);
    RunningManager manager(f.dir, "-o ");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    std::optional<RemoteTree> remote;
    ASSERT_TRUE(WaitUntil([&] { return static_cast<bool>(remote.emplace(wnd)); }, 30000));
    RemoteTree& tree = *remote;
    ASSERT_TRUE(WaitUntil([&] { return tree.Find(tree.Find(tree.Root(), "Links"), "Dressed") != nullptr; }, 30000));
    tree.Select(tree.Find(tree.Find(tree.Root(), "Links"), "Dressed"));
    EXPECT_EQ(WindowText(FontCombo(wnd, 1025)), "Largest");
    EXPECT_EQ(WindowText(FontCombo(wnd, 1026)), "Navy");
    EXPECT_EQ(WindowText(FontCombo(wnd, 1027)), "Green");
    EXPECT_EQ(WindowText(FontCombo(wnd, 1028)), "Purple");
    EXPECT_EQ(WindowText(FontCombo(wnd, 1029)), "Blue");
    EXPECT_EQ(WindowText(FontCombo(wnd, 1030)), "White");
    EXPECT_FALSE(::IsWindowEnabled(FontCombo(wnd, 1026))) << "Windows colours are on";
    EXPECT_TRUE(::IsWindowEnabled(FontCombo(wnd, 1025)));
    HWND skins = PageControl(wnd, 1062);
    ASSERT_TRUE(skins);
    EXPECT_EQ(WindowText(skins), "Autumn");
    EXPECT_EQ(WindowText(PageControl(wnd, 1063)), "Leaves.");
    EXPECT_EQ(::SendMessageA(skins, CB_GETCOUNT, 0, 0), 2);
    HWND download = PageControl(wnd, 0xFFFF);
    ASSERT_TRUE(download);
    EXPECT_TRUE(::GetWindowLongA(download, GWL_STYLE) & WS_VISIBLE) << "shown with its page";
}
