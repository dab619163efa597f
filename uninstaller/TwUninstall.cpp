#include "TwUninstall.h"

#include "TwClient.h"
#include "TwFiles.h"
#include "TwPaths.h"
#include "TwRegistry.h"

#include "fw/msgbox.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

int FatalError(bool noBox, int code, const char* message) {
    if (!noBox) {
        char text[1024];
        std::snprintf(text, sizeof text, "%s", message);
        // The program's one box, without an owner: it has no window.
        fw::SetProgramName("Error");
        fw::ShowMessageBox(text, MB_OK | MB_ICONWARNING, nullptr);
    }
    return code;
}

namespace {

std::string Child(const char* parent, const std::string& name) {
    return std::string(parent) + "\\" + name;
}

}  // namespace

int RunUninstall(const TwOptions& options) {
    const bool noBox = options.noErrorGui;
    if (!options.appName || !options.appNameValid) return FatalError(noBox, -1, "No AppName specified");
    const std::string& app = *options.appName;
    // Every path is formed once, before anything changes, so a failure leaves
    // the client running and everything in place, and no later step reads
    // the registry or the user name again.
    const twpaths::TwPaths paths = twpaths::FormPaths(app);
    const std::string& appPath = paths.app;
    if (appPath.empty()) return FatalError(noBox, -2, "Couldn't Determine the AppPath");
    const std::string& profiles = paths.profiles;
    if (profiles.empty()) return FatalError(noBox, -3, "Couldn't Determine the ProfilePath");

    CClientStop stop;
    stop.Stop();
    CleanAppQueues(paths);
    twfiles::DeleteFolderTree(appPath);
    const int apps = twfiles::CountSubFolders(profiles, false);

    twreg::RegDeleteKeyTree(HKEY_LOCAL_MACHINE, Child(twkeys::kChannels, app).c_str());
    const int channels = twreg::RegCountSubKeys(HKEY_LOCAL_MACHINE, twkeys::kChannels, false);
    twreg::RegDeleteKeyTree(HKEY_CURRENT_USER, Child(twkeys::kApplications, app).c_str());
    const int userApps = twreg::RegCountSubKeys(HKEY_CURRENT_USER, twkeys::kApplications, false);
    twreg::RegDeleteKeyTree(HKEY_LOCAL_MACHINE, Child(twkeys::kClients, app).c_str());
    twreg::RegDeleteKeyTree(HKEY_CURRENT_USER, Child(twkeys::kClients, app).c_str());
    const int machineClients = twreg::RegCountSubKeys(HKEY_LOCAL_MACHINE, twkeys::kClients, false);
    const int userClients = twreg::RegCountSubKeys(HKEY_CURRENT_USER, twkeys::kClients, false);
    twreg::RegDeleteKeyTree(HKEY_CURRENT_USER, Child(twkeys::kBootstrap, app).c_str());

    const int counts[] = {machineClients, channels, userClients, apps, userApps};
    if (std::any_of(std::begin(counts), std::end(counts), [](int c) { return c > 0; })) {
        stop.Release();
        StartClient(paths);
        return 0;
    }
    const int present = IsClientPresent(paths.tw);
    if (present < 0) return FatalError(noBox, -4, "Couldn't Determine the TwPath");
    if (present && RemoveClient(paths.tw) < 0) return FatalError(noBox, -4, "Couldn't Determine the TwPath");
    return 0;
}
