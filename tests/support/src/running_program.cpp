#include "testsupport/running_program.h"

#include "testsupport/child_process.h"
#include "testsupport/pump.h"

#include <tlhelp32.h>

#include <string>

namespace testsupport {

namespace {

struct Search {
    DWORD pid;
    const WindowTest* test;
    std::vector<HWND> found;
};

// A named callback: the 32-bit build takes no lambda as a WINAPI function.
BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    const bool process = s->pid ? owner == s->pid : owner != ::GetCurrentProcessId();
    if (process && (*s->test)(wnd)) s->found.push_back(wnd);
    return TRUE;
}

struct ClassSearch {
    std::string wanted;
    HWND found = nullptr;
};

BOOL CALLBACK FindByClass(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<ClassSearch*>(param);
    char cls[64] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    if (search->wanted != cls) return TRUE;
    search->found = wnd;
    return FALSE;
}

}  // namespace

bool WaitForStartedProgramsEnded(const char* exeName, DWORD timeoutMs) {
    return PumpUntil(
        [&] {
            fw::Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
            PROCESSENTRY32 entry{};
            entry.dwSize = sizeof(entry);
            if (!snapshot || !::Process32First(snapshot.get(), &entry)) return false;
            do {
                if (entry.th32ParentProcessID == ::GetCurrentProcessId() && ::lstrcmpiA(entry.szExeFile, exeName) == 0)
                    return false;
            } while (::Process32Next(snapshot.get(), &entry));
            return true;
        },
        timeoutMs);
}

std::vector<HWND> TopWindows(DWORD pid, const WindowTest& test) {
    Search s{pid, &test, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND ChildOfClass(HWND parent, const char* className) {
    ClassSearch s{className};
    ::EnumChildWindows(parent, FindByClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND VisibleWindowOfClass(DWORD pid, const char* className) {
    const std::string wanted = className;
    const auto found = TopWindows(pid, [&](HWND wnd) {
        char cls[64] = {};
        ::GetClassNameA(wnd, cls, sizeof(cls));
        return ::IsWindowVisible(wnd) && wanted == cls;
    });
    return found.empty() ? nullptr : found.front();
}

std::string TextOf(HWND wnd) {
    char text[2048] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                               &copied))
        return "<no answer>";
    return std::string(text, copied);
}

RunningProgram::RunningProgram(const std::string& program, const std::string& arguments, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!StartProcess(program.c_str(), "\"" + program + "\" " + arguments, FALSE,
                      folder.empty() ? nullptr : folder.c_str(), startup, info)) {
        startError_ = ::GetLastError();
        return;
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    pid_ = info.dwProcessId;
}

RunningProgram::~RunningProgram() {
    if (window_ && closeRequest_)
        Close();
    else
        Terminate();
}

HWND RunningProgram::WaitForWindow(const WindowTest& isMainWindow, DWORD timeoutMs) {
    if (!process_) return nullptr;
    window_ = nullptr;
    PumpUntil(
        [&] {
            const auto windows = TopWindows(pid_, isMainWindow);
            if (!windows.empty()) window_ = windows.front();
            return window_ != nullptr || WaitForExit(0);
        },
        timeoutMs);
    return window_;
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) ::GetExitCodeProcess(process_.get(), exitCode);
    return true;
}

int RunningProgram::Close(DWORD timeoutMs) {
    if (!process_) return -1;
    if (window_ && closeRequest_ && !WaitForExit(0)) closeRequest_(window_);
    DWORD code = 0;
    if (WaitForExit(timeoutMs, &code)) return static_cast<int>(code);
    Terminate();
    return -1;
}

void RunningProgram::Terminate() {
    if (!process_ || WaitForExit(0)) return;
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), 10000);
}

}  // namespace testsupport
