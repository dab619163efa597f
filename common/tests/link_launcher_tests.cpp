#include "LinkLauncher.h"

#include "ErrorCodes.h"
#include "RegSettings.h"

#include "fw/file.h"
#include "fw/msgbox.h"
#include "fw/registry.h"
#include "testsupport/box_answerer.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using testsupport::ScratchKey;
using testsupport::TempProgramFolder;

constexpr char kIeKey[] = "Software\\Microsoft\\Internet Explorer";
constexpr char kScripts[] = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
constexpr char kMain[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
constexpr char kSettings[] = "Software\\Microsoft\\Internet Explorer\\Settings";
constexpr char kAppRoot[] = "SOFTWARE\\Corvane Global";

TEST(WaitForBrowserID, PollLimitsAndSignedComparison) {
    struct Case {
        DWORD first;
        std::vector<DWORD> values;  // what successive reads see; the last repeats
        int limit;
        int reads;
        int waits;
    } cases[] = {
        {5, {5}, kBrowserPollLimit, 101, 100},
        {5, {5}, kManagerPollLimit, 151, 150},
        {5, {6}, kBrowserPollLimit, 1, 1},
        {5, {5, 5, 7}, kBrowserPollLimit, 3, 3},
        {0x7FFFFFFF, {0x80000000}, 10, 11, 10},  // a wrapped counter is not a raise
        {0xFFFFFFFF, {0}, 10, 1, 1},             // -1 to 0 is
    };
    for (const auto& c : cases) {
        int reads = 0, waits = 0;
        const int got = WaitForBrowserID(
            c.first, c.limit,
            [&] { return c.values[std::min<size_t>(reads++, c.values.size() - 1)]; },
            [&](DWORD ms) {
                EXPECT_EQ(ms, 100u);
                ++waits;
            });
        EXPECT_EQ(got, c.reads) << c.first << " limit " << c.limit;
        EXPECT_EQ(reads, c.reads);
        EXPECT_EQ(waits, c.waits);
    }
}

TEST(LinkPageSettings, ConversionsOfALinkRecord) {
    CURLObject record;
    record.font.faceName = "Verdana";
    record.font.sizeCode = 103;
    record.font.textColor = 0;
    record.font.backgroundColor = 0xFFFFFF;
    record.font.useWindowsColors = 1;
    record.colors.useHoverColor = 2;
    record.colors.hoverColor = 0x00FF0000;
    record.colors.visitedColor = 0x000A0B0C;
    record.colors.unvisitedColor = 0x00000080;
    const PageSettings s = GetLinkPageSettings(record);
    EXPECT_EQ(s.fontName, "Verdana");
    EXPECT_EQ(s.fontSize, 2);
    EXPECT_EQ(s.dlgBoxColors, "yes");
    EXPECT_EQ(s.background, "255,255,255");
    EXPECT_EQ(s.text, "0,0,0");
    EXPECT_EQ(s.hover, "0,0,255");
    EXPECT_EQ(s.useHover, "no") << "only exactly 1 means yes";
    EXPECT_EQ(s.visited, "12,11,10");
    EXPECT_EQ(s.anchor, "128,0,0");

    for (auto [code, size] : {std::pair{101, 0}, {105, 4}, {100, 2}, {106, 2}, {0, 2}, {-7, 2}}) {
        record.font.sizeCode = code;
        EXPECT_EQ(GetLinkPageSettings(record).fontSize, size) << code;
    }
    record.font.useWindowsColors = 0;
    record.colors.useHoverColor = 1;
    EXPECT_EQ(GetLinkPageSettings(record).dlgBoxColors, "no");
    EXPECT_EQ(GetLinkPageSettings(record).useHover, "yes");
}

bool Finished(fw::Handle worker) {
    return worker && ::WaitForSingleObject(worker.get(), 60000) == WAIT_OBJECT_0;
}

// The user's own page settings, written before a launch and expected back after it.
const PageSettings kUserSettings = {"Georgia", 3, "no", "1,2,3", "4,5,6", "7,8,9", "yes", "10,11,12", "13,14,15"};

PageSettings ReadPageSettings() {
    PageSettings s;
    CRegSettings reg;
    reg.GetIEFontName(&s.fontName);
    s.fontSize = -1;
    reg.GetIEFontSize(&s.fontSize);
    reg.GetUseDlgBoxColors(&s.dlgBoxColors);
    reg.GetBackgroundColor(&s.background);
    reg.GetTextColor(&s.text);
    reg.GetAnchorColorHover(&s.hover);
    reg.GetUseAnchorHoverColor(&s.useHover);
    reg.GetAnchorColorVisited(&s.visited);
    reg.GetAnchorColor(&s.anchor);
    return s;
}

void ExpectSettings(const PageSettings& a, const PageSettings& b, const char* what) {
    EXPECT_EQ(a.fontName, b.fontName) << what;
    EXPECT_EQ(a.fontSize, b.fontSize) << what;
    EXPECT_EQ(a.dlgBoxColors, b.dlgBoxColors) << what;
    EXPECT_EQ(a.background, b.background) << what;
    EXPECT_EQ(a.text, b.text) << what;
    EXPECT_EQ(a.hover, b.hover) << what;
    EXPECT_EQ(a.useHover, b.useHover) << what;
    EXPECT_EQ(a.visited, b.visited) << what;
    EXPECT_EQ(a.anchor, b.anchor) << what;
}

// One line of the stand-in browser's log.
struct Launch {
    DWORD tick = 0;
    std::string arguments;
    std::vector<std::string> settings;  // font, size, dlgcolors, bg, text, hover, usehover, visited, anchor
};

std::vector<Launch> ReadLaunches(const TempProgramFolder& dir) {
    std::vector<Launch> launches;
    std::vector<std::string> lines;
    if (!fw::ReadTextLines(dir / "launches.log", lines)) return launches;
    for (const auto& line : lines) {
        std::vector<std::string> fields;
        std::stringstream in(line);
        for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
        if (fields.size() != 11) {
            ADD_FAILURE() << "bad log line " << line;
            continue;
        }
        launches.push_back({static_cast<DWORD>(std::stoul(fields[0])), fields[1], {fields.begin() + 2, fields.end()}});
    }
    return launches;
}

// A program folder with the stand-in browser and a registry cleared of
// Internet Explorer's keys (put back afterwards) and the programs' keys.
struct LaunchFixture {
    TempProgramFolder dir;
    regtest::SavedKey ie{HKEY_CURRENT_USER, kIeKey};
    ScratchKey app{HKEY_LOCAL_MACHINE, kAppRoot};
    CLinkStore store{dir.Path()};

    explicit LaunchFixture(bool withBrowser = true, const char* behaviour = "raise") {
        if (withBrowser) dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
        dir.WriteFile("behaviour.txt", behaviour);
        dir.MakeFolder("Links");
    }

    void SetUserSettings() const {
        // The keys Internet Explorer itself would have made.
        fw::CreateKey(HKEY_CURRENT_USER, kSettings, KEY_ALL_ACCESS);
        CRegSettings reg;
        reg.SetIEFontName(kUserSettings.fontName);
        reg.SetIEFontSize(kUserSettings.fontSize);
        reg.SetUseDlgBoxColors(kUserSettings.dlgBoxColors);
        reg.SetBackgroundColor(kUserSettings.background);
        reg.SetTextColor(kUserSettings.text);
        reg.SetAnchorColorHover(kUserSettings.hover);
        reg.SetUseAnchorHoverColor(kUserSettings.useHover);
        reg.SetAnchorColorVisited(kUserSettings.visited);
        reg.SetAnchorColor(kUserSettings.anchor);
        ExpectSettings(ReadPageSettings(), kUserSettings, "set-up");
    }

    CURLEntry AddLink(const std::string& group, const std::string& font, int sizeCode, uint32_t background) const {
        CURLObject record;
        record.font.faceName = font;
        record.font.sizeCode = sizeCode;
        record.font.backgroundColor = background;
        record.font.useWindowsColors = 0;
        std::string name;
        EXPECT_EQ(store.AddURLObject(group, record, &name), kErrNone);
        return CURLEntry(group, name);
    }

    DWORD BrowserID() const {
        DWORD id = 0;
        CRegSettings().GetBrowserID(&id);
        return id;
    }
};

TEST(LinkLauncher, TwoLinksStartInOrderEachUnderItsOwnSettings) {
    LaunchFixture f;
    f.SetUserSettings();
    const CURLEntry top = f.AddLink("", "Courier New", 101, 0x00FFFFFF);
    const CURLEntry deep = f.AddLink("A\\B", "Tahoma", 105, 0x00000080);
    const DWORD idBefore = f.BrowserID();

    CLinkLauncherDlg launcher(nullptr, kManagerLauncherTemplate, kManagerPollLimit);
    ASSERT_NE(launcher.hwnd(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(launcher.hwnd()));
    ASSERT_TRUE(Finished(launcher.Launch(f.dir.Path(), {top, deep})));

    const auto launches = ReadLaunches(f.dir);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].arguments, "-f " + f.dir.Path() + "\\Links\\" + top.name);
    EXPECT_EQ(launches[1].arguments, "-f " + f.dir.Path() + "\\Links\\A\\B\\" + deep.name);
    EXPECT_EQ(launches[0].settings[0], "Courier New");
    EXPECT_EQ(launches[0].settings[1], "0");
    EXPECT_EQ(launches[0].settings[2], "no");
    EXPECT_EQ(launches[0].settings[3], "255,255,255");
    EXPECT_EQ(launches[1].settings[0], "Tahoma");
    EXPECT_EQ(launches[1].settings[1], "4");
    EXPECT_EQ(launches[1].settings[3], "128,0,0");
    EXPECT_GE(launches[1].tick - launches[0].tick, 4000u) << "four seconds after every link";

    ExpectSettings(ReadPageSettings(), kUserSettings, "after the launch");
    EXPECT_EQ(f.BrowserID(), idBefore + 2);
}

