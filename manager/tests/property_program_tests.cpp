// The property pane of the real VessaMgr.exe, read across processes: the tab
// texts, what a link, the template and a group show and enable, and the
// template stored with an empty address.
#include "running_manager.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "property/PropertyIds.h"
#include "remote_tree.h"

#include <commctrl.h>

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
    DWORD pid = 0;
    ::GetWindowThreadProcessId(tab, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return texts;
    constexpr size_t kText = 256;
    void* buffer = ::VirtualAllocEx(process, nullptr, sizeof(TCITEMA) + kText, MEM_COMMIT, PAGE_READWRITE);
    const int count = static_cast<int>(::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; buffer && i < count; ++i) {
        char* remoteText = static_cast<char*>(buffer) + sizeof(TCITEMA);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remoteText;
        item.cchTextMax = static_cast<int>(kText);
        SIZE_T done = 0;
        std::vector<char> text(kText + 1, '\0');
        if (::WriteProcessMemory(process, buffer, &item, sizeof(item), &done) &&
            ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer)))
            ::ReadProcessMemory(process, remoteText, text.data(), kText, &done);
        texts.emplace_back(text.data());
    }
    if (buffer) ::VirtualFreeEx(process, buffer, 0, MEM_RELEASE);
    ::CloseHandle(process);
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
    RemoteTree tree(wnd);
    ASSERT_TRUE(tree);
    ASSERT_TRUE(WaitUntil([&] { return tree.Root() != nullptr; }, 30000));
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
