// The uninstaller's steps, from the options to the exit code.
#pragma once

#include "TwCommandLine.h"

#include <string>

// Shows the message (caption "Error", warning icon) unless noBox, and gives the code.
int FatalError(bool noBox, int code, const char* message);

// Runs every step for one application; the program's exit code.
int RunUninstall(const TwOptions& options);
