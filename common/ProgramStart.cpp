#include "ProgramStart.h"

#include <shellapi.h>

INT_PTR StartFolderProgram(const std::string& folder, const char* program, const std::string& parameters, int show) {
    const std::string path = folder + "\\" + program;
    return reinterpret_cast<INT_PTR>(::ShellExecuteA(::GetDesktopWindow(), "open", path.c_str(),
                                                     parameters.empty() ? nullptr : parameters.c_str(), nullptr, show));
}
