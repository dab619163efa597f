// Loopback addresses for tests that navigate: nothing leaves the machine.
#pragma once

#include <string>

namespace testsupport {

// An address on 127.0.0.1 where nothing listens (a port the system just
// handed out and took back), followed by path.
std::string ClosedLoopbackUrl(const std::string& path);

}  // namespace testsupport
