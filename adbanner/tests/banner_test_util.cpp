#include "banner_test_util.h"

#include "testsupport/child_process.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

namespace bannertest {

std::string OcxPath() {
    return testsupport::TestBinaryFolder() + "\\ADBANNER.OCX";
}

DWORD RegSvr32(bool unregister, const std::string& ocx) {
    return testsupport::RegSvr32(ocx, unregister);
}

namespace {

class Registered : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(RegSvr32(false), 0u) << "the banner registers itself"; }
    void TearDown() override { RegSvr32(true); }
};

}  // namespace

void RegisterForTests() {
    ::testing::AddGlobalTestEnvironment(new Registered);
}

}  // namespace bannertest
