#pragma once

#include <string>

// Version codes of GetWindowsVersion.
enum WindowsVersionCode : int {
    kWin95 = 1,
    kWin98 = 2,
    kWinMe = 3,
    kWin2000 = 4,
    kWinNT4 = 5,
    kWin32s = 6,
    kWinNT6 = 7,  // NT 6.0 and later: named "Windows NT <major>.<minor>"
};

// 1 on success, 0 when the version cannot be read. Code and name are left
// unchanged for a platform the table does not know.
int GetWindowsVersion(int* code, std::string* name);

// True for every NT-family code.
bool IsNtFamily(int code);