TEST(LinkLauncher, WithoutInternetExplorersSettingsKeyOnlyThreeValuesFollowTheLink) {
    LaunchFixture f;  // Internet Explorer's keys are all gone
    const CURLEntry link = f.AddLink("", "Courier New", 104, 0x00FFFFFF);
    CLinkLauncherDlg launcher(nullptr, kBrowserLauncherTemplate, kBrowserPollLimit);
    ASSERT_TRUE(Finished(launcher.Launch(f.dir.Path(), {link})));

    const auto launches = ReadLaunches(f.dir);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].settings[0], "Courier New");
    EXPECT_EQ(launches[0].settings[1], "3");
    EXPECT_EQ(launches[0].settings[3], "<nokey>") << "the background setter may not create the key";

    // Restored to the defaults of the values that could not be read.
    CRegSettings reg;
    std::string text;
    int size = -1;
    EXPECT_EQ(reg.GetIEFontName(&text), kErrNone);
    EXPECT_EQ(text, "Times New Roman");
    EXPECT_EQ(reg.GetIEFontSize(&size), kErrNone);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(reg.GetUseDlgBoxColors(&text), kErrNone);
    EXPECT_EQ(text, "no");
    EXPECT_FALSE(fw::OpenKey(HKEY_CURRENT_USER, kSettings, KEY_READ));
}

