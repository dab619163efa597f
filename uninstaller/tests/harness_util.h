// Starting twharness from the tests, and names no other test run shares.
#pragma once

#include "testsupport/child_process.h"

#include <memory>
#include <string>

namespace twtest {

std::string HarnessPath();

// A name for kernel objects, unique to this process and call.
std::string UniqueName(const std::string& stem);

// Starts twharness with the steps; the returned process prints one line per result.
std::unique_ptr<testsupport::ChildProcess> StartHarness(const std::string& steps);

// Runs twharness to its end; its output, and its exit code in *code.
std::string RunHarness(const std::string& steps, int* code = nullptr);

}  // namespace twtest
