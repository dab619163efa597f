// The rc reference-count files and VerifyFiles, run in twharness processes
// of their own on real files.
#include "harness_util.h"
#include "install_test_util.h"

#include "testsupport/temp_program_folder.h"

#include "fw/file.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// The harness's output with its lines ended by LF alone.
std::string RunHarness(const std::string& steps) {
    std::string out = twtest::RunHarness(steps);
    std::erase(out, '\r');
    return out;
}
using twtest::Words;

constexpr std::uint32_t kKind = 0x1A3;

std::string Entry(std::uint32_t count, std::uint32_t type, std::uint32_t kind) {
    return Words({count, type, kind});
}

TEST(RcFile, Releases) {
    struct Case {
        const char* what;
        bool exists;
        std::string before;
        const char* step;  // the arguments after the path
        const char* said;
        std::string after;
    };
    const std::string one = Words({1}) + Entry(3, 0, kKind);
    const Case cases[] = {
        {"a missing file is made with one entry at 0", false, "", "-1 0x1a3 0", "rc-release 1 0",
         Words({1}) + Entry(0, 0, kKind)},
        {"a missing family is appended at 0 and N grows", true, one, "-1 0x2b 1", "rc-release 1 0",
         Words({2}) + Entry(3, 0, kKind) + Entry(0, 1, 0x2B)},
        {"the family of the same type and kind is changed in place", true, one, "-1 0x1a3 0", "rc-release 1 2",
         Words({1}) + Entry(2, 0, kKind)},
        {"type and kind together find the entry", true, one, "-1 0x1a3 1", "rc-release 1 0",
         Words({2}) + Entry(3, 0, kKind) + Entry(0, 1, kKind)},
        {"a count at 0 stays at 0", true, Words({1}) + Entry(0, 0, kKind), "-1 0x1a3 0", "rc-release 1 0",
         Words({1}) + Entry(0, 0, kKind)},
        {"a count rises", true, one, "1 0x1a3 0", "rc-release 1 4", Words({1}) + Entry(4, 0, kKind)},
        {"a new entry goes at 4 + 12N, over bytes past the entries", true, one + "junk", "-1 7 0", "rc-release 1 0",
         Words({2}) + Entry(3, 0, kKind) + Entry(0, 0, 7)},
        {"a short file is unknown and stays", true, Words({2}) + Entry(3, 0, kKind), "-1 0x1a3 0", "rc-release 0",
         Words({2}) + Entry(3, 0, kKind)},
        {"an empty file is unknown", true, "", "-1 0x1a3 0", "rc-release 0", ""},
        {"a family held twice is unknown", true, Words({2}) + Entry(1, 0, kKind) + Entry(0, 0, kKind), "-1 0x1a3 0",
         "rc-release 0", Words({2}) + Entry(1, 0, kKind) + Entry(0, 0, kKind)},
        {"a negative count is unknown", true, Words({1}) + Entry(0xFFFFFFFF, 0, kKind), "-1 0x1a3 0", "rc-release 0",
         Words({1}) + Entry(0xFFFFFFFF, 0, kKind)},
        {"a third type is unknown", true, Words({1}) + Entry(1, 2, kKind), "-1 0x1a3 2", "rc-release 0",
         Words({1}) + Entry(1, 2, kKind)},
    };
    for (const Case& c : cases) {
        testsupport::TempProgramFolder folder;
        const std::string rc = folder / "rc";
        if (c.exists) {
            ASSERT_TRUE(twtest::WriteBytes(rc, c.before)) << c.what;
        }
        EXPECT_EQ(RunHarness("rc-release " + rc + " " + c.step), std::string(c.said) + "\n") << c.what;
        EXPECT_EQ(twtest::ReadBytes(rc), c.after) << c.what;
    }
    // No ad folder: nothing is made.
    testsupport::TempProgramFolder folder;
    EXPECT_EQ(RunHarness("rc-release " + folder / "77\\rc" + " -1 1 0"), "rc-release 0\n");
    EXPECT_FALSE(folder.Exists("77"));
}

