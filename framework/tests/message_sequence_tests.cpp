// The message-sequence helper of the window tests: a log that matches its
// table passes, and each kind of difference fails at the caller's line.
#include "testsupport/message_sequence.h"

#include <commctrl.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::ExpectedMessage;
using testsupport::ExpectSequence;
using testsupport::kLParam;
using testsupport::kOptional;
using testsupport::kWParam;
using testsupport::MessageLog;
using testsupport::Notify;
using testsupport::ReflectedNotify;

struct Failure {
    bool matched = true;
    std::vector<::testing::TestPartResult> results;
};

// Runs the comparison with its failures caught, not reported.
template <size_t N>
Failure Compare(MessageLog& log, const ExpectedMessage (&expected)[N], int* line) {
    Failure f;
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        *line = __LINE__ + 1;
        f.matched = ExpectSequence(log, expected, "case");
    }
    for (int i = 0; i < results.size(); ++i) f.results.push_back(results.GetTestPartResult(i));
    return f;
}

MessageLog Log(std::initializer_list<testsupport::LoggedMessage> entries) {
    MessageLog log;
    for (const auto& e : entries) log.Add(e.message, e.wParam, e.lParam);
    return log;
}

TEST(MessageSequence, AMatchingLogPassesAndIsEmptiedAfterwards) {
    MessageLog log = Log({{nullptr, WM_CREATE, 0, 0}, {nullptr, WM_SIZE, 0, MAKELPARAM(10, 20)}});
    static const ExpectedMessage kTable[] = {{WM_NCCREATE, kOptional},
                                             {WM_CREATE},
                                             {WM_SHOWWINDOW, kOptional},
                                             {WM_SIZE, kLParam, 0, MAKELPARAM(10, 20)},
                                             {WM_MOVE, kOptional}};
    int line = 0;
    const Failure f = Compare(log, kTable, &line);
    EXPECT_TRUE(f.matched);
    EXPECT_TRUE(f.results.empty());
    EXPECT_TRUE(log.Entries().empty());
}

TEST(MessageSequence, EachDifferenceFailsAtTheCallersLine) {
    static const ExpectedMessage kTable[] = {{WM_CREATE}, {WM_COMMAND, kWParam, 7}, {WM_DESTROY}};
    const struct {
        const char* name;
        MessageLog log;
        const char* says;
    } cases[] = {
        {"wrong message", Log({{nullptr, WM_CREATE, 0, 0}, {nullptr, WM_NOTIFY, 7, 0}, {nullptr, WM_DESTROY, 0, 0}}),
         "expected WM_COMMAND, got WM_NOTIFY"},
        {"wrong wParam", Log({{nullptr, WM_CREATE, 0, 0}, {nullptr, WM_COMMAND, 8, 0}, {nullptr, WM_DESTROY, 0, 0}}),
         "expected wParam"},
        {"missing", Log({{nullptr, WM_CREATE, 0, 0}, {nullptr, WM_COMMAND, 7, 0}}), "missing WM_DESTROY"},
        {"extra",
         Log({{nullptr, WM_CREATE, 0, 0},
              {nullptr, WM_COMMAND, 7, 0},
              {nullptr, WM_DESTROY, 0, 0},
              {nullptr, WM_APP + 1, 0, 0}}),
         "extra WM_APP+1"},
        {"order", Log({{nullptr, WM_COMMAND, 7, 0}, {nullptr, WM_CREATE, 0, 0}, {nullptr, WM_DESTROY, 0, 0}}),
         "expected WM_CREATE, got WM_COMMAND"},
    };
    for (auto c : cases) {
        int line = 0;
        const Failure f = Compare(c.log, kTable, &line);
        EXPECT_FALSE(f.matched) << c.name;
        ASSERT_EQ(f.results.size(), 1u) << c.name;
        const auto& r = f.results.front();
        EXPECT_TRUE(r.nonfatally_failed()) << c.name;
        EXPECT_EQ(r.line_number(), line) << c.name << ": the caller's line";
        EXPECT_NE(std::string(r.file_name()).find("message_sequence_tests.cpp"), std::string::npos) << c.name;
        EXPECT_NE(std::string(r.message()).find(c.says), std::string::npos) << c.name << ": " << r.message();
        EXPECT_NE(std::string(r.message()).find("case: "), std::string::npos) << c.name << ": the context";
    }
}

