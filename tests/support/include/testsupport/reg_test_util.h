// Registry helpers for the settings tests: raw reads and writes that bypass
// the code under test, and a saved key.
//
// SavedKey: a registry key the system itself uses (shell classes, Internet Explorer's
// keys, the Run key): cleared for one test like a scratch key, and put back
// exactly as it was afterwards, so other tests in the prefix still find the
// system's own values.
#pragma once

#include "fw/registry.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace regtest {

struct KeyTree;

class SavedKey {
public:
    SavedKey(HKEY root, std::string path);
    ~SavedKey();
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    HKEY root_;
    std::string path_;
    std::unique_ptr<KeyTree> saved_;  // null: the key did not exist
};

// Whether the key exists.
bool KeyExists(HKEY root, const std::string& path);
bool ValuePresent(HKEY root, const std::string& path, const std::string& name);

// Writes a value as given (creating the key), failing the test when it cannot.
void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data, size_t size);
void PutString(HKEY root, const std::string& path, const std::string& name, const std::string& text);
void PutDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void MakeKey(HKEY root, const std::string& path);

// The stored text of a REG_SZ value (up to its terminator), or of a REG_DWORD.
std::optional<std::string> StoredString(HKEY root, const std::string& path, const std::string& name);
std::optional<DWORD> StoredDword(HKEY root, const std::string& path, const std::string& name);

}  // namespace regtest
