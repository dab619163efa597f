#include "NimbBrowserApp.h"

#include "FolderUtil.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string folder;
    CFolderUtil::GetProgramFolder(&folder);
    CNimbBrowserApp app(CommandLineArguments(::GetCommandLineA()), folder);
    return app.InitInstance();
}