// Notifications match by code, plain or reflected; the code is read when logged.
TEST(MessageSequence, NotificationsMatchByTheirCodeAndByWhetherTheyWereReflected) {
    static const ExpectedMessage kTable[] = {Notify(TVN_SELCHANGINGA), Notify(NM_SETFOCUS, kOptional),
                                             ReflectedNotify(TVN_SELCHANGEDA)};
    const UINT reflected = fw::kReflectBase + WM_NOTIFY;
    NMHDR changing{nullptr, 1, static_cast<UINT>(TVN_SELCHANGINGA)};
    NMHDR changed{nullptr, 1, static_cast<UINT>(TVN_SELCHANGEDA)};
    NMHDR click{nullptr, 1, static_cast<UINT>(NM_CLICK)};
    const auto log = [&](std::initializer_list<std::pair<UINT, NMHDR*>> entries) {
        MessageLog made;
        for (const auto& [message, hdr] : entries) made.Add(message, 1, reinterpret_cast<LPARAM>(hdr));
        return made;
    };
    {
        MessageLog matching = log({{WM_NOTIFY, &changing}, {reflected, &changed}});
        changing.code = static_cast<UINT>(NM_CLICK);  // gone by the time of the comparison
        int line = 0;
        const Failure f = Compare(matching, kTable, &line);
        EXPECT_TRUE(f.matched) << (f.results.empty() ? "" : f.results.front().message());
        changing.code = static_cast<UINT>(TVN_SELCHANGINGA);
    }
    const struct {
        const char* name;
        MessageLog log;
        const char* says;
    } cases[] = {
        {"wrong code", log({{WM_NOTIFY, &click}, {reflected, &changed}}),
         "expected WM_NOTIFY TVN_SELCHANGINGA, got WM_NOTIFY NM_CLICK"},
        {"not reflected", log({{WM_NOTIFY, &changing}, {WM_NOTIFY, &changed}}),
         "expected reflected WM_NOTIFY TVN_SELCHANGEDA, got WM_NOTIFY TVN_SELCHANGEDA"},
        {"order", log({{reflected, &changed}, {WM_NOTIFY, &changing}}),
         "expected WM_NOTIFY TVN_SELCHANGINGA, got reflected WM_NOTIFY TVN_SELCHANGEDA"},
        {"a reflection with another code", log({{WM_NOTIFY, &changing}, {reflected, &changing}, {reflected, &changed}}),
         "expected reflected WM_NOTIFY TVN_SELCHANGEDA, got reflected WM_NOTIFY TVN_SELCHANGINGA"},
    };
    for (auto c : cases) {
        int line = 0;
        const Failure f = Compare(c.log, kTable, &line);
        EXPECT_FALSE(f.matched) << c.name;
        ASSERT_EQ(f.results.size(), 1u) << c.name;
        EXPECT_EQ(f.results.front().line_number(), line) << c.name;
        EXPECT_NE(std::string(f.results.front().message()).find(c.says), std::string::npos)
            << c.name << ": " << f.results.front().message();
    }
    EXPECT_EQ(testsupport::NotificationName(WM_NOTIFY, static_cast<UINT>(-1234)), "WM_NOTIFY code -1234");
}

// The recorder sees what a real window gets, in order, until it goes away.
TEST(MessageSequence, TheRecorderLogsARealWindowsMessages) {
    HWND button = ::CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(button);
    MessageLog log;
    {
        testsupport::MessageRecorder recorder(button, log,
                                              [](UINT msg) { return msg == WM_SETTEXT || msg == WM_APP + 5; });
        ::SetWindowTextA(button, "new");
        ::SendMessageA(button, WM_APP + 5, 3, 0);
        static const ExpectedMessage kSeen[] = {{WM_SETTEXT}, {WM_APP + 5, kWParam, 3}};
        ExpectSequence(log, kSeen, "text, then the application's message");
    }
    ::SendMessageA(button, WM_APP + 5, 4, 0);
    EXPECT_TRUE(log.Entries().empty()) << "nothing once the recorder is gone";
    ::DestroyWindow(button);
}

}  // namespace
