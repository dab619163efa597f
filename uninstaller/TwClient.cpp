#include "TwClient.h"

#include "AdCallbacks.h"
#include "TwFiles.h"
#include "TwPaths.h"
#include "TwRegistry.h"

#include "fw/sync.h"

#include <windows.h>

#include <io.h>
#include <sys/stat.h>

bool CClientStop::Stop() {
    mutex_.reset(::CreateMutexA(nullptr, TRUE, twkeys::kClientMutex));
    if (!mutex_) return false;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        owned_ = true;
        return true;
    }
    // A client runs: ask it to quit and wait for its mutex.
    kill_.reset(::CreateEventA(nullptr, FALSE, FALSE, twkeys::kKillEvent));
    if (kill_) ::SetEvent(kill_.get());
    owned_ = fw::WaitAcquired(::WaitForSingleObject(mutex_.get(), kWaitMs));
    return owned_;
}

void CClientStop::Release() {
    // A signal that no client took would stop the next client at its start,
    // whoever set it: ours, a crashed uninstaller's, or any other holder's.
    if (!kill_) kill_.reset(::OpenEventA(EVENT_MODIFY_STATE, FALSE, twkeys::kKillEvent));
    if (kill_) ::ResetEvent(kill_.get());
    kill_.reset();
    if (owned_) ::ReleaseMutex(mutex_.get());
    owned_ = false;
    mutex_.reset();
}

void StartClient(const twpaths::TwPaths& paths) {
    if (!twpaths::MakeHarbor(paths)) return;
    const std::string program = paths.harbor + "\\TwAdBot.exe";
    if (program.size() >= twpaths::kMaxPath) return;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    ::GetStartupInfoA(&startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return;
    // Not waited for: the handles only go.
    const fw::Handle thread(info.hThread);
    const fw::Handle process(info.hProcess);
}

namespace {
std::string LibraryPath(const char* name) {
    char windows[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::string path = std::string(windows) + "\\" + name;
    return path.size() < twpaths::kMaxPath ? path : std::string();
}
}  // namespace

int IsClientPresent(const std::string& tw) {
    if (tw.empty()) return -4;
    if (::GetFileAttributesA(tw.c_str()) != INVALID_FILE_ATTRIBUTES) return 1;
    if (twreg::RegKeyExists(HKEY_CURRENT_USER, twkeys::kRoot)) return 1;
    if (twreg::RegKeyExists(HKEY_LOCAL_MACHINE, twkeys::kRoot)) return 1;
    if (twreg::RegKeyExists(HKEY_LOCAL_MACHINE, twkeys::kRun, twkeys::kRunValue)) return 1;
    for (const char* library : twkeys::kLibraries) {
        const std::string path = LibraryPath(library);
        if (!path.empty() && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return 1;
    }
    return 0;
}

int RemoveClient(const std::string& tw) {
    if (tw.empty()) return -4;
    twfiles::DeleteFolderTree(tw);
    twreg::RegDeleteKeyTree(HKEY_CURRENT_USER, twkeys::kRoot);
    twreg::RegDeleteKeyTree(HKEY_LOCAL_MACHINE, twkeys::kRoot);
    twreg::RegDeleteValueIn(HKEY_LOCAL_MACHINE, twkeys::kRun, twkeys::kRunValue);
    for (const char* library : twkeys::kLibraries) {
        const std::string path = LibraryPath(library);
        if (!path.empty()) twfiles::DeleteFileRetry(path);
    }
    return 0;
}

bool OpenQueueCopy(const std::string& base, const std::string& recovery, CQueueDb& db, CAdRecord& prototype) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (db.Open(base.c_str(), &prototype, false)) return true;
        if (attempt == 0) {
            _chmod(base.c_str(), _S_IREAD | _S_IWRITE);
        } else if (attempt == 1 && ::GetFileAttributesA(recovery.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ::CopyFileA(recovery.c_str(), base.c_str(), FALSE);
        }
    }
    return false;
}

void CleanAppQueues(const twpaths::TwPaths& paths) {
    const std::string& channel = paths.channel;
    const std::string& ads = paths.ads;
    if (channel.empty() || ads.empty()) return;
    // The queues must lie in real folders, never reached through a link.
    for (const std::string& folder : {paths.app, paths.appUser, channel})
        if (!twfiles::IsPlainFolder(folder)) return;
    CAdRecord prototype;
    const struct {
        const char* name;
        const char* recovery;
        void (*callback)(QueueVisit&, const std::string&);
    } queues[] = {{"Pending", "Pending1", OnPendingRecord}, {"Done", "Done1", OnDoneRecord}};
    for (const auto& queue : queues) {
        const std::string base = channel + "\\" + queue.name;
        const std::string recovery = channel + "\\" + queue.recovery;
        if (recovery.size() + 4 >= twpaths::kMaxPath) continue;
        CQueueDb db;
        if (!OpenQueueCopy(base, recovery, db, prototype)) continue;
        int stop = 0;
        const auto callback = queue.callback;
        db.ForEachRecord([&](QueueVisit& visit) { callback(visit, ads); }, CQueueDb::kAnyKey, CQueueDb::kVisitLive,
                         &stop);
        db.Close();
    }
}
