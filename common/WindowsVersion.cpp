#include "WindowsVersion.h"

#include <windows.h>

int GetWindowsVersion(int* code, std::string* name) {
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof(ex);
    OSVERSIONINFOA& info = reinterpret_cast<OSVERSIONINFOA&>(ex);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (!::GetVersionExA(&info)) {
        info = OSVERSIONINFOA{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!::GetVersionExA(&info)) return 0;
    }
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    const DWORD major = info.dwMajorVersion;
    const DWORD minor = info.dwMinorVersion;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        *code = kWin32s;
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major < 4 || (major == 4 && minor == 0)) {
            *code = kWin95;
            *name = "Windows 95";
        } else if (major == 4 && minor < 90) {
            *code = kWin98;
            *name = "Windows 98";
        } else {
            *code = kWinMe;
            *name = "Windows ME";
        }
        break;
    case VER_PLATFORM_WIN32_NT:
        if (major <= 4) {
            *code = kWinNT4;
            *name = "Windows NT 4.0";
        } else if (major == 5) {
            *code = kWin2000;
            *name = "Windows 2000";
        } else {
            *code = kWinNT6;
            *name = "Windows NT " + std::to_string(major) + "." + std::to_string(minor);
        }
        break;
    default:
        break;
    }
    return 1;
}

bool IsNtFamily(int code) { return code == kWin2000 || code == kWinNT4 || code == kWinNT6; }
