// The stand-in twad.dll, loaded as the browser loads it (import library):
// it writes one line per call with what it was handed.
#include "twad/twad.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

class TwadLog : public ::testing::Test {
protected:
    void SetUp() override { ::SetEnvironmentVariableA("TWAD_STANDIN_LOG", (dir.Path() + "\\twad.log").c_str()); }
    void TearDown() override {
        ::SetEnvironmentVariableA("TWAD_STANDIN_LOG", nullptr);
        ::SetEnvironmentVariableA("TWAD_STANDIN_RESULT", nullptr);
    }
    std::string Log() const { return dir.Exists("twad.log") ? dir.ReadFile("twad.log") : std::string(); }

    testsupport::TempProgramFolder dir;
};

TEST_F(TwadLog, OneLinePerCallWithTheRecordsFields) {
    TwadProxyRecord record{kTwadProxyKind, "127.0.0.1", 3128, {}};
    EXPECT_EQ(QD_UtilConfigSystem("Vessa", "mo4vx", 16, &record), 0);
    record.host = "proxyhost";
    record.port = 0;
    EXPECT_EQ(QD_UtilConfigSystem("Vessa", "mo4vx", 16, &record), 0);
    EXPECT_EQ(Log(),
              "Vessa|mo4vx|16|kind=2|host=127.0.0.1|port=3128\r\n"
              "Vessa|mo4vx|16|kind=2|host=proxyhost|port=0\r\n");
}

TEST_F(TwadLog, ReservedBytesAndMissingPiecesShowInTheLine) {
    TwadProxyRecord record{kTwadProxyKind, nullptr, 1, {}};
    record.reserved[11] = 1;
    EXPECT_EQ(QD_UtilConfigSystem(nullptr, "k", 3, &record), 0);
    EXPECT_NE(QD_UtilConfigSystem("Vessa", "mo4vx", 16, nullptr), 0) << "no record is a failure";
    EXPECT_EQ(Log(),
              "(null)|k|3|kind=2|host=(null)|port=1|reserved=nonzero\r\n"
              "Vessa|mo4vx|16|no record\r\n");
}

TEST_F(TwadLog, TheResultCanBeMadeAFailure) {
    ::SetEnvironmentVariableA("TWAD_STANDIN_RESULT", "7");
    TwadProxyRecord record{kTwadProxyKind, "h", 80, {}};
    EXPECT_EQ(QD_UtilConfigSystem("Vessa", "mo4vx", 16, &record), 7);
    EXPECT_EQ(Log(), "Vessa|mo4vx|16|kind=2|host=h|port=80\r\n");
}

TEST(Twad, ExportsTheFunctionByItsPlainName) {
    HMODULE twad = ::GetModuleHandleA("twad.dll");
    ASSERT_NE(twad, nullptr) << "linked at load time";
    EXPECT_NE(::GetProcAddress(twad, "QD_UtilConfigSystem"), nullptr);
}

}  // namespace
