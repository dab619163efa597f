// A real program started by a test: started with an exact command line, its
// main window found by a test of the caller's, ended by the caller's close
// request and by force when that does not end it. Every wait is bounded.
#pragma once

#include "fw/handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

using WindowTest = std::function<bool(HWND)>;

// The top-level windows that pass the test, of one process, or of any process
// but this one when pid is 0.
std::vector<HWND> TopWindows(DWORD pid, const WindowTest& test);
// The first visible top-level window of the class in a process ("#32768" a
// popup menu, "#32770" a dialog or box); null when there is none.
HWND VisibleWindowOfClass(DWORD pid, const char* className);
// The first window of a class below a window, at any depth, or null.
HWND ChildOfClass(HWND parent, const char* className);
// A window's text, asked of its own thread with a time-out ("<no answer>" when it hangs).
std::string TextOf(HWND wnd);
// Waits, dispatching this thread's messages, until no program of that file
// name that this process started still runs. ShellExecute and CreateProcess
// return once the process exists, so none started before can come later.
bool WaitForStartedProgramsEnded(const char* exeName, DWORD timeoutMs = 20000);

class RunningProgram {
public:
    // Starts "\"program\" arguments" with the folder as current folder (empty: the test's own).
    RunningProgram(const std::string& program, const std::string& arguments, const std::string& folder = {});
    // Asks a program still running to close (when it has a close request and a
    // found window), then ends it by force.
    virtual ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    // Why it did not start: CreateProcess's last error (0 once started).
    DWORD startError() const { return startError_; }
    DWORD id() const { return pid_; }
    HANDLE process() const { return process_.get(); }

    // Waits, dispatching this thread's messages, for a top-level window of the
    // program that passes the test; null when the program ended first or none
    // came in time.
    HWND WaitForWindow(const WindowTest& isMainWindow, DWORD timeoutMs = 30000);
    // The window the last wait found.
    HWND window() const { return window_; }

    // True when the program ended within the time; its exit code in *exitCode.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
    // How the program is asked to close: a message to its main window.
    void SetCloseRequest(std::function<void(HWND)> request) { closeRequest_ = std::move(request); }
    // Asks it to close and waits for its end: its exit code, or -1 when it had
    // to be ended by force (or never started).
    int Close(DWORD timeoutMs = 20000);
    // Ends it by force if it still runs.
    void Terminate();

private:
    fw::Handle process_;
    DWORD pid_ = 0;
    DWORD startError_ = 0;
    HWND window_ = nullptr;
    std::function<void(HWND)> closeRequest_;
};

}  // namespace testsupport
