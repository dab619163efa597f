#include "RegSettings.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "ProgramFolder.h"
#include "RegSettingsDetail.h"
#include "WindowsVersion.h"

#include "fw/registry.h"

using regdetail::OpenOrCreate;

CRegSettings::CRegSettings() : appSettingsKey_(std::string(AppConstants::kRegistryRoot) + "\\App Settings") {}

CRegSettings::CRegSettings(std::string programFolder)
    : appSettingsKey_(std::string(AppConstants::kRegistryRoot) + "\\App Settings"),
      programFolder_(std::move(programFolder)) {}

CRegSettings::~CRegSettings() = default;

std::string CRegSettings::ProgramFolder() {
    if (programFolder_.empty()) GetProgramFolder(&programFolder_);
    return programFolder_;
}

ErrorCode CRegSettings::SetDwordValue(HKEY root, const std::string& subKey, const std::string& name, DWORD value) {
    fw::RegKey key = OpenOrCreate(root, subKey);
    if (!key || !fw::WriteDword(key.get(), name.c_str(), value)) return kErrSettingsWrite;
    ::RegFlushKey(key.get());
    return kErrNone;
}

ErrorCode CRegSettings::QueryDwordValue(HKEY root, const std::string& subKey, const std::string& name, DWORD* out) {
    fw::RegKey key = fw::OpenKey(root, subKey, KEY_ALL_ACCESS);
    if (!key) return kErrSettingsRead;
    const auto value = fw::ReadDword(key.get(), name.c_str());
    if (!value) return kErrSettingsRead;
    *out = *value;
    return kErrNone;
}

ErrorCode CRegSettings::SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                                       const std::string& value) {
    if (value.size() > kMaxValueChars) return kErrSettingsWrite;
    fw::RegKey key = OpenOrCreate(root, subKey);
    if (!key || !fw::WriteString(key.get(), name.c_str(), value)) return kErrSettingsWrite;
    ::RegFlushKey(key.get());
    return kErrNone;
}

ErrorCode CRegSettings::QueryStringValue(HKEY root, const std::string& subKey, const std::string& name,
                                         std::string* out) {
    out->clear();
    fw::RegKey key = fw::OpenKey(root, subKey, KEY_ALL_ACCESS);
    if (!key) return kErrSettingsRead;
    auto value = fw::ReadString(key.get(), name.c_str(), kMaxValueChars);
    if (!value) return kErrSettingsRead;
    *out = std::move(*value);
    return kErrNone;
}

ErrorCode CRegSettings::QueryDefaultString(HKEY root, const std::string& subKey, std::string* out) {
    fw::RegKey key = fw::OpenKey(root, subKey, KEY_READ);
    if (!key) return kErrSettingsRead;
    auto value = fw::ReadString(key.get(), "", kMaxValueChars);
    if (!value) return kErrSettingsRead;
    *out = std::move(*value);
    return kErrNone;
}

ErrorCode CRegSettings::DeleteValue(HKEY root, const std::string& subKey, const std::string& name) {
    fw::RegKey key = fw::OpenKey(root, subKey, KEY_ALL_ACCESS);
    if (!key) return kErrSettingsRead;
    if (::RegDeleteValueA(key.get(), name.c_str()) != ERROR_SUCCESS) return kErrSettingsWrite;
    return kErrNone;
}

ErrorCode CRegSettings::GetSystemRoot(std::string* out) {
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
