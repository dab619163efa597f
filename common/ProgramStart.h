// A program of the program folder (the browser, the manager) started through
// the shell, as a double click would start it.
#pragma once

#include <windows.h>

#include <string>

// ShellExecute's "open" of folder\program with the parameters (none when
// empty): its result, above 32 on success, SE_ERR_FNF when the file is missing.
INT_PTR StartFolderProgram(const std::string& folder, const char* program, const std::string& parameters,
                           int show = SW_SHOW);
