#include "harness_util.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

namespace twtest {

std::string HarnessPath() { return testsupport::TestBinaryFolder() + "\\twharness.exe"; }

std::string UniqueName(const std::string& stem) {
    static std::atomic<int> counter{0};
    return "VessaTest_" + stem + "_" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(counter++);
}

std::unique_ptr<testsupport::ChildProcess> StartHarness(const std::string& steps) {
    auto child = std::make_unique<testsupport::ChildProcess>();
    EXPECT_TRUE(child->Start(HarnessPath(), steps)) << "cannot start twharness " << steps;
    return child;
}

std::string RunHarness(const std::string& steps, int* code) {
    std::string output;
    const int rc = testsupport::RunProgram(HarnessPath(), steps, &output);
    if (code) *code = rc;
    return output;
}

}  // namespace twtest
