// Internal to the CRegSettings sources: the opening rule every setter
// follows, and the key paths more than one source file needs.
#pragma once

#include "fw/registry.h"

#include <windows.h>

#include <string>

namespace regdetail {

// Opens the key for full access; when that fails, creates it.
inline fw::RegKey OpenOrCreate(HKEY root, const std::string& path) {
    if (fw::RegKey key = fw::OpenKey(root, path, KEY_ALL_ACCESS)) return key;
    return fw::CreateKey(root, path, KEY_ALL_ACCESS);
}

}  // namespace regdetail
