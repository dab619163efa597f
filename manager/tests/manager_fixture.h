// The real manager application in-process, in a temporary program folder
// with the stand-in browser as Vessa.exe, on a fresh registry.
#pragma once

#include "manager_test_util.h"

#include "MainFrame.h"
#include "NimbApp.h"

#include <memory>
#include <string>
#include <vector>

namespace mgrtest {

struct ManagerFixture {
    FreshRegistry registry;
    testsupport::TempProgramFolder dir;
    std::unique_ptr<CNimbApp> app;

    ManagerFixture();
    ~ManagerFixture();

    // Starts the application with the raw arguments; the frame, checked to exist.
    CMainFrame& Start(const std::string& arguments);
    // Ends the running application (its frame goes) and starts it again.
    CMainFrame& Restart(const std::string& arguments);
    void Stop();

    // The arguments of each start of the stand-in browser, in order.
    std::vector<std::string> Launches() const;
};

// Takes a quit message a destroyed frame left in this thread's queue.
void DrainQuit();

}  // namespace mgrtest
