// The running program's folder: a leaf that the folder utilities and the
// settings both use, so neither needs the other for it.
#pragma once

#include "ErrorCodes.h"

#include <windows.h>

#include <functional>
#include <string>

// The running program's file name cut before its last backslash; kErrNone,
// or kErrAppPath (with an empty result) when the name cannot be read whole.
ErrorCode GetProgramFolder(std::string* out);

// The same over a reader with GetModuleFileNameA's contract (fills the buffer
// and returns its size when the name is longer): the buffer grows until the
// whole name fits, up to the longest path the system has (32,767 characters).
ErrorCode ProgramFolderFrom(const std::function<DWORD(char* buffer, DWORD size)>& read, std::string* out);
