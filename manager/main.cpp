#include "NimbApp.h"

#include "FolderUtil.h"

#include "fw/command_line.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string folder;
    CFolderUtil::GetProgramFolder(&folder);
    CNimbApp app(fw::CommandLineArguments(::GetCommandLineA()), folder);
    if (!app.InitInstance()) return 0;
    return app.Run();
}
