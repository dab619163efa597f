// Not a test: makes a few skin folders in a program folder, starts Vessa.exe
// there, opens its main menu with the Skins popup, then prints "ready" and
// leaves the browser open for a screenshot.
//   menu_demo <program folder holding Vessa.exe>
#include "demo_start.h"
#include "resource.h"

#include <windows.h>

#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    ::CreateDirectoryA((folder + "\\Skins").c_str(), nullptr);
    for (const char* skin : {"Blue", "Graphite", "Sunset"})
        ::CreateDirectoryA((folder + "\\Skins\\" + skin).c_str(), nullptr);
    // File, Edit, Text Size, Navigate, Skins: open Skins.
    return demo::ShowPopup(folder, {IDC_MENU, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}, 2});
}
