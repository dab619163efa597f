// The real VessaMgr.exe started from a temporary program folder with an exact
// command line: one instance, the hidden start, close to the tray, the log.
#include "manager_test_util.h"

#include "testsupport/child_process.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using mgrtest::FreshRegistry;
using testsupport::TempProgramFolder;

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK FindManagerWindows(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char title[64] = {};
    ::GetWindowTextA(wnd, title, sizeof(title));
    if ((s->pid == 0 || pid == s->pid) && std::string(title) == "Vessa Manager") s->found.push_back(wnd);
    return TRUE;
}

// Every top-level "Vessa Manager" window (of one process, or of any with pid 0).
std::vector<HWND> ManagerWindows(DWORD pid = 0) {
    Search s{pid, {}};
    ::EnumWindows(FindManagerWindows, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

class RunningManager {
public:
    RunningManager(const TempProgramFolder& dir, const std::string& arguments) {
        if (!child_.Start(dir / "VessaMgr.exe", arguments)) {
            ADD_FAILURE() << "cannot start the manager";
            return;
        }
        pid_ = ::GetProcessId(child_.Process());
    }
    ~RunningManager() { Stop(); }

    // Its frame once it exists; null when the process ended first or after the time-out.
    HWND WaitForWindow(DWORD timeoutMs = 30000) {
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        while (::GetTickCount64() < end) {
            const auto windows = ManagerWindows(pid_);
            if (!windows.empty()) return window_ = windows.front();
            if (Ended(0)) return nullptr;
            ::Sleep(20);
        }
        return nullptr;
    }
    DWORD WaitForIdle() const { return ::WaitForInputIdle(child_.Process(), 30000); }
    bool Ended(DWORD timeoutMs) const { return ::WaitForSingleObject(child_.Process(), timeoutMs) == WAIT_OBJECT_0; }
    int ExitCode() {
        DWORD code = 0;
        ::GetExitCodeProcess(child_.Process(), &code);
        return static_cast<int>(code);
    }
    // A real exit: the close ends it once the icon is gone.
    void Stop() {
        if (!child_.Process() || Ended(0)) return;
        if (window_) ::PostMessageA(window_, WM_TIMER, 50, 0);
        if (!Ended(20000)) child_.Wait(0);
    }
    HWND Window() const { return window_; }

private:
    testsupport::ChildProcess child_;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(20);
    }
    return true;
}

struct ProgramFixture {
    FreshRegistry registry;
    TempProgramFolder dir;
    ProgramFixture() {
        dir.CopyProgram("VessaMgr.exe");
        dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
    }
};

void SetOption(const char* name, DWORD value) {
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, name, value);
}

}  // namespace

TEST(ManagerProgram, StartsOneVisibleWindowWithAnEmptyLog) {
    ProgramFixture f;
    f.dir.WriteFile("Err.log", "ErrID: 61     FuncName: earlier run\r\n");
    RunningManager manager(f.dir, "");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(wnd) != FALSE; }));
    EXPECT_EQ(ManagerWindows().size(), 1u);
    EXPECT_EQ(f.dir.ReadFile("Err.log"), "");
}

TEST(ManagerProgram, ASecondStartEndsAndShowsAHiddenFirstOne) {
    ProgramFixture f;
    RunningManager first(f.dir, "");
    HWND wnd = first.WaitForWindow();
    ASSERT_TRUE(wnd);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(wnd) != FALSE; }));
    ::SendMessageA(wnd, WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindowVisible(wnd)) << "closed with the icon shown: hidden";
    ASSERT_FALSE(first.Ended(0));

    RunningManager second(f.dir, "");
    EXPECT_TRUE(second.Ended(30000));
    EXPECT_EQ(second.ExitCode(), 0);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    EXPECT_EQ(ManagerWindows().size(), 1u);
}

TEST(ManagerProgram, TwoStartsAtOnceMakeOneManager) {
    ProgramFixture f;
    RunningManager a(f.dir, "");
    RunningManager b(f.dir, "");
    ASSERT_TRUE(WaitUntil([&] { return a.Ended(0) || b.Ended(0); }, 30000));
    RunningManager& running = a.Ended(0) ? b : a;
    EXPECT_TRUE(running.WaitForWindow());
    EXPECT_EQ(ManagerWindows().size(), 1u);
}

TEST(ManagerProgram, HideProgramKeepsOnlyASwitchlessStartHidden) {
    ProgramFixture f;
    SetOption("Hide Program", 1);
    struct Case {
        std::string arguments;
        bool visible;
    };
    const std::string link = f.dir / "Links\\1.vsl";
    for (const Case& c : {Case{"", false}, Case{"-o ", true}, Case{"\"-s " + link + "\"", true}, Case{"-o", false}}) {
        RunningManager manager(f.dir, c.arguments);
        HWND wnd = manager.WaitForWindow();
        ASSERT_TRUE(wnd) << c.arguments;
        // The window is shown or left hidden before the program first waits for input.
        ASSERT_EQ(manager.WaitForIdle(), 0u) << c.arguments;
        EXPECT_EQ(::IsWindowVisible(wnd) != FALSE, c.visible) << c.arguments;
    }
}

TEST(ManagerProgram, WithoutItsIconTheManagerNeverStartsHidden) {
    ProgramFixture f;
    SetOption("Hide Program", 1);
    SetOption("Hide ToolTray", 1);
    RunningManager manager(f.dir, "");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(wnd) != FALSE; }));
    // And its close really ends it.
    ::PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(manager.Ended(20000));
    EXPECT_TRUE(regtest::KeyExists(HKEY_LOCAL_MACHINE, mgrtest::kRectKey));
}

TEST(ManagerProgram, ARegistrationOnlyStartShowsNothingAndKeepsTheLog) {
    ProgramFixture f;
    f.dir.WriteFile("Err.log", "ErrID: 61     FuncName: earlier run\r\n");
    RunningManager manager(f.dir, "-Embedding");
    EXPECT_TRUE(manager.Ended(30000));
    EXPECT_TRUE(ManagerWindows().empty());
    EXPECT_EQ(f.dir.ReadFile("Err.log"), "ErrID: 61     FuncName: earlier run\r\n");
}
