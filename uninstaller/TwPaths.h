// The ad vendor's folder tree. Each builder extends the one above it and
// gives an empty path when that failed or when the result would not fit in
// 260 characters; with `create`, each missing level is made as it is added.
#pragma once

#include <string>

namespace twpaths {

constexpr std::size_t kMaxPath = 260;

// "ProgramFilesDir" + "\Tarnwick"; "c:\Program Files" when the value is
// missing or no plain absolute folder path.
std::string GetTwPath(bool create);
std::string GetHarborPath(bool create);    // + "\AdHaven": the client's program folder
std::string GetProfilesPath(bool create);  // + "\Profiles"
std::string GetAppPath(const std::string& app, bool create);
// + the logon name ("DfltUser" when it cannot be had or is no plain name).
std::string GetAppUserPath(const std::string& app, bool create);
// + the application's channel id; the user path when it has none. Empty
// when the channel id is not a terminated plain name.
std::string GetChannelPath(const std::string& app, bool create);
std::string GetAdsPath(bool create);  // harbor + "\Ads"

// The whole tree for one application, formed once, without making anything,
// before the uninstaller changes anything; every later step takes its paths
// from here. Each member is empty where its builder above would fail.
struct TwPaths {
    std::string programFiles;
    std::string tw;
    std::string harbor;
    std::string profiles;
    std::string ads;
    std::string app;
    std::string appUser;
    std::string channel;
};
TwPaths FormPaths(const std::string& app);
// Makes the program-files folder, the vendor folder and the harbor when
// missing; false when one cannot be made.
bool MakeHarbor(const TwPaths& paths);

// Whether a path is a drive-absolute folder path without "." or ".." parts,
// wildcards, quotes or control characters.
bool IsPlainAbsolutePath(const std::string& path);

}  // namespace twpaths

// Registry key paths of the vendor.
namespace twkeys {
inline constexpr const char* kRoot = "SOFTWARE\\Tarnwick, Inc.";
inline constexpr const char* kChannels = "SOFTWARE\\Tarnwick, Inc.\\AdHaven\\Channels";
inline constexpr const char* kApplications = "SOFTWARE\\Tarnwick, Inc.\\Applications";
inline constexpr const char* kClients = "SOFTWARE\\Tarnwick, Inc.\\TwAdBot\\Clients";
inline constexpr const char* kBootstrap = "SOFTWARE\\Tarnwick, Inc.\\Bootstrap";
inline constexpr const char* kRun = "Software\\MicroSoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Tarnwick Ad Client";
inline constexpr const char* kClientMutex = "Tarnwick Ad Client";
inline constexpr const char* kKillEvent = "Tarnwick Kill Ad Client";
inline constexpr const char* kLibraries[] = {"TwAd.dll", "QdNetDetect.dll", "ZhkDLL.dll"};
}  // namespace twkeys
