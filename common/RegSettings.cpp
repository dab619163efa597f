#include "RegSettings.h"

#include "ErrorCodes.h"
#include "WindowsVersion.h"

#include "fw/registry.h"

#include <windows.h>

int CRegSettings::GetSystemRoot(std::string* out) {
    int code = 0;
    std::string name;
    GetWindowsVersion(&code, &name);
    const char* keyPath = IsNtFamily(code) ? "Software\\Microsoft\\Windows NT\\CurrentVersion"
                                           : "Software\\Microsoft\\Windows\\CurrentVersion";
    if (fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, keyPath, KEY_READ)) {
        if (auto value = fw::ReadString(key.get(), "SystemRoot", 255); value && !value->empty()) {
            *out = *value;
            return kErrNone;
        }
    }
    // Later Windows versions keep the value elsewhere; the system knows its folder.
    char buffer[MAX_PATH + 1] = {};
    const UINT len = ::GetWindowsDirectoryA(buffer, MAX_PATH + 1);
    if (len == 0 || len > MAX_PATH) return kErrSettingsRead;
    *out = std::string(buffer, len);
    return kErrNone;
}
