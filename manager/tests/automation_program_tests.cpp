// The real VessaMgr.exe serving "Nimb.Document" under Wine, called by this
// test as a browser would: by ProgID, in the running-object table, by
// dispatch id, across processes.
#include "manager_test_util.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "NimbAutomation.h"
#include "remote_tree.h"
#include "running_manager.h"
#include "resource.h"

#include "testsupport/box_answerer.h"
#include "testsupport/child_process.h"

#include "fw/com_registration.h"
#include "fw/dispatch.h"
#include "fw/registry.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <functional>

namespace {

using mgrtest::FreshRegistry;
using testsupport::TempProgramFolder;

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

struct WindowSearch {
    DWORD pid;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindTitled(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char title[64] = {};
    ::GetWindowTextA(wnd, title, sizeof(title));
    if (pid != s->pid || std::string(title) != s->title) return TRUE;
    s->found = wnd;
    return FALSE;
}

HWND WindowOf(DWORD pid, const char* title) {
    WindowSearch s{pid, title, nullptr};
    ::EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// How many running processes have this program file.
int ProcessesOf(const std::string& program) {
    fw::Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry)) {
        fw::Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        char path[MAX_PATH * 2] = {};
        DWORD size = sizeof(path);
        if (process && ::QueryFullProcessImageNameA(process.get(), 0, path, &size) &&
            ::lstrcmpiA(path, program.c_str()) == 0)
            ++count;
    }
    return count;
}

BOOL CALLBACK DescribeVisible(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<std::pair<DWORD, std::string>*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->first || !::IsWindowVisible(wnd)) return TRUE;
    char cls[64] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    s->second += std::string(" [") + cls + " \"" + testsupport::WindowText(wnd) + "\"]";
    return TRUE;
}

// The class and title of each visible top-level window of a process.
std::string VisibleWindows(DWORD pid) {
    std::pair<DWORD, std::string> s{pid, {}};
    ::EnumWindows(DescribeVisible, reinterpret_cast<LPARAM>(&s));
    return s.second;
}

std::optional<std::string> ClassDefault(const std::string& path) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + path, KEY_READ);
    if (!key) return std::nullopt;
    return fw::ReadString(key.get(), nullptr);
}

fw::ComPtr<IDispatch> RunningManagerObject() {
    const auto clsid = fw::ClassIdOfProgId(NimbAutomationIds::kProgId);
    if (!clsid) return nullptr;
    fw::ComPtr<IUnknown> unk = fw::GetActiveObjectOf(*clsid);
    return unk ? unk.As<IDispatch>() : nullptr;
}

std::string AddLink(const TempProgramFolder& dir, const std::string& title) {
    CURLObject record;
    record.link.title = title;
    record.link.address = "http://127.0.0.1:1/" + title;
    std::string name;
    EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject("", record, &name), kErrNone);
    return name;
}

class ManagerServer : public ::testing::Test {
protected:
    fw::OleApartment ole;
    FreshRegistry registry;  // with the class entries
    TempProgramFolder dir;
    testsupport::ChildProcess manager;
    DWORD pid = 0;
    HWND frame = nullptr;

    void SetUp() override {
        dir.CopyProgram("VessaMgr.exe");
        dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
    }
    void Start() {
        ASSERT_TRUE(manager.Start(dir / "VessaMgr.exe", ""));
        pid = ::GetProcessId(manager.Process());
        ASSERT_TRUE(WaitUntil([&] { return (frame = WindowOf(pid, "Vessa Manager")) != nullptr; }, 30000));
        ASSERT_TRUE(WaitUntil([&] { return static_cast<bool>(RunningManagerObject()); }));
    }
    void TearDown() override {
        // The real exit: timer 50 closes the frame and revokes the object. It
        // waits while a box is open, so a box no one answered keeps it alive.
        if (frame && ::WaitForSingleObject(manager.Process(), 0) == WAIT_TIMEOUT) {
            ::PostMessageA(frame, WM_TIMER, 50, 0);
            if (::WaitForSingleObject(manager.Process(), 20000) != WAIT_OBJECT_0)
                ADD_FAILURE() << "the manager did not end; its visible windows:" << VisibleWindows(pid);
        }
    }
};

