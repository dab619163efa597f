// A stand-in for the manager program, for the browser's favorites tests.
// Copied into a test's program folder as VessaMgr.exe, it appends one line
// with its exact arguments to "manager.log" beside itself and ends.
#include "fw/command_line.h"
#include "fw/file.h"
#include "fw/handles.h"

#include <windows.h>

#include <string>

int main() {
    char self[MAX_PATH * 4] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    const std::string line = fw::CommandLineArguments(::GetCommandLineA()) + "\r\n";
    fw::FileHandle log(::CreateFileA((fw::FolderOf(self) + "\\manager.log").c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (log) ::WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return 0;
}
