#pragma once

#include <string>
#include <string_view>

namespace fw {

// The raw text of a command line after the program's own path (quoted or
// not) and the blanks that follow it.
std::string CommandLineArguments(const char* commandLine);

// Whether the arguments are the switch COM gives a local server it starts:
// "Embedding" or "Automation" after "-" or "/", in any case.
bool IsComStartSwitch(std::string_view arguments);

}  // namespace fw
