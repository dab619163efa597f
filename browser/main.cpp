#include "NimbBrowserApp.h"

#include "FolderUtil.h"

#include "fw/command_line.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string folder;
    CFolderUtil::GetProgramFolder(&folder);
    CNimbBrowserApp app(fw::CommandLineArguments(::GetCommandLineA()), folder);
    return app.InitInstance();
}