TEST(LinkLauncher, SilentBrowserIsWaitedForUpToTheLimit) {
    LaunchFixture f(true, "silent");
    f.SetUserSettings();
    const CURLEntry link = f.AddLink("", "Arial", 103, 0);
    CLinkLauncherDlg launcher(nullptr, kBrowserLauncherTemplate, kBrowserPollLimit);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(Finished(launcher.Launch(f.dir.Path(), {link})));
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_EQ(ReadLaunches(f.dir).size(), 1u);
    // 100 waits of 100 ms, then the 4-second pause.
    EXPECT_GE(elapsed, 100u * 100u + 4000u);
    ExpectSettings(ReadPageSettings(), kUserSettings, "after the launch");
}

TEST(LinkLauncher, QuitBeforeTheStartMessageLaunchesNothing) {
    LaunchFixture f;
    f.SetUserSettings();
    const CURLEntry link = f.AddLink("", "Courier New", 101, 0);
    fw::Thread thread = fw::Thread::StartWithQueue(
        [job = LaunchJob{f.dir.Path(), {link}, kBrowserPollLimit}]() mutable { LaunchThreadProc(std::move(job)); });
    ASSERT_TRUE(thread.Post(WM_QUIT));
    // Queued behind the quit, or refused when the quit has already ended the
    // thread: either way nothing may launch.
    thread.Post(kLaunchStartMessage);
    ASSERT_TRUE(thread.Join(10000));
    EXPECT_FALSE(f.dir.Exists("launches.log"));
    ExpectSettings(ReadPageSettings(), kUserSettings, "untouched");
}

