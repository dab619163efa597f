// A program started by a test: its standard output and error go to a file
// of its own, read once it has ended. Waits are bounded, never sleeps.
#pragma once

#include "fw/handles.h"

#include <windows.h>

#include <string>

namespace testsupport {

// CreateProcessA, tried again a few times when it fails: under load Wine's
// can fail at once for a program that starts on the next try. On failure the
// last error is that of the last try.
bool StartProcess(const char* program, std::string commandLine, BOOL inheritHandles, const char* folder,
                  STARTUPINFOA& startup, PROCESS_INFORMATION& info);
// Runs a command line (the program found as CreateProcess finds it) to its
// end: its exit code, or -1 when it did not start or end in time.
DWORD RunCommandLine(const std::string& commandLine, unsigned long timeoutMs = 60000);
// "regsvr32.exe /s [/u] \"library\"": its exit code, or -1 when it did not run to its end.
DWORD RegSvr32(const std::string& library, bool unregister);

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program (a full path) with the command line's arguments.
    bool Start(const std::string& program, const std::string& arguments);
    // The exit code once it ended, or -1 when it did not end in time (it is then ended).
    int Wait(unsigned long timeoutMs = 60000);
    // What it printed, after Wait.
    std::string Output() const;
    HANDLE Process() const { return process_.get(); }

private:
    fw::Handle process_;
    std::string outputPath_;
};

// Runs a program to its end: its exit code (-1 on time-out) and its output.
int RunProgram(const std::string& program, const std::string& arguments, std::string* output = nullptr);

// A manual-reset named event, for meeting a child process at a step.
fw::Handle MakeNamedEvent(const std::string& name);
// Waits for the event or the process's end; true when the event came first.
bool WaitEventOrExit(HANDLE event, HANDLE process, unsigned long timeoutMs = 60000);

}  // namespace testsupport
