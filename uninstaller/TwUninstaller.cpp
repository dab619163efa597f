// TwUninstaller.exe -appname NAME [-noerrorgui] [-dontask]: takes one
// application's use of the ad client off the machine. Windowless; at most
// one message box.
#include "TwUninstall.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    return RunUninstall(ReadOptions(commandLine ? commandLine : ""));
}
