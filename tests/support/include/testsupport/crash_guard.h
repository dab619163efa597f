// Calls that a mended fault would make crash, run where a crash ends at once.
// Under Wine a crash in the test program opens the debugger's crash dialog
// and hangs until ctest's time limit; in a child process (gtest's death-test
// child, which runs this test again up to the assertion) that stops at its
// first unhandled exception and exits with its code, so the assertion fails
// within seconds and names the exception.
#pragma once

#include <gtest/gtest.h>

namespace testsupport {

// A child still running after this long ends with kChildTimedOut.
inline constexpr unsigned long kChildBoundMs = 60000;
inline constexpr int kChildTimedOut = 0x7D;

// In the child: an unhandled exception prints its code and ends the process
// with it, without the debugger; so does the bound.
void EndOnCrash();
// In the child: ends the process with the code, now, without clean-up.
[[noreturn]] void EndChild(int code);

}  // namespace testsupport

// The statement returns in a child process; a crash there fails the test.
#define ASSERT_RETURNS_IN_CHILD(statement)                                               \
    ASSERT_EXIT(                                                                         \
        {                                                                                \
            ::testsupport::EndOnCrash();                                                 \
            statement;                                                                   \
            ::testsupport::EndChild(0);                                                  \
        },                                                                               \
        ::testing::ExitedWithCode(0), "")
