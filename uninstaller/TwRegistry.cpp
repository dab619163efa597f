#include "TwRegistry.h"

#include "fw/handles.h"

#include <string>

namespace twreg {

namespace {
constexpr REGSAM kChangeAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
constexpr DWORD kMaxName = 261;
}  // namespace

bool RegKeyExists(HKEY root, const char* path, const char* value) {
    fw::RegKey key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    return !value || ::RegQueryValueExA(key.get(), value, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegDeleteValueIn(HKEY root, const char* path, const char* value) {
    fw::RegKey key;
    if (::RegOpenKeyExA(root, path, 0, kChangeAccess, key.put()) != ERROR_SUCCESS) return false;
    return ::RegDeleteValueA(key.get(), value) == ERROR_SUCCESS;
}

bool RegDeleteKeyTree(HKEY root, const char* path) {
    {
        fw::RegKey key;
        if (::RegOpenKeyExA(root, path, 0, kChangeAccess, key.put()) != ERROR_SUCCESS) return false;
        for (;;) {
            char name[kMaxName];
            DWORD size = kMaxName;
            const LONG rc = ::RegEnumKeyExA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS) break;
            // A sub-key that cannot be named or deleted ends the walk.
            if (rc != ERROR_SUCCESS || !RegDeleteKeyTree(key.get(), name)) return false;
        }
    }
    return ::RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}

int RegCountSubKeys(HKEY root, const char* path, bool recursive) {
    fw::RegKey key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return -1;
    int count = 0;
    for (DWORD index = 0;; ++index) {
        char name[kMaxName];
        DWORD size = kMaxName;
        if (::RegEnumKeyExA(key.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        ++count;
        if (recursive) {
            const int inner = RegCountSubKeys(key.get(), name, true);
            if (inner > 0) count += inner;
        }
    }
    return count;
}

}  // namespace twreg
