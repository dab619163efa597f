// The vendor-folder builders on the real registry, and the client stop's
// hold of the client's mutex and kill event, in this process.
#include "TwClient.h"
#include "TwPaths.h"

#include "installation.h"

#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

namespace {

using twtest::ProgramFilesOverride;

TEST(TwPaths, AnUnusableProgramFilesDirGivesTheFallback) {
    struct Case {
        const char* what;
        DWORD type;
        std::string data;
        std::string tw;
    };
    const Case cases[] = {
        {"a plain folder", REG_SZ, std::string("D:\\Apps\\", 9), "D:\\Apps\\Tarnwick"},
        {"a number", REG_DWORD, std::string("\x01\0\0\0", 4), "c:\\Program Files\\Tarnwick"},
        {"relative", REG_SZ, std::string("Program Files", 14), "c:\\Program Files\\Tarnwick"},
        {"climbing", REG_SZ, std::string("C:\\a\\..\\..\\b", 13), "c:\\Program Files\\Tarnwick"},
        {"a wildcard", REG_SZ, std::string("C:\\*", 5), "c:\\Program Files\\Tarnwick"},
        {"empty", REG_SZ, std::string("", 1), "c:\\Program Files\\Tarnwick"},
        {"without its zero", REG_SZ, "C:\\" + std::string(300, 'p'), "c:\\Program Files\\Tarnwick"},
    };
    for (const Case& c : cases) {
        ProgramFilesOverride value(c.type, c.data);
        EXPECT_EQ(twpaths::GetTwPath(false), c.tw) << c.what;
    }
}

TEST(TwPaths, TheTreeAndItsLimits) {
    testsupport::TempProgramFolder folder;
    ProgramFilesOverride value(folder.Path());
    const std::string tw = folder.Path() + "\\Tarnwick";
    EXPECT_EQ(twpaths::GetProfilesPath(false), tw + "\\AdHaven\\Profiles");
    EXPECT_EQ(twpaths::GetAdsPath(false), tw + "\\AdHaven\\Ads");
    EXPECT_FALSE(folder.Exists("Tarnwick")) << "nothing is made without the create flag";
    EXPECT_EQ(twpaths::GetHarborPath(true), tw + "\\AdHaven");
    EXPECT_TRUE(folder.Exists("Tarnwick\\AdHaven"));
    EXPECT_EQ(twpaths::GetAppPath("..", false), "");
    const std::string roomLeft(twpaths::kMaxPath - 1 - (tw.size() + 18), 'a');  // "\AdHaven\Profiles\" is 18
    EXPECT_EQ(twpaths::GetAppPath(roomLeft, false).size(), twpaths::kMaxPath - 1);
    EXPECT_EQ(twpaths::GetAppPath(roomLeft + "a", false), "") << "a path that does not fit is no path";
}

TEST(TwPaths, ChannelIds) {
    testsupport::TempProgramFolder folder;
    ProgramFilesOverride value(folder.Path());
    testsupport::ScratchKey root(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnwick, Inc.");
    char user[257] = {};
    DWORD size = sizeof user;
    ASSERT_TRUE(::GetUserNameA(user, &size));
    const std::string userPath = folder.Path() + "\\Tarnwick\\AdHaven\\Profiles\\App\\" + user;
    const std::string key = "SOFTWARE\\Tarnwick, Inc.\\AdHaven\\Channels\\App";
    EXPECT_EQ(twpaths::GetChannelPath("App", false), userPath) << "no key";
    struct Case {
        const char* what;
        DWORD type;
        std::string data;
        std::string path;
    };
    const Case cases[] = {
        {"a channel", REG_SZ, std::string("C100", 5), userPath + "\\C100"},
        {"empty", REG_SZ, std::string("", 1), userPath},
        {"climbing", REG_SZ, std::string("..", 3), ""},
        {"a separator", REG_SZ, std::string("a\\..\\..", 8), ""},
        {"absolute", REG_SZ, std::string("C:\\x", 5), ""},
        {"a number", REG_DWORD, std::string("\x07\0\0\0", 4), ""},
        {"without its zero in 256 bytes", REG_SZ, std::string(256, 'c'), ""},
    };
    for (const Case& c : cases) {
        fw::RegKey k;
        ASSERT_EQ(
            ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(), nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(k.get(), "ChannelID", 0, c.type, reinterpret_cast<const BYTE*>(c.data.data()),
                                   static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
        EXPECT_EQ(twpaths::GetChannelPath("App", false), c.path) << c.what;
    }
}

// A client stand-in on a thread: owns the client's mutex and keeps the kill
// event open without ever waiting on it, until told to let go.
TEST(CClientStop, HoldsTheMutexUntilReleasedAndLeavesNoKillSignal) {
    twtest::RemoveVendorTraces();
    fw::Handle letGo(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    fw::Handle holding(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    fw::Handle kill(::CreateEventA(nullptr, FALSE, FALSE, twkeys::kKillEvent));
    std::thread client([&] {
        fw::Handle mutex(::CreateMutexA(nullptr, TRUE, twkeys::kClientMutex));
        ::SetEvent(holding.get());
        ::WaitForSingleObject(letGo.get(), 60000);
        ::ReleaseMutex(mutex.get());
    });
    ASSERT_EQ(::WaitForSingleObject(holding.get(), 60000), WAIT_OBJECT_0);

    fw::Handle stopped(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    fw::Handle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    bool owned = false;
    std::thread uninstaller([&] {
        CClientStop stop;
        owned = stop.Stop();
        ::SetEvent(stopped.get());
        ::WaitForSingleObject(release.get(), 60000);
        stop.Release();
    });
    // The kill signal arrives; the stand-in takes no notice of it but lets go
    // of the mutex, leaving the signal set.
    ASSERT_EQ(::WaitForSingleObject(kill.get(), 60000), WAIT_OBJECT_0);
    ::SetEvent(kill.get());
    ::SetEvent(letGo.get());
    client.join();
    ASSERT_EQ(::WaitForSingleObject(stopped.get(), 60000), WAIT_OBJECT_0);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(twtest::Installation::ClientMutexHeld()) << "held through the clean-up";
    ::SetEvent(release.get());
    uninstaller.join();
    EXPECT_FALSE(twtest::Installation::ClientMutexHeld());
    EXPECT_EQ(::WaitForSingleObject(kill.get(), 0), WAIT_TIMEOUT) << "a restarted client would quit at once";
}

TEST(CClientStop, NoClientNoSignal) {
    twtest::RemoveVendorTraces();
    fw::Handle kill(::CreateEventA(nullptr, FALSE, FALSE, twkeys::kKillEvent));
    {
        CClientStop stop;
        EXPECT_TRUE(stop.Stop());
        EXPECT_EQ(::WaitForSingleObject(kill.get(), 0), WAIT_TIMEOUT);
    }
    EXPECT_FALSE(twtest::Installation::ClientMutexHeld());
}

}  // namespace