TEST(RcFile, CountsAndTotals) {
    struct Case {
        const char* what;
        bool exists;
        std::string bytes;
        const char* count;  // of type 0, kind 0x1a3
        const char* total;
    };
    const Case cases[] = {
        {"missing file", false, "", "rc-count 0", "rc-total 0"},
        {"no such family", true, Words({1}) + Entry(4, 1, kKind), "rc-count 0", "rc-total 4"},
        {"two families", true, Words({2}) + Entry(4, 1, kKind) + Entry(2, 0, kKind), "rc-count 2", "rc-total 6"},
        // Three counts of 2^31 - 1 are no small number, nor zero.
        {"counts summed in 64 bits", true,
         Words({3}) + Entry(0x7FFFFFFF, 0, kKind) + Entry(0x7FFFFFFF, 1, 1) + Entry(0x7FFFFFFF, 0, 2),
         "rc-count 2147483647", "rc-total 6442450941"},
        {"short", true, Words({2}) + Entry(0, 0, kKind), "rc-count unknown", "rc-total unknown"},
        {"shorter than N", true, "\x01\x00", "rc-count unknown", "rc-total unknown"},
        {"duplicate", true, Words({2}) + Entry(0, 0, kKind) + Entry(0, 0, kKind), "rc-count unknown",
         "rc-total unknown"},
        {"absurd N", true, Words({0xFFFFFFFF}) + Entry(0, 0, kKind), "rc-count unknown", "rc-total unknown"},
    };
    for (const Case& c : cases) {
        testsupport::TempProgramFolder folder;
        const std::string rc = folder / "rc";
        if (c.exists) {
            ASSERT_TRUE(twtest::WriteBytes(rc, c.bytes)) << c.what;
        }
        EXPECT_EQ(RunHarness("rc-count " + rc + " 0x1a3 0 rc-total " + rc),
                  std::string(c.count) + "\n" + c.total + "\n")
            << c.what;
    }
}

TEST(RcFile, AFileTheClientHoldsIsGivenUpAfterABound) {
    testsupport::TempProgramFolder folder;
    const std::string rc = folder / "rc";
    const std::string before = Words({1}) + Entry(1, 0, kKind);
    ASSERT_TRUE(twtest::WriteBytes(rc, before));
    const std::string held = twtest::UniqueName("rcheld");
    const std::string done = twtest::UniqueName("rcdone");
    auto holder = twtest::StartHarness("hold-file " + rc + " signal " + held + " wait " + done);
    fw::Handle heldEvent = testsupport::MakeNamedEvent(held);
    fw::Handle doneEvent = testsupport::MakeNamedEvent(done);
    ASSERT_TRUE(testsupport::WaitEventOrExit(heldEvent.get(), holder->Process()));
    EXPECT_EQ(RunHarness("rc-release " + rc + " -1 0x1a3 0 rc-count " + rc + " 0x1a3 0 rc-total " + rc),
              "rc-release 0\nrc-count unknown\nrc-total unknown\n");
    ::SetEvent(doneEvent.get());
    EXPECT_EQ(holder->Wait(), 0);
    EXPECT_EQ(twtest::ReadBytes(rc), before);
    EXPECT_EQ(RunHarness("rc-release " + rc + " -1 0x1a3 0"), "rc-release 1 0\n") << "free again";
}

TEST(AdRecordFiles, VerifyFiles) {
    const std::string ads = twtest::SampleAds();
    const std::string current = twtest::RecordPath("current");
    const std::string verify = "ad-verify " + ads + " " + current + " 3000";
    EXPECT_EQ(RunHarness(verify), "ad-verify 1\n") << "the files as cached";

    // A multi file, the part file: altered, missing, held without sharing.
    const std::string multi = ads + "\\77\\22020001.1a3";
    const std::string part = ads + "\\77\\01.02b";
    for (const std::string& file : {multi, part}) {
        const std::string original = twtest::ReadBytes(file);
        ASSERT_FALSE(original.empty());
        std::string altered = original;
        altered[3] ^= 0x40;
        ASSERT_TRUE(twtest::WriteBytes(file, altered));
        EXPECT_EQ(RunHarness(verify), "ad-verify 0\n") << "altered " << file;
        ASSERT_TRUE(::DeleteFileA(file.c_str()));
        EXPECT_EQ(RunHarness(verify), "ad-verify 0\n") << "missing " << file;
        ASSERT_TRUE(twtest::WriteBytes(file, altered));
        const std::string held = twtest::UniqueName("verifyheld");
        const std::string done = twtest::UniqueName("verifydone");
        auto holder = twtest::StartHarness("hold-file " + file + " signal " + held + " wait " + done);
        fw::Handle heldEvent = testsupport::MakeNamedEvent(held);
        fw::Handle doneEvent = testsupport::MakeNamedEvent(done);
        ASSERT_TRUE(testsupport::WaitEventOrExit(heldEvent.get(), holder->Process()));
        EXPECT_EQ(RunHarness(verify), "ad-verify 1\n") << "held by the client " << file;
        ::SetEvent(doneEvent.get());
        EXPECT_EQ(holder->Wait(), 0);
        ASSERT_TRUE(twtest::WriteBytes(file, original));
    }
    EXPECT_EQ(RunHarness(verify), "ad-verify 1\n");
    // The second part has no part file: nothing is looked for.
    EXPECT_FALSE(fw::FileExists(ads + "\\77\\02.02b"));
}

}  // namespace
