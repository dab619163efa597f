#include "ErrorHandler.h"

#include "fw/msgbox.h"
#include "testsupport/box_answerer.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using testsupport::BoxAnswerer;
using testsupport::TempProgramFolder;

TEST(ErrorTable, KnownRowsAndPlaceholders) {
    struct Case {
        int code;
        const char* text;
    } cases[] = {
        {0, "Operation succeeded"},
        {9, "ERROR 109: Failed to write to file.\nDrive maybe readonly or locked by other resource"},
        {15, "DUMMY15"},
        {34, "DUMMY"},
        {38, "ERROR 508: Unable to retrieve registry settings"},
        {53, "ERROR 553: Incorrect or Missing \"Viewer\" Info.\nLoading default skin"},
        {60, "ERROR 560: Incorrect or Missing \"Favorites Button\" Info.\nLoading default skin"},
        {73, "DUMMY73'"},
        {77, "Failed to get current Windows version"},
        {90, "DUMMY90"},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(GetErrorMessage(c.code, &text), 0);
        EXPECT_EQ(text, c.text) << c.code;
    }
    for (int outside : {-1, 91, 1000000}) {
        std::string text;
        GetErrorMessage(outside, &text);
        EXPECT_EQ(text, "Unknown error code " + std::to_string(outside));
    }
}

TEST(ErrorHandler, ClassifiesByUnsignedRanges) {
    CErrorHandler handler;
    EXPECT_EQ(handler.Classify(0), CErrorLog::kNoSeverity);
    EXPECT_EQ(handler.Classify(1), CErrorLog::kNoSeverity);
    EXPECT_EQ(handler.Classify(2), CErrorLog::kCritical);
    EXPECT_EQ(handler.Classify(30), CErrorLog::kCritical);
    EXPECT_EQ(handler.Classify(31), CErrorLog::kNotice);
    EXPECT_EQ(handler.Classify(60), CErrorLog::kNotice);
    EXPECT_EQ(handler.Classify(61), CErrorLog::kSilent);
    EXPECT_EQ(handler.Classify(90), CErrorLog::kSilent);
    EXPECT_EQ(handler.Classify(91), CErrorLog::kNoSeverity);
    EXPECT_EQ(handler.Classify(-1), CErrorLog::kNoSeverity);
}

// Reports each code through real message boxes, answered like a user.
TEST(ErrorHandler, ReportErrorShowsBoxesByRangeAndLogsEveryNonzeroCode) {
    fw::SetProgramName("Vessa");
    TempProgramFolder dir;
    dir.WriteFile("Err.log", "stale line\r\n");
    CErrorHandler handler;
    handler.CreateLog(dir.Path());
    EXPECT_EQ(dir.ReadFile("Err.log"), "") << "a start empties the log";

    BoxAnswerer answerer;
    struct Case {
        int code;
        int answer;  // 0: no box expected
        bool result;
        const char* boxText;
    } cases[] = {
        {0, 0, false, nullptr},
        {1, 0, false, nullptr},
        {2, IDYES, false,
         "A critical error has occurred.\nERROR 102: Failed to set directory path\nDo you want to continue using the program"},
        {2, IDNO, true,
         "A critical error has occurred.\nERROR 102: Failed to set directory path\nDo you want to continue using the program"},
        {38, IDOK, false, "The following error occurred.\nERROR 508: Unable to retrieve registry settings"},
        {61, 0, false, nullptr},
        {-1, 0, false, nullptr},
        {91, 0, false, nullptr},
    };
    size_t boxes = 0;
    std::string expectedLog;
    for (const auto& c : cases) {
        if (c.answer) answerer.Plan(c.answer);
        EXPECT_EQ(handler.ReportError(c.code, "CTest::Case(" + std::to_string(c.code) + ")"), c.result) << c.code;
        if (c.answer) {
            ASSERT_TRUE(answerer.WaitForBoxes(++boxes)) << c.code;
            const auto seen = answerer.Boxes().back();
            EXPECT_EQ(seen.caption, "Vessa");
            EXPECT_EQ(seen.text, c.boxText);
            EXPECT_EQ(seen.pressed, c.answer);
        }
        EXPECT_EQ(answerer.Boxes().size(), boxes) << "code " << c.code;
        if (c.code != 0)
            expectedLog += "ErrID: " + std::to_string(c.code) + "     FuncName: CTest::Case(" +
                           std::to_string(c.code) + ")\r\n";
    }
    EXPECT_EQ(dir.ReadFile("Err.log"), expectedLog);
}

TEST(ErrorLog, ThreeReportsLeaveThreeLinesOldestFirst) {
    TempProgramFolder dir;
    CErrorHandler handler;
    handler.CreateLog(dir.Path());
    handler.ReportError(61, "CMainFrame::OnClose()");
    handler.ReportError(63, "CLeftView::BuildTree (with blanks)");
    handler.ReportError(77, "X");
    EXPECT_EQ(dir.ReadFile("Err.log"),
              "ErrID: 61     FuncName: CMainFrame::OnClose()\r\n"
              "ErrID: 63     FuncName: CLeftView::BuildTree (with blanks)\r\n"
              "ErrID: 77     FuncName: X\r\n");
    CErrorHandler next;
    next.CreateLog(dir.Path());
    EXPECT_EQ(dir.ReadFile("Err.log"), "") << "a new start empties the file";
}

TEST(ErrorLog, LogFailuresShowTheirBoxes) {
    TempProgramFolder dir;
    BoxAnswerer answerer;
    {
        // Never created: the read fails, then the write, and the line is lost.
        CErrorHandler handler;
        handler.ReportError(61, "A()");
        ASSERT_TRUE(answerer.WaitForBoxes(2));
        const auto seen = answerer.Boxes();
        EXPECT_EQ(seen[0].text.rfind("Fatal error occurred when trying to create file\nError Message: ", 0), 0u)
            << seen[0].text;
        EXPECT_EQ(seen[1].text, "Fatal error occurred when trying to open file");
    }
    {
        // Deleted during the run: the read fails, the write recreates it with the one line.
        CErrorHandler handler;
        handler.CreateLog(dir.Path());
        ASSERT_TRUE(::DeleteFileA((dir / "Err.log").c_str()));
        handler.ReportError(62, "B()");
        ASSERT_TRUE(answerer.WaitForBoxes(3));
        EXPECT_EQ(dir.ReadFile("Err.log"), "ErrID: 62     FuncName: B()\r\n");
    }
    EXPECT_EQ(answerer.Boxes().size(), 3u);
}

TEST(ErrorLog, ALogThatCannotBeCreatedIsNamedInItsBox) {
    TempProgramFolder dir;
    BoxAnswerer answerer;
    // A folder the log cannot go into (under Wine as root, read-only bits are not enforced).
    const std::string folder = dir / "not there";
    CErrorHandler handler;
    handler.CreateLog(folder);
    ASSERT_TRUE(answerer.WaitForBoxes(1));
    EXPECT_EQ(answerer.Boxes()[0].text, "Fatal error occurred when trying to create file\n" + folder + "\\Err.log");
}

}  // namespace
