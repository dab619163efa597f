#include "fw/registry.h"

#include <vector>

namespace fw {

RegKey OpenKey(HKEY root, const std::string& path, REGSAM access) {
    RegKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) key.reset();
    return key;
}

RegKey CreateKey(HKEY root, const std::string& path, REGSAM access, bool* created) {
    RegKey key;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key.put(),
                          &disposition) != ERROR_SUCCESS)
        key.reset();
    if (created) *created = key && disposition == REG_CREATED_NEW_KEY;
    return key;
}

std::optional<std::string> ReadString(HKEY key, const char* name, size_t maxChars) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // Room for a terminator the stored value may lack.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    DWORD got = size;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::string value(buffer.data(), std::min<size_t>(got, size));
    const size_t nul = value.find('\0');
    if (nul != std::string::npos) value.resize(nul);
    if (value.size() > maxChars) return std::nullopt;
    return value;
}

std::optional<uint32_t> ReadDword(HKEY key, const char* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_DWORD || size != sizeof(value)) return std::nullopt;
    return value;
}

std::optional<std::vector<uint8_t>> ReadBinary(HKEY key, const char* name, size_t maxBytes) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_BINARY || size > maxBytes) return std::nullopt;
    std::vector<uint8_t> data(size);
    DWORD got = size;
    if (::RegQueryValueExA(key, name, nullptr, &type, data.empty() ? nullptr : data.data(), &got) != ERROR_SUCCESS)
        return std::nullopt;
    // The value may have changed between the two queries.
    if (type != REG_BINARY || got != size) return std::nullopt;
    return data;
}

bool ValueExists(HKEY key, const char* name) {
    return ::RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    DWORD count = 0;
    DWORD maxName = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<char> buffer(static_cast<size_t>(maxName) + 1);
    for (DWORD i = 0; i < count; ++i) {
        DWORD len = static_cast<DWORD>(buffer.size());
        const LONG rc = ::RegEnumValueA(key, i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) continue;  // a name that grew meanwhile: skip it
        names.emplace_back(buffer.data(), len);
    }
    return names;
}

bool WriteString(HKEY key, const char* name, const std::string& value) {
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool WriteDword(HKEY key, const char* name, uint32_t value) {
    const DWORD v = value;
    return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v)) == ERROR_SUCCESS;
}

bool WriteBinary(HKEY key, const char* name, const void* data, size_t size) {
    return ::RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) ==
           ERROR_SUCCESS;
}

bool DeleteKeyTree(HKEY root, const std::string& path) {
    const LONG rc = ::RegDeleteTreeA(root, path.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        ::RegDeleteKeyA(root, path.c_str());
        RegKey probe = OpenKey(root, path, KEY_READ);
        return !probe;
    }
    return false;
}

}  // namespace fw