TEST_F(ManagerServer, NoManagerIsUnavailableAndAStartNamesBothClasses) {
    fw::ComPtr<IUnknown> none;
    EXPECT_EQ(::GetActiveObject(NimbAutomationIds::kAutomationClsid, nullptr, none.put()), MK_E_UNAVAILABLE);
    ASSERT_NO_FATAL_FAILURE(Start());
    std::string program = "\"";
    program += dir / "VessaMgr.exe";
    program += '"';
    const std::string automation = fw::GuidText(NimbAutomationIds::kAutomationClsid);
    EXPECT_EQ(ClassDefault("Nimb.Document\\CLSID"), automation) << "the ProgID ends naming the automation class";
    EXPECT_EQ(ClassDefault("CLSID\\" + automation + "\\LocalServer32"), program);
    EXPECT_EQ(ClassDefault("CLSID\\" + fw::GuidText(NimbAutomationIds::kDocumentClsid) + "\\LocalServer32"), program);

    fw::DispatchDriver driver(RunningManagerObject());
    EXPECT_EQ(driver.IdOf(L"SetFocusOnLinkItem"), 1);
    EXPECT_EQ(driver.IdOf(L"ShowManager"), 2);
    EXPECT_EQ(driver.IdOf(L"RefreshNimbTree"), 3);
}

TEST_F(ManagerServer, ArgumentsFromAnotherProcessAreChecked) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // A path that names no link reaches the tree, which reports it with a box.
    testsupport::BoxAnswerer user(pid);
    fw::DispatchDriver driver(RunningManagerObject());
    const struct {
        const char* what;
        DISPID id;
        std::vector<fw::Variant> args;
        HRESULT hr;
    } cases[] = {
        {"a path naming no link", 1, {fw::Variant("C:\\x\\Links\\1.vsl")}, S_OK},
        {"an empty path", 1, {fw::Variant("")}, S_OK},
        {"no path", 1, {}, DISP_E_BADPARAMCOUNT},
        {"two paths", 1, {fw::Variant("a"), fw::Variant("b")}, DISP_E_BADPARAMCOUNT},
        {"a number", 1, {fw::Variant(5)}, DISP_E_TYPEMISMATCH},
        {"nothing", 1, {fw::Variant()}, DISP_E_TYPEMISMATCH},
        {"an argument to ShowManager", 2, {fw::Variant(1)}, DISP_E_BADPARAMCOUNT},
        {"an argument to RefreshNimbTree", 3, {fw::Variant("x")}, DISP_E_BADPARAMCOUNT},
        {"another id", 4, {}, DISP_E_MEMBERNOTFOUND},
        {"id 0", 0, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const auto& c : cases) {
        HRESULT hr = E_FAIL;
        switch (c.args.size()) {
            case 0:
                hr = driver.Call(c.id).hr;
                break;
            case 1:
                hr = driver.Call(c.id, {c.args[0]}).hr;
                break;
            default:
                hr = driver.Call(c.id, {c.args[0], c.args[1]}).hr;
                break;
        }
        EXPECT_EQ(hr, c.hr) << c.what;
    }
    // Calls run in order: once this one's box came, every call above has acted,
    // and only the first path may have reached the tree.
    EXPECT_EQ(driver.Call(1, {fw::Variant("C:\\x\\Links\\last.vsl")}).hr, S_OK);
    ASSERT_TRUE(user.WaitForBoxes(2, 20000));
    const auto boxes = user.Boxes();
    EXPECT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "VessaMgr");
        EXPECT_EQ(box.text, "An internal error has occurred");
    }
}

TEST_F(ManagerServer, ShowManagerShowsAHiddenManagerAndRestoresAMinimisedOne) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(frame) != FALSE; }));
    fw::DispatchDriver driver(RunningManagerObject());

    ::SendMessageA(frame, WM_CLOSE, 0, 0);  // to the tray
    ASSERT_FALSE(::IsWindowVisible(frame));
    EXPECT_EQ(driver.Call(2).hr, S_OK);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(frame) != FALSE; }));

    ::ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(frame) != FALSE; }));
    EXPECT_EQ(driver.Call(2).hr, S_OK);
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(frame) && ::IsWindowVisible(frame); }));
}

TEST_F(ManagerServer, OnAHiddenManagerRefreshSelectAndShowLeaveANewLinkSelectedInView) {
    dir.MakeFolder("Links");
    AddLink(dir, "Alpha");
    AddLink(dir, "Beta");
    mgrtest::SetOption("Hide Program", 1);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_FALSE(::IsWindowVisible(frame)) << "in the tray";
    // What a browser's Add Favorite does: a new link at the top of Links, then 3, 1, 2.
    const std::string added = AddLink(dir, "Gamma");
    fw::DispatchDriver driver(RunningManagerObject());
    EXPECT_EQ(driver.Call(NimbAutomationIds::kRefreshNimbTree).hr, S_OK);
    EXPECT_EQ(driver.Call(NimbAutomationIds::kSetFocusOnLinkItem, {fw::Variant(dir / ("Links\\" + added))}).hr, S_OK);
    EXPECT_EQ(driver.Call(NimbAutomationIds::kShowManager).hr, S_OK);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(frame) != FALSE; }));
    mgrtest::RemoteTree tree(frame);
    ASSERT_TRUE(tree);
    EXPECT_TRUE(WaitUntil([&] { return tree.Text(tree.Caret()) == "Gamma"; })) << tree.Text(tree.Caret());
    EXPECT_EQ(tree.Sibling(tree.Root()), nullptr) << "one tree";
    HTREEITEM links = tree.Find(tree.Root(), "Links");
    ASSERT_TRUE(links);
    EXPECT_TRUE(tree.Find(links, "Gamma"));
}