TEST(LinkLauncher, OverlappingLaunchesEndWithTheUsersSettings) {
    LaunchFixture f;
    f.SetUserSettings();
    const CURLEntry one = f.AddLink("", "Courier New", 101, 0x00FFFFFF);
    const CURLEntry two = f.AddLink("", "Tahoma", 105, 0x00000080);
    CLinkLauncherDlg launcher(nullptr, kManagerLauncherTemplate, kManagerPollLimit);
    fw::Handle first = launcher.Launch(f.dir.Path(), {one});
    fw::Handle second = launcher.Launch(f.dir.Path(), {two});
    ASSERT_TRUE(Finished(std::move(first)));
    ASSERT_TRUE(Finished(std::move(second)));

    const auto launches = ReadLaunches(f.dir);
    ASSERT_EQ(launches.size(), 2u);
    // One request at a time: the second starts under its own settings, not a mixture.
    for (const auto& l : launches) {
        const std::string expected = l.settings[0] == "Courier New" ? "255,255,255" : "128,0,0";
        EXPECT_EQ(l.settings[3], expected) << l.settings[0];
    }
    EXPECT_GE(launches[1].tick - launches[0].tick, 4000u);
    ExpectSettings(ReadPageSettings(), kUserSettings, "after both launches");
}

TEST(LinkLauncher, MissingBrowserProgramSaysSoOnceAndWaitsForNothing) {
    LaunchFixture f(false);
    f.SetUserSettings();
    const CURLEntry one = f.AddLink("", "Courier New", 101, 0);
    const CURLEntry two = f.AddLink("", "Tahoma", 105, 0);
    fw::SetProgramName("VessaMgr");
    testsupport::BoxAnswerer boxes;
    CLinkLauncherDlg launcher(nullptr, kManagerLauncherTemplate, kManagerPollLimit);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(Finished(launcher.Launch(f.dir.Path(), {one, two})));
    EXPECT_LT(::GetTickCount() - start, 4000u) << "no handshake can come from a program that did not start";
    ExpectSettings(ReadPageSettings(), kUserSettings, "after the launch");
    ASSERT_EQ(boxes.Boxes().size(), 1u) << "one box for the whole request";
    EXPECT_EQ(boxes.Boxes()[0].caption, "VessaMgr");
    EXPECT_EQ(boxes.Boxes()[0].text,
              "Failed to open Vessa.exe. Please ensure that Vessa.exe is located in the same directory as this Vessa "
              "Manager program");
}

}  // namespace
