// The real VessaMgr.exe in a temporary program folder: started with an exact
// command line, its frame found by its title, ended by a real exit.
#pragma once

#include "manager_test_util.h"

#include "testsupport/running_program.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace mgrtest {

using testsupport::TempProgramFolder;

inline bool IsManagerWindow(HWND wnd) {
    char title[64] = {};
    ::GetWindowTextA(wnd, title, sizeof(title));
    return std::string(title) == "Vessa Manager";
}

// A frame whose panes are made: the titled window exists before them.
inline bool HasItsPanes(HWND frame) {
    return testsupport::ChildOfClass(frame, WC_TREEVIEWA) != nullptr;
}

// Every top-level "Vessa Manager" window (of one process, or of any other with pid 0).
inline std::vector<HWND> ManagerWindows(DWORD pid = 0) {
    return testsupport::TopWindows(pid, IsManagerWindow);
}

// Ended by a real exit: the close ends it once the icon is gone.
class RunningManager : public testsupport::RunningProgram {
public:
    RunningManager(const TempProgramFolder& dir, const std::string& arguments)
        : RunningProgram(dir / "VessaMgr.exe", arguments) {
        if (!started()) ADD_FAILURE() << "cannot start the manager (error " << startError() << ")";
        SetCloseRequest([](HWND frame) { ::PostMessageA(frame, WM_TIMER, 50, 0); });
    }
    ~RunningManager() override { Stop(); }

    // Its frame once it and its panes exist, shown or not; null when the process ended first or after the time-out.
    HWND WaitForWindow(DWORD timeoutMs = 30000) {
        return RunningProgram::WaitForWindow([](HWND wnd) { return IsManagerWindow(wnd) && HasItsPanes(wnd); },
                                             timeoutMs);
    }
    DWORD WaitForIdle() const { return ::WaitForInputIdle(process(), 30000); }
    bool Ended(DWORD timeoutMs) const { return WaitForExit(timeoutMs); }
    int ExitCode() const {
        DWORD code = 0;
        ::GetExitCodeProcess(process(), &code);
        return static_cast<int>(code);
    }
    void Stop() {
        if (started() && !Ended(0)) Close(20000);
    }
    HWND Window() const { return window(); }
};

inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(20);
    }
    return true;
}

struct ProgramFixture {
    FreshRegistry registry;
    TempProgramFolder dir;
    ProgramFixture() {
        dir.CopyProgram("VessaMgr.exe");
        dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
    }
};

inline void SetOption(const char* name, DWORD value) {
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, name, value);
}

}  // namespace mgrtest
