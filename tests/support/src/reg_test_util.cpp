#include "testsupport/reg_test_util.h"

#include "fw/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace regtest {

struct KeyTree {
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Value> values;
    std::vector<std::pair<std::string, KeyTree>> children;
};

namespace {

KeyTree Snapshot(HKEY key) {
    KeyTree tree;
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName, &maxData,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return tree;
    std::vector<char> name(std::max(maxName, maxSubKey) + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()), type = 0;
        if (::RegEnumValueA(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) != ERROR_SUCCESS)
            continue;
        tree.values.push_back({std::string(name.data(), nameLen), type, {data.begin(), data.begin() + dataLen}});
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExA(key, i, name.data(), &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        const std::string childName(name.data(), nameLen);
        fw::RegKey child = fw::OpenKey(key, childName, KEY_READ);
        if (child) tree.children.emplace_back(childName, Snapshot(child.get()));
    }
    return tree;
}

void Restore(HKEY root, const std::string& path, const KeyTree& tree) {
    fw::RegKey key = fw::CreateKey(root, path, KEY_ALL_ACCESS);
    if (!key) {
        ADD_FAILURE() << "cannot restore registry key " << path;
        return;
    }
    for (const auto& v : tree.values)
        ::RegSetValueExA(key.get(), v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    for (const auto& [name, child] : tree.children) Restore(key.get(), name, child);
}

}  // namespace

SavedKey::SavedKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    if (fw::RegKey key = fw::OpenKey(root_, path_, KEY_READ)) saved_ = std::make_unique<KeyTree>(Snapshot(key.get()));
    if (!fw::DeleteKeyTree(root_, path_)) ADD_FAILURE() << "cannot clear registry key " << path_;
}

SavedKey::~SavedKey() {
    fw::DeleteKeyTree(root_, path_);
    if (saved_) Restore(root_, path_, *saved_);
}

bool KeyExists(HKEY root, const std::string& path) {
    return static_cast<bool>(fw::OpenKey(root, path, KEY_READ));
}

bool ValuePresent(HKEY root, const std::string& path, const std::string& name) {
    fw::RegKey key = fw::OpenKey(root, path, KEY_READ);
    return key && fw::ValueExists(key.get(), name.c_str());
}

void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data, size_t size) {
    fw::RegKey key = fw::CreateKey(root, path, KEY_ALL_ACCESS);
    ASSERT_TRUE(key) << path;
    ASSERT_EQ(
        ::RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
        ERROR_SUCCESS)
        << path << " " << name;
}

void PutString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    PutValue(root, path, name, REG_SZ, text.c_str(), text.size() + 1);
}

void PutDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    PutValue(root, path, name, REG_DWORD, &value, sizeof(value));
}

void MakeKey(HKEY root, const std::string& path) {
    ASSERT_TRUE(fw::CreateKey(root, path, KEY_ALL_ACCESS)) << path;
}

std::optional<std::string> StoredString(HKEY root, const std::string& path, const std::string& name) {
    fw::RegKey key = fw::OpenKey(root, path, KEY_READ);
    if (!key) return std::nullopt;
    DWORD type = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return fw::ReadString(key.get(), name.c_str());
}

std::optional<DWORD> StoredDword(HKEY root, const std::string& path, const std::string& name) {
    fw::RegKey key = fw::OpenKey(root, path, KEY_READ);
    if (!key) return std::nullopt;
    return fw::ReadDword(key.get(), name.c_str());
}

}  // namespace regtest
