// One generated installation of the ad client, made live for a test: the
// vendor folder is where "ProgramFilesDir" points, the vendor's keys come
// from the installation's .reg through regedit, the client's libraries lie in
// the Windows folder, and a stand-in TwAdBot.exe in the client's folder.
// Everything is undone when the object goes.
#pragma once

#include "fw/handles.h"

#include <optional>
#include <string>
#include <vector>

namespace twtest {

// Sets "ProgramFilesDir" for a while, as a raw value, and puts the old one back.
class ProgramFilesOverride {
public:
    ProgramFilesOverride(DWORD type, const std::string& data);
    explicit ProgramFilesOverride(const std::string& folder) : ProgramFilesOverride(REG_SZ, folder + '\0') {}
    ~ProgramFilesOverride();
    ProgramFilesOverride(const ProgramFilesOverride&) = delete;
    ProgramFilesOverride& operator=(const ProgramFilesOverride&) = delete;

private:
    std::optional<std::string> saved_;
    DWORD savedType_ = REG_SZ;
};

// Deletes the vendor's keys, the Run value and the libraries.
void RemoveVendorTraces();

class Installation {
public:
    explicit Installation(const std::string& scenario);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::string& Root() const { return root_; }
    std::string Tw() const { return root_ + "\\Program Files\\Tarnwick"; }
    std::string Harbor() const { return Tw() + "\\AdHaven"; }
    std::string Ads() const { return Harbor() + "\\Ads"; }
    std::string Ad(int number) const { return Ads() + "\\" + std::to_string(number); }
    std::string App(const std::string& name) const { return Harbor() + "\\Profiles\\" + name; }
    std::string User() const;

    // Files of the manifest below `prefix` (relative to the root) whose
    // content differs from it or that are gone, leaving out those whose
    // names end with `except`; empty when all are as made.
    std::vector<std::string> Changed(const std::string& prefix, const std::string& except = "") const;
    bool Exists(const std::string& path) const;

    // Starts the stand-in client from the client's folder and waits until it
    // holds the mutex. Its environment: the log, the watched path, the mode.
    bool StartClient(const std::string& watch, const std::string& mode = "", const std::string& hold = "");
    // Waits for a client started by someone else (the uninstaller).
    bool WaitClientReady(unsigned long timeoutMs = 60000);
    // Lines of the client's log.
    std::vector<std::string> ClientLog() const;
    // True when some process owns the client mutex.
    static bool ClientMutexHeld();

    // Runs TwUninstaller.exe with the arguments; its exit code.
    int RunUninstaller(const std::string& arguments) const;
    // Asks every stand-in to quit, until none holds the client's mutex.
    static void StopClients();

private:
    std::string root_;
    std::string log_;
    std::string readyName_;
    fw::Handle ready_;
    std::optional<ProgramFilesOverride> programFiles_;
};

}  // namespace twtest