// A browser's Add Favorite while the user has a link selected that a group
// names: the rebuild shows no box, and the added link ends selected.
TEST_F(ManagerServer, ARefreshWithAGroupsLinkSelectedShowsNoBoxAndSelectsTheAddedLink) {
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
    AddLink(dir, "Alpha");
    const std::string beta = AddLink(dir, "Beta");
    dir.WriteFile("Groups\\Weekend.vsg", "Links\\" + beta + "\r\n");
    ASSERT_NO_FATAL_FAILURE(Start());
    mgrtest::RemoteTree tree(frame);
    ASSERT_TRUE(tree);
    HTREEITEM links = nullptr, item = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (links = tree.Find(tree.Root(), "Links")) && (item = tree.Find(links, "Beta")); }));
    tree.Select(item);
    ASSERT_TRUE(WaitUntil([&] { return tree.Text(tree.Caret()) == "Beta"; }));
    const std::string added = AddLink(dir, "Gamma");
    testsupport::BoxAnswerer user;
    fw::DispatchDriver driver(RunningManagerObject());
    EXPECT_EQ(driver.Call(NimbAutomationIds::kRefreshNimbTree).hr, S_OK);
    EXPECT_EQ(driver.Call(NimbAutomationIds::kSetFocusOnLinkItem, {fw::Variant(dir / ("Links\\" + added))}).hr, S_OK);
    EXPECT_EQ(driver.Call(NimbAutomationIds::kShowManager).hr, S_OK);
    // The calls run in order: a box of the rebuild came and went before the selection moved.
    EXPECT_TRUE(WaitUntil([&] { return tree.Text(tree.Caret()) == "Gamma"; })) << tree.Text(tree.Caret());
    EXPECT_TRUE(user.Boxes().empty()) << user.Boxes()[0].text;
    EXPECT_EQ(dir.ReadFile("Err.log").find("ErrID"), std::string::npos) << dir.ReadFile("Err.log");
}

TEST_F(ManagerServer, ACallDuringTheAboutBoxActsAfterItCloses) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(frame) != FALSE; }));
    ::SendMessageA(frame, WM_CLOSE, 0, 0);  // hidden to the tray
    ASSERT_FALSE(::IsWindowVisible(frame));
    ::PostMessageA(frame, WM_COMMAND, ID_APP_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = WindowOf(pid, "About Vessa")) != nullptr; }));

    fw::DispatchDriver driver(RunningManagerObject());
    const ULONGLONG before = ::GetTickCount64();
    EXPECT_EQ(driver.Call(2).hr, S_OK);
    EXPECT_LT(::GetTickCount64() - before, 10000u) << "the call returns at once";
    // The box is still open: nothing acted yet.
    EXPECT_TRUE(::IsWindow(about));
    EXPECT_FALSE(::IsWindowVisible(frame));

    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(frame) != FALSE; })) << "it acted once the box closed";
}

TEST_F(ManagerServer, CreatingTheClassWhileAManagerRunsReturnsAndTheExtraProcessEnds) {
    ASSERT_NO_FATAL_FAILURE(Start());
    fw::ComPtr<IDispatch> created;
    ASSERT_EQ(::CoCreateInstance(NimbAutomationIds::kAutomationClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                 created.put_void()),
              S_OK);
    fw::DispatchDriver driver(created);
    EXPECT_EQ(driver.Call(2).hr, S_OK) << "its calls do nothing";
    EXPECT_EQ(driver.Call(1, {5}).hr, DISP_E_TYPEMISMATCH);
    driver.Release();
    created.reset();
    EXPECT_TRUE(WaitUntil([&] { return ProcessesOf(dir / "VessaMgr.exe") == 1; }, 20000))
        << "the extra process ended on the release";
    EXPECT_TRUE(WindowOf(pid, "Vessa Manager"));
}

TEST_F(ManagerServer, TheRealExitRevokesTheObject) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ::PostMessageA(frame, WM_TIMER, 50, 0);
    EXPECT_EQ(manager.Wait(20000), 0);
    EXPECT_FALSE(RunningManagerObject());
}

}  // namespace
