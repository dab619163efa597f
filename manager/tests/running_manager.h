// The real VessaMgr.exe in a temporary program folder: started with an exact
// command line, its frame found by its title, ended by a real exit.
#pragma once

#include "manager_test_util.h"

#include "testsupport/child_process.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace mgrtest {

using testsupport::TempProgramFolder;

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

inline BOOL CALLBACK FindManagerWindows(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    char title[64] = {};
    ::GetWindowTextA(wnd, title, sizeof(title));
    if ((s->pid == 0 || pid == s->pid) && std::string(title) == "Vessa Manager") s->found.push_back(wnd);
    return TRUE;
}

// Every top-level "Vessa Manager" window (of one process, or of any with pid 0).
inline std::vector<HWND> ManagerWindows(DWORD pid = 0) {
    Search s{pid, {}};
    ::EnumWindows(FindManagerWindows, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

class RunningManager {
public:
    RunningManager(const TempProgramFolder& dir, const std::string& arguments) {
        if (!child_.Start(dir / "VessaMgr.exe", arguments)) {
            ADD_FAILURE() << "cannot start the manager";
            return;
        }
        pid_ = ::GetProcessId(child_.Process());
    }
    ~RunningManager() { Stop(); }

    // Its frame once it exists; null when the process ended first or after the time-out.
    HWND WaitForWindow(DWORD timeoutMs = 30000) {
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        while (::GetTickCount64() < end) {
            const auto windows = ManagerWindows(pid_);
            if (!windows.empty()) return window_ = windows.front();
            if (Ended(0)) return nullptr;
            ::Sleep(20);
        }
        return nullptr;
    }
    DWORD WaitForIdle() const { return ::WaitForInputIdle(child_.Process(), 30000); }
    bool Ended(DWORD timeoutMs) const { return ::WaitForSingleObject(child_.Process(), timeoutMs) == WAIT_OBJECT_0; }
    int ExitCode() {
        DWORD code = 0;
        ::GetExitCodeProcess(child_.Process(), &code);
        return static_cast<int>(code);
    }
    // A real exit: the close ends it once the icon is gone.
    void Stop() {
        if (!child_.Process() || Ended(0)) return;
        if (window_) ::PostMessageA(window_, WM_TIMER, 50, 0);
        if (!Ended(20000)) child_.Wait(0);
    }
    HWND Window() const { return window_; }

private:
    testsupport::ChildProcess child_;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
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
