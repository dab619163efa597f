// The notification-area icon of the real VessaMgr.exe, driven from outside:
// clicks posted to the tray window as its callback message, the popups
// driven by keys posted to them (a foreign popup cannot be read), the
// stand-in browser in the program folder logging each start.
#include "running_manager.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "RegSettings.h"

#include "fw/file.h"

#include "testsupport/box_answerer.h"

#include <initializer_list>

using namespace mgrtest;

namespace {

constexpr UINT kTrayNotify = 0x8010;
constexpr UINT kTrayId = 214;

// The first window of the process and class with the title (null: any shown one).
HWND Find(DWORD pid, const char* cls, const char* title) {
    const auto found = testsupport::TopWindows(pid, [&](HWND wnd) {
        char name[64] = {}, text[64] = {};
        ::GetClassNameA(wnd, name, sizeof(name));
        ::GetWindowTextA(wnd, text, sizeof(text));
        if (std::string(name) != cls) return false;
        return title ? std::string(text) == title : ::IsWindowVisible(wnd) != FALSE;
    });
    return found.empty() ? nullptr : found.front();
}

// The arguments of each start of the stand-in browser, in order.
std::vector<std::string> Launches(const TempProgramFolder& dir) {
    std::string text;
    fw::ReadWholeFile(dir / "launches.log", text);
    std::vector<std::string> arguments;
    for (const std::string& line : fw::SplitLines(text)) {
        const size_t a = line.find('|'), b = line.find('|', a + 1);
        if (a != std::string::npos && b != std::string::npos) arguments.push_back(line.substr(a + 1, b - a - 1));
    }
    return arguments;
}

struct TrayProgram : ProgramFixture {
    std::unique_ptr<RunningManager> manager;
    std::unique_ptr<testsupport::BoxAnswerer> boxes;
    HWND frame = nullptr;
    HWND tray = nullptr;
    DWORD pid = 0;

    void Start() {
        manager = std::make_unique<RunningManager>(dir, "-o ");
        frame = manager->WaitForWindow();
        ASSERT_TRUE(frame);
        ::GetWindowThreadProcessId(frame, &pid);
        boxes = std::make_unique<testsupport::BoxAnswerer>(pid);
        ASSERT_TRUE(WaitUntil([&] { return (tray = Find(pid, "#32770", "VessaMgr Tray")) != nullptr; }));
    }

    // A click on the icon, then keys to the popup it opens once it shows;
    // true when the popup showed and went again.
    bool Click(LPARAM button, std::initializer_list<WPARAM> keys) {
        ::PostMessageA(tray, kTrayNotify, kTrayId, button);
        HWND menu = nullptr;
        if (!WaitUntil([&] { return (menu = Find(pid, "#32768", nullptr)) != nullptr; })) return false;
        for (WPARAM key : keys) ::PostMessageA(menu, WM_KEYDOWN, key, 0);
        return WaitUntil([&] { return Find(pid, "#32768", nullptr) == nullptr; });
    }
};

TEST(ManagerTrayProgram, TheCommandMenuHidesAndShowsTheFrameAndExitEndsItSavingTheRectangle) {
    TrayProgram t;
    ASSERT_NO_FATAL_FAILURE(t.Start());
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(t.frame) != FALSE; })) << "-o shows the frame";
    // The second entry: Hide, then Show.
    ASSERT_TRUE(t.Click(WM_RBUTTONDOWN, {VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(t.frame); }));
    ASSERT_TRUE(t.Click(WM_RBUTTONDOWN, {VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(t.frame) != FALSE; }));

    ::SetWindowPos(t.frame, nullptr, 40, 30, 700, 520, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT moved{};
    ASSERT_TRUE(WaitUntil([&] {
        ::GetWindowRect(t.frame, &moved);
        return moved.left == 40 && moved.top == 30;
    }));
    // The last entry: Exit.
    ASSERT_TRUE(t.Click(WM_RBUTTONDOWN, {VK_UP, VK_RETURN}));
    EXPECT_TRUE(t.manager->Ended(10000)) << "the real exit follows at once";
    RECT stored{};
    ASSERT_EQ(CRegSettings(t.dir.Path()).LoadWindowRect("Vessa Manager", &stored), kErrNone);
    EXPECT_EQ(stored.left, moved.left);
    EXPECT_EQ(stored.top, moved.top);
    EXPECT_EQ(stored.right, moved.right);
    EXPECT_EQ(stored.bottom, moved.bottom);
    EXPECT_TRUE(Launches(t.dir).empty());
}

TEST(ManagerTrayProgram, TheLinksPopupLaunchesALinkAndSaysWhenAGroupHasNone) {
    TrayProgram t;
    t.dir.MakeFolder("Links");
    t.dir.MakeFolder("Groups");
    ASSERT_NO_FATAL_FAILURE(t.Start());
    // Nothing stored: the popup opens and closes, nothing starts.
    ASSERT_TRUE(t.Click(WM_LBUTTONDOWN, {VK_DOWN, VK_RETURN, VK_ESCAPE}));

    t.dir.MakeFolder("Links\\News");
    t.dir.MakeFolder("Links\\News\\Daily");
    const std::string title = "b";
    CURLObject record;
    record.link.title = title;
    record.link.address = "http://127.0.0.1:1/" + title;
    std::string name;
    ASSERT_EQ(CLinkStore(t.dir.Path()).AddURLObject("News\\Daily", record, &name), kErrNone);
    t.dir.WriteFile("Groups\\Empty.vsg", "");
    // News > Daily > b.
    ASSERT_TRUE(t.Click(WM_LBUTTONDOWN, {VK_DOWN, VK_RIGHT, VK_RIGHT, VK_RETURN}));
    ASSERT_TRUE(WaitUntil([&] { return !Launches(t.dir).empty(); }, 30000));
    EXPECT_EQ(Launches(t.dir), std::vector<std::string>{"-f " + (t.dir / ("Links\\News\\Daily\\" + name))});

    // The last item: the empty group.
    ASSERT_TRUE(t.Click(WM_LBUTTONDOWN, {VK_UP, VK_RETURN}));
    ASSERT_TRUE(t.boxes->WaitForBoxes(1, 20000));
    EXPECT_EQ(t.boxes->Boxes()[0].caption, "VessaMgr");
    EXPECT_EQ(t.boxes->Boxes()[0].text, "There is no group item to launch");
    EXPECT_EQ(Launches(t.dir).size(), 1u);
}

TEST(ManagerTrayProgram, LaunchingTheBrowserWithoutVessaExeSaysSo) {
    TrayProgram t;
    ::DeleteFileA((t.dir / "Vessa.exe").c_str());
    ASSERT_NO_FATAL_FAILURE(t.Start());
    ASSERT_TRUE(t.Click(WM_RBUTTONDOWN, {VK_DOWN, VK_RETURN}));
    ASSERT_TRUE(t.boxes->WaitForBoxes(1, 20000));
    EXPECT_EQ(t.boxes->Boxes()[0].caption, "VessaMgr");
    EXPECT_EQ(t.boxes->Boxes()[0].text,
              "Failed to open Vessa.exe. Please ensure that Vessa.exe is located in the same directory as this Vessa "
              "Manager program");
}

}  // namespace
