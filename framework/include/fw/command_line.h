#pragma once

#include <string>

namespace fw {

// The raw text of a command line after the program's own path (quoted or
// not) and the blanks that follow it.
std::string CommandLineArguments(const char* commandLine);

}  // namespace fw
