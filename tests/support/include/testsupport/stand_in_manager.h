// The stand-in manager (StandInManager.exe) serving "Nimb.Document" from a
// test's program folder: started, found in the running-object table, and
// stopped cleanly (a killed COM server leaves a stale registration behind).
#pragma once

#include "testsupport/child_process.h"

#include <string>
#include <vector>

namespace testsupport {

class StandInManagerServer {
public:
    // Copies the stand-in into the folder as VessaMgr.exe unless it is there.
    explicit StandInManagerServer(std::string folder);
    // Stops the server if it still runs.
    ~StandInManagerServer();
    StandInManagerServer(const StandInManagerServer&) = delete;
    StandInManagerServer& operator=(const StandInManagerServer&) = delete;

    // Starts it and waits until its object is in the running-object table.
    bool Start();
    // Revokes and disconnects its object and ends it; false when it did not end cleanly.
    bool Stop();
    bool Running() const { return running_; }

    // The calls it received, one line each, in order.
    std::vector<std::string> Calls() const;

private:
    std::string folder_;
    std::string prefix_;
    fw::Handle ready_;
    fw::Handle quit_;
    ChildProcess process_;
    bool running_ = false;
};

}  // namespace testsupport
