// Stopping, restarting and removing the ad client, and cleaning one
// application's queues.
#pragma once

#include "AdRecord.h"
#include "QueueDb.h"
#include "TwPaths.h"

#include "fw/handles.h"

#include <string>

// Stops a running client and keeps it stopped: the client's mutex stays
// owned by this object until Release, so no client starts while the
// uninstaller cleans up.
class CClientStop {
public:
    static constexpr unsigned long kWaitMs = 60000;

    CClientStop() = default;
    ~CClientStop() { Release(); }
    CClientStop(const CClientStop&) = delete;
    CClientStop& operator=(const CClientStop&) = delete;

    // Takes the mutex; when a client held it, signals the kill event and waits
    // for the client to let go (at most kWaitMs). True when the mutex is owned.
    bool Stop();
    // Clears a kill signal that no client took, whoever set it, then gives
    // the mutex up.
    void Release();

private:
    fw::Handle mutex_;
    fw::Handle kill_;
    bool owned_ = false;
};

// Starts the client program from the harbor (made when missing); a failure
// to start is not reported.
void StartClient(const twpaths::TwPaths& paths);
// -4 when the vendor folder `tw` could not be formed (empty), else 1 when any
// trace of the client is left (folder, either root key, the Run value, a
// library), else 0.
int IsClientPresent(const std::string& tw);
// -4 when the vendor folder could not be formed (empty), else 0.
int RemoveClient(const std::string& tw);

// Up to three opens of the queue, making it writable after the first
// failure and putting the recovery copy over it after the second.
bool OpenQueueCopy(const std::string& base, const std::string& recovery, CQueueDb& db, CAdRecord& prototype);
// Walks the application's Pending and Done queues (live records, exclusive).
void CleanAppQueues(const twpaths::TwPaths& paths);
