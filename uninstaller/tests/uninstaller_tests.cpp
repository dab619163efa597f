// TwUninstaller.exe, black box, on installations that install_fixtures.py
// generated, with the stand-in client running.
#include "installation.h"

#include "harness_util.h"
#include "install_test_util.h"

#include "fw/file.h"
#include "testsupport/box_answerer.h"
#include "testsupport/child_process.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

namespace {

using twtest::Installation;
using Strings = std::vector<std::string>;

constexpr const char* kProfiles = "Program Files\\Tarnwick\\AdHaven\\Profiles\\";
constexpr const char* kAds = "Program Files\\Tarnwick\\AdHaven\\Ads\\";

// The five keys an application has.
Strings AppKeys(const std::string& app) {
    return {"HKLM\\SOFTWARE\\Tarnwick, Inc.\\AdHaven\\Channels\\" + app,
            "HKCU\\SOFTWARE\\Tarnwick, Inc.\\Applications\\" + app,
            "HKLM\\SOFTWARE\\Tarnwick, Inc.\\TwAdBot\\Clients\\" + app,
            "HKCU\\SOFTWARE\\Tarnwick, Inc.\\TwAdBot\\Clients\\" + app,
            "HKCU\\SOFTWARE\\Tarnwick, Inc.\\Bootstrap\\" + app};
}

bool KeyExists(const std::string& key) {
    const HKEY root = key.starts_with("HKLM") ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    return regtest::KeyExists(root, key.substr(5));
}

bool RunValuePresent() {
    return regtest::ValuePresent(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                 "Tarnwick Ad Client");
}

std::string Library(const char* name) {
    char folder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

// The counts of an rc file, in entry order.
std::vector<std::uint32_t> RcCounts(const std::string& path) {
    const std::string bytes = twtest::ReadBytes(path);
    std::vector<std::uint32_t> counts;
    for (std::size_t at = 4; at + 12 <= bytes.size(); at += 12) {
        std::uint32_t count = 0;
        for (int i = 0; i < 4; ++i) count |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
        counts.push_back(count);
    }
    return counts;
}

const Strings kMultiFiles = {"11010001.1a3", "11010002.1a3", "22010001.1a3",
                             "22010002.1a3", "11020001.1a3", "22020001.1a3"};

TEST(Uninstaller, RemovesOneApplicationAndRestartsTheClient) {
    Installation inst("main");
    const std::string vessa = inst.App("Vessa");
    ASSERT_TRUE(inst.StartClient(vessa));
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    ASSERT_TRUE(inst.WaitClientReady()) << "the client is started again";
    // Stopped before anything was deleted, started after.
    EXPECT_EQ(inst.ClientLog(), (Strings{"start present", "kill present", "stop present", "start absent"}));

    EXPECT_FALSE(inst.Exists(vessa));
    for (const std::string& key : AppKeys("Vessa")) EXPECT_FALSE(KeyExists(key)) << key;
    EXPECT_EQ(inst.Changed(std::string(kProfiles) + "Other\\"), Strings{});
    for (const std::string& key : AppKeys("Other")) EXPECT_TRUE(KeyExists(key)) << key;
    for (const std::string& key : AppKeys("Keep")) EXPECT_TRUE(KeyExists(key)) << key;
    EXPECT_FALSE(inst.Exists(inst.App("Keep")));
    EXPECT_TRUE(RunValuePresent());
    EXPECT_TRUE(fw::FileExists(Library("TwAd.dll")));

    // Done, used by Vessa alone: the whole ad goes; the same in format 1000.
    EXPECT_FALSE(inst.Exists(inst.Ad(101)));
    EXPECT_FALSE(inst.Exists(inst.Ad(107)));
    // Shared with Other: one reference fewer, every file kept.
    EXPECT_EQ(RcCounts(inst.Ad(102) + "\\rc"), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(inst.Changed(std::string(kAds) + "102\\", "\\rc"), Strings{});
    // Both families released, another family holds the folder: only theirs go.
    EXPECT_EQ(RcCounts(inst.Ad(103) + "\\rc"), (std::vector<std::uint32_t>{0, 0, 3}));
    for (const std::string& file : kMultiFiles) EXPECT_FALSE(inst.Exists(inst.Ad(103) + "\\" + file)) << file;
    EXPECT_FALSE(inst.Exists(inst.Ad(103) + "\\01.02b"));
    EXPECT_TRUE(inst.Exists(inst.Ad(103) + "\\ff010001.fff"));
    // Pending with flag A and no multi-file count: the multi files go, the counted part file stays.
    for (const std::string& file : kMultiFiles) EXPECT_FALSE(inst.Exists(inst.Ad(104) + "\\" + file)) << file;
    EXPECT_EQ(inst.Changed(std::string(kAds) + "104\\01.02b"), Strings{});
    // Pending without flags: nothing goes; with nothing counted: the whole ad goes.
    EXPECT_EQ(inst.Changed(std::string(kAds) + "105\\"), Strings{});
    EXPECT_FALSE(inst.Exists(inst.Ad(106)));
    // An rc file holding a family twice, a record that does not parse: untouched.
    EXPECT_EQ(inst.Changed(std::string(kAds) + "108\\"), Strings{});
    EXPECT_EQ(inst.Changed(std::string(kAds) + "109\\"), Strings{});
    EXPECT_EQ(inst.Changed(std::string(kAds) + "110\\"), Strings{});
}

TEST(Uninstaller, TheLastApplicationTakesTheClientWithIt) {
    Installation inst("last");
    ASSERT_TRUE(inst.StartClient(inst.App("Vessa")));
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    EXPECT_FALSE(inst.Exists(inst.Tw()));
    EXPECT_FALSE(regtest::KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwick, Inc."));
    EXPECT_FALSE(regtest::KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Tarnwick, Inc."));
    EXPECT_FALSE(RunValuePresent());
    for (const char* name : {"TwAd.dll", "QdNetDetect.dll", "ZhkDLL.dll"}) EXPECT_FALSE(fw::FileExists(Library(name)));
    // Starting the client would have made its folder again.
    EXPECT_EQ(inst.ClientLog(), (Strings{"start present", "kill present", "stop present"}));
    EXPECT_FALSE(Installation::ClientMutexHeld());
}

TEST(Uninstaller, ARunValueAloneGoesAndNoFolderIsMade) {
    Installation inst("run_only");
    ASSERT_TRUE(RunValuePresent());
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    EXPECT_FALSE(RunValuePresent());
    EXPECT_FALSE(inst.Exists(inst.Root() + "\\Program Files"));
    EXPECT_EQ(inst.ClientLog(), Strings{});
}

TEST(Uninstaller, ASecondRunAfterAFailedDeletionReleasesNothingAgain) {
    Installation inst("twice");
    const std::string done = inst.App("Vessa") + "\\" + inst.User() + "\\Done";
    const std::string opened = twtest::UniqueName("queue_open");
    const std::string finish = twtest::UniqueName("queue_finish");
    fw::Handle openedEvent = testsupport::MakeNamedEvent(opened);
    fw::Handle finishEvent = testsupport::MakeNamedEvent(finish);
    auto holder = twtest::StartHarness("db-open-ad \"" + done + "\" 0 signal " + opened + " wait " + finish);
    ASSERT_TRUE(testsupport::WaitEventOrExit(openedEvent.get(), holder->Process()));

    // Other's keys remain, so every run starts the client again: stop it each time.
    const auto run = [&] {
        EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
        EXPECT_TRUE(inst.WaitClientReady());
        Installation::StopClients();
    };
    run();
    EXPECT_EQ(RcCounts(inst.Ad(301) + "\\rc"), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_TRUE(fw::FileExists(done + ".cdb")) << "held open by another process";
    run();
    EXPECT_EQ(RcCounts(inst.Ad(301) + "\\rc"), (std::vector<std::uint32_t>{1, 1})) << "released once only";

    ::SetEvent(finishEvent.get());
    EXPECT_EQ(holder->Wait(), 0);
    run();
    EXPECT_EQ(RcCounts(inst.Ad(301) + "\\rc"), (std::vector<std::uint32_t>{1, 1})) << "nor from the written index";
    EXPECT_FALSE(inst.Exists(inst.App("Vessa")));
    EXPECT_TRUE(inst.Exists(inst.Ad(301) + "\\01.02b"));
}

TEST(Uninstaller, AKillSignalSetByAnotherProcessDoesNotStopTheRestartedClient) {
    Installation inst("main");
    // No client runs; another process set the kill event and holds it.
    const std::string set = twtest::UniqueName("kill_set");
    const std::string finish = twtest::UniqueName("kill_finish");
    fw::Handle setEvent = testsupport::MakeNamedEvent(set);
    fw::Handle finishEvent = testsupport::MakeNamedEvent(finish);
    auto holder = twtest::StartHarness("set-event \"Tarnwick Kill Ad Client\" signal " + set + " wait " + finish);
    ASSERT_TRUE(testsupport::WaitEventOrExit(setEvent.get(), holder->Process()));

    const std::size_t earlier = inst.ClientLog().size();  // the scenario's earlier runs
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    ASSERT_TRUE(inst.WaitClientReady()) << "the client is started again for Other: "
                                         << testing::PrintToString(inst.ClientLog());
    // The stand-in logs a signal that was set at its start before it is ready.
    const Strings log = inst.ClientLog();
    EXPECT_EQ(Strings(log.begin() + static_cast<std::ptrdiff_t>(std::min(earlier, log.size())), log.end()),
              Strings{"start"});
    EXPECT_TRUE(Installation::ClientMutexHeld()) << "the restarted client still runs";
    ::SetEvent(finishEvent.get());
    EXPECT_EQ(holder->Wait(), 0);
}

TEST(Uninstaller, TheClientLetsGoOfItsFilesBeforeTheyAreReleased) {
    Installation inst("held");
    // The client keeps the ad's rc file open, unshared, until it quits.
    ASSERT_TRUE(inst.StartClient(inst.App("Vessa"), "", inst.Ad(301) + "\\rc"));
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    EXPECT_EQ(RcCounts(inst.Ad(301) + "\\rc"), (std::vector<std::uint32_t>{1, 1}));
    EXPECT_TRUE(inst.WaitClientReady());
}

TEST(Uninstaller, AClientThatDoesNotQuitIsWaitedForAMinuteThenPassedOver) {
    Installation inst("deaf");
    ASSERT_TRUE(inst.StartClient(inst.App("Vessa"), "ignore-kill"));
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    // The restarted client may have logged its start after these.
    const Strings log = inst.ClientLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(Strings(log.begin(), log.begin() + 2), (Strings{"start present", "kill ignored present"}));
    EXPECT_FALSE(inst.Exists(inst.App("Vessa")));
    EXPECT_EQ(RcCounts(inst.Ad(301) + "\\rc"), (std::vector<std::uint32_t>{1, 1}));
    // The restarted client waits for the mutex the deaf one holds until its second kill.
    Installation::StopClients();
    EXPECT_TRUE(inst.WaitClientReady());
}

TEST(Uninstaller, CommandLines) {
    struct Case {
        const char* scenario;
        std::string arguments;
        int code;
        const char* removed;  // the application folder that must be gone, or null
    };
    const Case cases[] = {
        {"upper", "-APPNAME Vessa -NOERRORGUI -DontAsk", 0, "Vessa"},
        {"spaces", "-appnameX \"Ves sa\" -noerrorgui", 0, "Ves sa"},
        {"dashname", "-appname -noerrorgui", 0, "-noerrorgui"},
    };
    for (const Case& c : cases) {
        Installation inst(c.scenario);
        testsupport::ChildProcess run;
        ASSERT_TRUE(run.Start(testsupport::TestBinaryFolder() + "\\TwUninstaller.exe", c.arguments));
        testsupport::BoxAnswerer boxes(::GetProcessId(run.Process()));
        EXPECT_EQ(run.Wait(), c.code) << c.arguments;
        EXPECT_TRUE(boxes.Boxes().empty()) << c.arguments;
        EXPECT_TRUE(inst.WaitClientReady()) << "restarted for Other " << c.arguments;
        EXPECT_FALSE(inst.Exists(inst.App(c.removed))) << c.arguments;
        EXPECT_TRUE(inst.Exists(inst.App("Other"))) << c.arguments;
    }
}

TEST(Uninstaller, NoUsableNameChangesNothing) {
    Installation inst("toolong");
    ASSERT_TRUE(inst.StartClient(inst.App("Vessa")));
    struct Case {
        std::string arguments;
        int code;
    };
    const Case cases[] = {
        {"-noerrorgui -appname", -1},
        {"-noerrorgui -appname " + std::string(200, 'v'), -2},  // no room in a path
        {"-noerrorgui -appname " + std::string(300, 'v'), -1},  // longer than any token
        {"-noerrorgui -appname ..", -1},
        {"-noerrorgui -appname .", -1},
        {"-noerrorgui -appname \"\"", -1},
        {"-noerrorgui -appname Vessa\\..\\Other", -1},
        {"-noerrorgui -appname ..\\Profiles", -1},
        {"-noerrorgui -appname C:\\Windows", -1},
        {"-noerrorgui -appname Ves*", -1},
        {"-noerrorgui -appname \"Vessa \"", -1},
        {"-noerrorgui -appname Vessa.", -1},
        {"-noerrorgui -appname CON", -1},
        {"-noerrorgui -appname lpt1.txt", -1},
        {"-noerrorgui -appname \"a\tb\"", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(inst.RunUninstaller(c.arguments), c.code) << c.arguments;
    // The client was never asked to stop, and nothing was touched.
    EXPECT_EQ(inst.ClientLog(), Strings{"start present"});
    EXPECT_TRUE(Installation::ClientMutexHeld());
    EXPECT_EQ(inst.Changed("Program Files\\"), Strings{});
    for (const std::string& key : AppKeys("Vessa")) EXPECT_TRUE(KeyExists(key)) << key;
}

TEST(Uninstaller, WithoutANameAMessageBoxSaysSo) {
    testsupport::ChildProcess run;
    ASSERT_TRUE(run.Start(testsupport::TestBinaryFolder() + "\\TwUninstaller.exe", ""));
    testsupport::BoxAnswerer boxes(::GetProcessId(run.Process()));
    boxes.Plan(IDOK);
    ASSERT_TRUE(boxes.WaitForBoxes(1, 30000));
    EXPECT_EQ(run.Wait(), -1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].text, "No AppName specified");
}

TEST(Uninstaller, NothingIsReachedThroughALink) {
    Installation inst("links");
    const std::string outside = inst.Root() + "\\Outside";
    ASSERT_NE(::GetFileAttributesA(inst.Ad(401).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u)
        << "the platform shows folder links as links";
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    EXPECT_TRUE(inst.WaitClientReady());
    Installation::StopClients();
    EXPECT_FALSE(inst.Exists(inst.App("Vessa") + "\\" + inst.User() + "\\C1"));
    EXPECT_EQ(inst.Changed("Outside\\"), Strings{});
    EXPECT_EQ(RcCounts(outside + "\\Ad\\rc"), (std::vector<std::uint32_t>{1, 1}));
    // An ad in a real folder is released and its files go, but not a file link among them.
    EXPECT_FALSE(inst.Exists(inst.Ad(402) + "\\22010001.1a3"));
    EXPECT_FALSE(inst.Exists(inst.Ad(402) + "\\rc"));
    EXPECT_TRUE(fw::FileExists(outside + "\\Files\\multi.txt"));
    // An rc file that is a link is neither read nor written: ad 403 keeps everything.
    EXPECT_EQ(inst.Changed(std::string(kAds) + "403\\"), Strings{});
    EXPECT_TRUE(fw::FileExists(outside + "\\Files\\user.txt"));
    // An application folder that is itself a link.
    EXPECT_EQ(inst.RunUninstaller("-appname Linked -noerrorgui"), 0);
    EXPECT_TRUE(inst.WaitClientReady());
    EXPECT_EQ(inst.Changed("Outside\\"), Strings{});
    EXPECT_TRUE(fw::FileExists(outside + "\\App\\precious.txt"));
}

TEST(Uninstaller, AChannelIdThatIsNoPlainNameReleasesNothing) {
    Installation inst("bad_channel");
    EXPECT_EQ(inst.RunUninstaller("-appname Vessa -noerrorgui"), 0);
    EXPECT_TRUE(inst.WaitClientReady());
    EXPECT_EQ(inst.Changed(std::string(kAds) + "501\\"), Strings{});
    EXPECT_FALSE(inst.Exists(inst.App("Vessa")));
}

}  // namespace
