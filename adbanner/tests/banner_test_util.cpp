#include "banner_test_util.h"

#include "testsupport/child_process.h"
#include "testsupport/temp_program_folder.h"

namespace bannertest {

std::string OcxPath() {
    return testsupport::TestBinaryFolder() + "\\ADBANNER.OCX";
}

DWORD RegSvr32(bool unregister, const std::string& ocx) {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, sizeof(system));
    const int rc = testsupport::RunProgram(std::string(system) + "\\regsvr32.exe",
                                           std::string("/s ") + (unregister ? "/u " : "") + "\"" + ocx + "\"");
    return static_cast<DWORD>(rc);
}

}  // namespace bannertest
