// The programs' own values under HKEY_LOCAL_MACHINE, and the manager's
// autostart value.
#include "RegSettings.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "RegSettingsDetail.h"

#include "fw/registry.h"

using regdetail::OpenOrCreate;

namespace {

const std::string kRoot = AppConstants::kRegistryRoot;
const std::string kImportInfoKey = kRoot + "\\ImportInfo";
const std::string kOptionsKey = kRoot + "\\Options";
const std::string kSkinsKey = kRoot + "\\Skins";

constexpr const char* kRectNames[4] = {"Program Left", "Program Top", "Program Right", "Program Bottom"};

}  // namespace

ErrorCode CRegSettings::SaveWindowRect(const std::string& name, const RECT& rect) {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, appSettingsKey_ + "\\" + name);
    if (!key) return kErrSettingsWrite;
    const LONG fields[4] = {rect.left, rect.top, rect.right, rect.bottom};
    for (int i = 0; i < 4; ++i) fw::WriteDword(key.get(), kRectNames[i], static_cast<DWORD>(fields[i]));
    return kErrNone;
}

ErrorCode CRegSettings::LoadWindowRect(const std::string& name, RECT* rect) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, appSettingsKey_ + "\\" + name, KEY_READ);
    if (!key) return kErrSettingsRead;
    LONG* fields[4] = {&rect->left, &rect->top, &rect->right, &rect->bottom};
    for (int i = 0; i < 4; ++i) {
        const auto value = fw::ReadDword(key.get(), kRectNames[i]);
        if (!value) return kErrSettingsRead;
        *fields[i] = static_cast<LONG>(*value);
    }
    return kErrNone;
}

ErrorCode CRegSettings::SaveToolBarSize(DWORD size) {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, appSettingsKey_);
    if (!key || !fw::WriteDword(key.get(), "ToolBar Size", size)) return kErrSettingsWrite;
    return kErrNone;
}

ErrorCode CRegSettings::LoadToolBarSize(DWORD* size) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, appSettingsKey_, KEY_READ);
    if (!key) return kErrSettingsRead;
    const auto value = fw::ReadDword(key.get(), "ToolBar Size");
    if (!value) return kErrSettingsRead;
    *size = *value;
    return kErrNone;
}

ErrorCode CRegSettings::GetBrowserID(DWORD* id) {
    *id = 0;
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, appSettingsKey_, KEY_ALL_ACCESS);
    if (key) {
        if (const auto value = fw::ReadDword(key.get(), "BrowserID")) {
            *id = *value;
            return kErrNone;
        }
    } else {
        key = fw::CreateKey(HKEY_LOCAL_MACHINE, appSettingsKey_, KEY_ALL_ACCESS);
    }
    // The launch handshake needs a counter to compare against: start it at 0.
    if (key) fw::WriteDword(key.get(), "BrowserID", 0);
    return kErrNone;
}

ErrorCode CRegSettings::SetBrowserID(DWORD id) {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, appSettingsKey_);
    if (!key || !fw::WriteDword(key.get(), "BrowserID", id)) return kErrSettingsWrite;
    ::RegFlushKey(key.get());
    return kErrNone;
}

DWORD CRegSettings::GetHitSent() {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, appSettingsKey_, KEY_READ);
    if (!key) return 0;
    return fw::ReadDword(key.get(), "Access").value_or(0);
}

ErrorCode CRegSettings::SetHitSent() {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, appSettingsKey_);
    if (!key) return kErrSettingsWrite;
    fw::WriteDword(key.get(), "Access", 1);
    ::RegFlushKey(key.get());
    return kErrNone;
}

ErrorCode CRegSettings::GetCheckDefaultBrowser(DWORD* out) {
    return QueryDwordValue(HKEY_LOCAL_MACHINE, appSettingsKey_ + "\\" + AppConstants::kProductName,
                           "CheckDefaultBrowser", out);
}

ErrorCode CRegSettings::SetCheckDefaultBrowser(DWORD value) {
    return SetDwordValue(HKEY_LOCAL_MACHINE, appSettingsKey_ + "\\" + AppConstants::kProductName, "CheckDefaultBrowser",
                         value);
}

ErrorCode CRegSettings::GetImportDone(DWORD* out) {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, kImportInfoKey);
    if (!key) return kErrSettingsRead;
    const auto value = fw::ReadDword(key.get(), "ImportDone");
    if (!value) return kErrSettingsRead;
    *out = *value;
    return kErrNone;
}

ErrorCode CRegSettings::SetImportDone(DWORD value) {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, kImportInfoKey);
    if (!key || !fw::WriteDword(key.get(), "ImportDone", value)) return kErrSettingsWrite;
    return kErrNone;
}

