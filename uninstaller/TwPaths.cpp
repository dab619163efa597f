#include "TwPaths.h"

#include "TwCommandLine.h"

#include "fw/handles.h"

#include <windows.h>

#include <cctype>
#include <optional>

namespace twpaths {

namespace {

constexpr const char* kFallback = "c:\\Program Files";

// Appends "\" + part; makes the folder when asked. Empty on failure.
std::string Extend(const std::string& base, const std::string& part, bool create) {
    if (base.empty()) return {};
    std::string path = base + "\\" + part;
    if (path.size() >= kMaxPath) return {};
    if (create && !::CreateDirectoryA(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return path;
}

// A REG_SZ value ending with its zero inside `capacity` bytes.
std::optional<std::string> ReadTerminatedString(HKEY root, const char* key, const char* name, DWORD capacity) {
    fw::RegKey opened;
    if (::RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, opened.put()) != ERROR_SUCCESS) return std::nullopt;
    std::string buffer(capacity, '\0');
    DWORD type = 0;
    DWORD size = capacity;
    if (::RegQueryValueExA(opened.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    const std::size_t end = buffer.find('\0');
    if (end == std::string::npos || end >= size) return std::nullopt;
    return buffer.substr(0, end);
}

std::string ProgramFiles() {
    const auto value = ReadTerminatedString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                            "ProgramFilesDir", 261);
    if (value && IsPlainAbsolutePath(*value)) {
        std::string path = *value;
        while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
        return path;
    }
    return kFallback;
}

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof(name);
    if (::GetUserNameA(name, &size) && IsPlainName(name)) return name;
    return "DfltUser";
}

// + the application's channel id, read from its key; the user path when it
// has none, empty when the id is not a terminated plain name.
std::string ChannelOf(const std::string& app, const std::string& user, bool create) {
    if (user.empty()) return {};
    const std::string key = std::string(twkeys::kChannels) + "\\" + app;
    fw::RegKey opened;
    DWORD type = 0;
    DWORD size = 0;
    // Missing or empty: the queues lie in the user folder.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, opened.put()) != ERROR_SUCCESS ||
        ::RegQueryValueExA(opened.get(), "ChannelID", nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return user;
    if (type == REG_SZ && size <= 1) return user;
    const auto channel = ReadTerminatedString(HKEY_LOCAL_MACHINE, key.c_str(), "ChannelID", 256);
    if (!channel) return {};
    if (channel->empty()) return user;
    if (!IsPlainName(*channel)) return {};
    return Extend(user, *channel, create);
}

}  // namespace

bool IsPlainAbsolutePath(const std::string& path) {
    if (path.size() < 3 || path.size() >= kMaxPath || !std::isalpha(static_cast<unsigned char>(path[0])) ||
        path[1] != ':' || (path[2] != '\\' && path[2] != '/'))
        return false;
    std::size_t start = 3;
    while (start < path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        if (end > start && !IsPlainName(std::string_view(path).substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

std::string GetTwPath(bool create) {
    const std::string programFiles = ProgramFiles();
    if (create && !::CreateDirectoryA(programFiles.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    return Extend(programFiles, "Tarnwick", create);
}

std::string GetHarborPath(bool create) {
    return Extend(GetTwPath(create), "AdHaven", create);
}

std::string GetProfilesPath(bool create) {
    return Extend(GetHarborPath(create), "Profiles", create);
}

std::string GetAppPath(const std::string& app, bool create) {
    if (!IsPlainName(app)) return {};
    return Extend(GetProfilesPath(create), app, create);
}

std::string GetAppUserPath(const std::string& app, bool create) {
    return Extend(GetAppPath(app, create), UserName(), create);
}

std::string GetChannelPath(const std::string& app, bool create) {
    return ChannelOf(app, GetAppUserPath(app, create), create);
}

std::string GetAdsPath(bool create) {
    return Extend(GetHarborPath(create), "Ads", create);
}

TwPaths FormPaths(const std::string& app) {
    TwPaths paths;
    paths.programFiles = ProgramFiles();
    paths.tw = Extend(paths.programFiles, "Tarnwick", false);
    paths.harbor = Extend(paths.tw, "AdHaven", false);
    paths.profiles = Extend(paths.harbor, "Profiles", false);
    paths.ads = Extend(paths.harbor, "Ads", false);
    if (IsPlainName(app)) paths.app = Extend(paths.profiles, app, false);
    paths.appUser = Extend(paths.app, UserName(), false);
    paths.channel = ChannelOf(app, paths.appUser, false);
    return paths;
}

bool MakeHarbor(const TwPaths& paths) {
    if (paths.harbor.empty()) return false;
    for (const std::string* level : {&paths.programFiles, &paths.tw, &paths.harbor})
        if (!::CreateDirectoryA(level->c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    return true;
}

}  // namespace twpaths
