// Registry reads that never trust what is stored: strings are terminated at
// the returned size, and a value of the wrong type counts as missing.
#pragma once

#include "fw/handles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fw {

RegKey OpenKey(HKEY root, const std::string& path, REGSAM access);

// Opens the key, creating missing keys on the way; created is set when the key was new.
RegKey CreateKey(HKEY root, const std::string& path, REGSAM access, bool* created = nullptr);

// A REG_SZ (or REG_EXPAND_SZ, unexpanded) value of at most maxChars characters;
// nothing when missing, of another type, or longer.
std::optional<std::string> ReadString(HKEY key, const char* name, size_t maxChars = 32767);

// A 4-byte REG_DWORD value; nothing when missing or of another type or size.
std::optional<uint32_t> ReadDword(HKEY key, const char* name);

// A REG_BINARY value of at most maxBytes bytes; nothing when missing, of
// another type, or longer.
std::optional<std::vector<uint8_t>> ReadBinary(HKEY key, const char* name, size_t maxBytes = 65536);

// Whether the key holds a value of that name, whatever its type.
bool ValueExists(HKEY key, const char* name);

// The names of the key's values, in the registry's enumeration order.
std::vector<std::string> ValueNames(HKEY key);

bool WriteString(HKEY key, const char* name, const std::string& value);
bool WriteDword(HKEY key, const char* name, uint32_t value);
bool WriteBinary(HKEY key, const char* name, const void* data, size_t size);

// Deletes a key with all its sub-keys; true when it is gone afterwards.
bool DeleteKeyTree(HKEY root, const std::string& path);

}  // namespace fw