ErrorCode CRegSettings::ReadOptionDWord(const std::string& name, DWORD* out) {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, kOptionsKey);
    if (!key) return kErrSettingsRead;
    const auto value = fw::ReadDword(key.get(), name.c_str());
    if (!value) return kErrSettingsRead;
    *out = *value;
    return kErrNone;
}

ErrorCode CRegSettings::WriteOptionDWord(const std::string& name, DWORD value) {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, kOptionsKey);
    if (!key || !fw::WriteDword(key.get(), name.c_str(), value)) return kErrSettingsWrite;
    return kErrNone;
}

ErrorCode CRegSettings::GetHideProgram(DWORD* out) {
    return ReadOptionDWord("Hide Program", out);
}
ErrorCode CRegSettings::SetHideProgram(DWORD value) {
    return WriteOptionDWord("Hide Program", value);
}
ErrorCode CRegSettings::GetHideToolTray(DWORD* out) {
    return ReadOptionDWord("Hide ToolTray", out);
}
ErrorCode CRegSettings::SetHideToolTray(DWORD value) {
    return WriteOptionDWord("Hide ToolTray", value);
}
ErrorCode CRegSettings::GetHideNormalDeleteDlg(DWORD* out) {
    return ReadOptionDWord("Hide Normal DeleteDlg", out);
}
ErrorCode CRegSettings::SetHideNormalDeleteDlg(DWORD value) {
    return WriteOptionDWord("Hide Normal DeleteDlg", value);
}
ErrorCode CRegSettings::GetHideGroupItemDeleteDlg(DWORD* out) {
    return ReadOptionDWord("Hide Group Item DeleteDlg", out);
}
ErrorCode CRegSettings::SetHideGroupItemDeleteDlg(DWORD value) {
    return WriteOptionDWord("Hide Group Item DeleteDlg", value);
}

ErrorCode CRegSettings::GetFirstRun(DWORD* out) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, kOptionsKey, KEY_ALL_ACCESS);
    if (!key) {
        *out = 1;  // nothing stored yet: this is the first run
        return kErrNone;
    }
    const auto value = fw::ReadDword(key.get(), "First Run");
    if (!value) return kErrSettingsRead;
    *out = *value;
    return kErrNone;
}

ErrorCode CRegSettings::ClearFirstRun() {
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, kOptionsKey);
    if (!key || !fw::WriteDword(key.get(), "First Run", 0)) return kErrSettingsWrite;
    return kErrNone;
}

ErrorCode CRegSettings::GetDefaultSkin(std::string* out) {
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, kSkinsKey, KEY_READ);
    if (!key) return kErrSettingsRead;
    auto value = fw::ReadString(key.get(), "Default Skin", kMaxPageSettingChars);
    if (!value) return kErrSettingsRead;
    *out = std::move(*value);
    return kErrNone;
}

ErrorCode CRegSettings::SetDefaultSkin(const std::string& name) {
    if (name.size() > kMaxPageSettingChars) return kErrSettingsWrite;
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, kSkinsKey);
    if (!key || !fw::WriteString(key.get(), "Default Skin", name)) return kErrSettingsWrite;
    ::RegFlushKey(key.get());
    return kErrNone;
}

std::string CRegSettings::RunAtStartupCommand() {
    const std::string folder = ProgramFolder();
    if (folder.empty()) return {};
    std::string path = folder + "\\" + AppConstants::kManagerExe;
    // Unquoted, a path with a blank could start a different program
    // ("C:\Program.exe" for "C:\Program Files\...").
    if (path.find(' ') != std::string::npos) path = "\"" + path + "\"";
    return path;
}

ErrorCode CRegSettings::AddRunAtStartup() {
    const std::string command = RunAtStartupCommand();
    if (command.empty() || command.size() > kMaxValueChars) return kErrSettingsWrite;
    fw::RegKey key = OpenOrCreate(HKEY_LOCAL_MACHINE, AppConstants::kRunKey);
    if (!key || !fw::WriteString(key.get(), AppConstants::kManagerTitle, command)) return kErrSettingsWrite;
    return kErrNone;
}

ErrorCode CRegSettings::RemoveRunAtStartup() {
    return DeleteValue(HKEY_LOCAL_MACHINE, AppConstants::kRunKey, AppConstants::kManagerTitle);
}

ErrorCode CRegSettings::IsRunAtStartup(bool* out) {
    *out = false;
    fw::RegKey key = fw::OpenKey(HKEY_LOCAL_MACHINE, AppConstants::kRunKey, KEY_ALL_ACCESS);
    if (key) *out = fw::ReadString(key.get(), AppConstants::kManagerTitle, kMaxValueChars).has_value();
    return kErrNone;
}
