// Registry helpers of the uninstaller; each opens and closes its own key.
// The tree deletion is RegDeleteKeyTree: the platform header defines
// RegDeleteTree as a macro.
#pragma once

#include <windows.h>

namespace twreg {

// The key opens for reading and, when a value name is given, that value exists.
bool RegKeyExists(HKEY root, const char* path, const char* value = nullptr);
bool RegDeleteValueIn(HKEY root, const char* path, const char* value);
// Deletes the key with every sub-key; false when any of them stays.
bool RegDeleteKeyTree(HKEY root, const char* path);
// -1 when the key cannot be opened for reading.
int RegCountSubKeys(HKEY root, const char* path, bool recursive);

}  // namespace twreg
