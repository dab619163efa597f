// Shell and system values: the default mail and contacts clients, the web
// file associations that make the browser the default, and the shell's
// association check.
#include "RegSettings.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "StringUtil.h"

namespace {

constexpr char kClassesKey[] = "Software\\CLASSES\\";
constexpr char kMailKey[] = "Software\\Clients\\Mail";
constexpr char kContactsKey[] = "Software\\Clients\\Contacts";
constexpr char kCheckAssociationsKey[] = ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main";

// The default client's command: the client's name is the default value of
// clientsKey, its command the default value of a key below clientsKey\<name>.
ErrorCode ReadClientCommand(const char* clientsKey, bool mail, std::string* out) {
    std::string name;
    if (const ErrorCode rc = CRegSettings::QueryDefaultString(HKEY_LOCAL_MACHINE, clientsKey, &name); rc != kErrNone)
        return rc;
    if (name.empty()) return kErrSettingsRead;
    // The web mail client registers its command on the client key itself.
    const bool ownCommand = !mail || EqualsNoCase(name, "hotmail");
    const std::string commandKey =
        std::string(clientsKey) + "\\" + name +
        (ownCommand ? "\\shell\\open\\command" : "\\Protocols\\mailto\\shell\\open\\command");
    return CRegSettings::QueryDefaultString(HKEY_LOCAL_MACHINE, commandKey, out);
}

// The system folder as the system reports it, at most 255 characters.
std::string SystemFolder() {
    char buffer[256] = {};
    const UINT len = ::GetSystemDirectoryA(buffer, sizeof(buffer));
    if (len == 0 || len >= sizeof(buffer)) return {};
    return std::string(buffer, len);
}

}  // namespace

ErrorCode CRegSettings::GetMailClientCommand(std::string* out) {
    return ReadClientCommand(kMailKey, true, out);
}

ErrorCode CRegSettings::GetContactsClientCommand(std::string* out) {
    return ReadClientCommand(kContactsKey, false, out);
}

std::string CRegSettings::BrowserOpenCommand() {
    std::string command = "\"";
    command += ProgramFolder();
    command += "\\";
    command += AppConstants::kBrowserExe;
    command += "\" %1";
    return command;
}

ErrorCode CRegSettings::MakeDefaultBrowser() {
    if (ProgramFolder().empty()) return kErrNone;  // no command to register
    const std::string icon = SystemFolder() + "\\" + AppConstants::kAssociationIcon;
    const std::string command = BrowserOpenCommand();
    const auto set = [](const std::string& key, const std::string& value) {
        SetStringValue(HKEY_LOCAL_MACHINE, kClassesKey + key, "", value);
    };
    const auto removeDefault = [](const std::string& key) { DeleteValue(HKEY_LOCAL_MACHINE, kClassesKey + key, ""); };

    for (const char* protocol : {"http", "https", "ftp"}) {
        const std::string cls = protocol;
        set(cls + "\\DefaultIcon", icon);
        set(cls + "\\shell\\open\\command", command);
        removeDefault(cls + "\\shell\\open\\ddeexec");
    }
    set("htmlfile\\DefaultIcon", icon);
    set("htmlfile\\shell\\open\\command", command);
    removeDefault("htmlfile\\shell\\open\\ddeexec");
    set("htmlfile\\shell\\opennew\\command", command);
    removeDefault("htmlfile\\shell\\opennew\\ddeexec");
    for (const char* picture : {"giffile", "jpegfile"}) {
        const std::string cls = picture;
        set(cls + "\\DefaultIcon", icon);
        set(cls + "\\shell\\open\\command", command);
        // An installer's "command" value would take precedence over the default.
        DeleteValue(HKEY_LOCAL_MACHINE, kClassesKey + cls + "\\shell\\open\\command", "command");
        removeDefault(cls + "\\shell\\open\\ddeexec");
    }
    set(".htm", "htmlfile");
    set(".html", "htmlfile");
    return kErrNone;
}

ErrorCode CRegSettings::IsDefaultBrowser(bool* out) {
    std::string stored;
    if (const ErrorCode rc =
            QueryStringValue(HKEY_LOCAL_MACHINE, std::string(kClassesKey) + "http\\shell\\open\\command", "", &stored);
        rc != kErrNone)
        return rc;
    *out = EqualsNoCase(stored, BrowserOpenCommand());
    return kErrNone;
}

ErrorCode CRegSettings::SetCheckAssociations(bool check) {
    return SetStringValue(HKEY_USERS, kCheckAssociationsKey, "Check_Associations", check ? "yes" : "no");
}
