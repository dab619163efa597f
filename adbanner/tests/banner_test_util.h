// For tests that need the stand-in banner registered in the test prefix, or
// gone from it. They take the ctest resource lock "adbanner_registration".
#pragma once

#include <windows.h>

#include <string>

namespace bannertest {

// ADBANNER.OCX in the test program's folder.
std::string OcxPath();
// "regsvr32.exe /s [/u] <ocx>"'s exit code (-1 when it did not run).
DWORD RegSvr32(bool unregister, const std::string& ocx = OcxPath());
// Registers the banner for the whole test program; it is unregistered at the end.
void RegisterForTests();

}  // namespace bannertest
