// Not a test: makes a few skin folders in a program folder, starts Vessa.exe
// there, opens its main menu with the Skins popup, then prints "ready" and
// leaves the browser open for a screenshot.
//   menu_demo <program folder holding Vessa.exe>
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD pid;
    const char* cls;
    int count;
    HWND found;
};

BOOL CALLBACK Check(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner != s->pid || !::IsWindowVisible(wnd)) return TRUE;
    char cls[32] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    if (s->cls ? std::string(cls) == s->cls : ::GetDlgItem(wnd, IDC_MENU) != nullptr) {
        ++s->count;
        s->found = wnd;
    }
    return TRUE;
}

// Waits up to 20 s for count visible windows of the class (null: the main window).
HWND WaitFor(DWORD pid, const char* cls, int count) {
    for (int i = 0; i < 400; ++i) {
        Search s{pid, cls, 0, nullptr};
        ::EnumWindows(Check, reinterpret_cast<LPARAM>(&s));
        if (s.count >= count) return s.found;
        ::Sleep(50);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    ::CreateDirectoryA((folder + "\\Skins").c_str(), nullptr);
    for (const char* skin : {"Blue", "Graphite", "Sunset"})
        ::CreateDirectoryA((folder + "\\Skins\\" + skin).c_str(), nullptr);

    std::string line = "\"" + folder + "\\Vessa.exe\" about:blank";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
        return 1;
    HWND window = WaitFor(info.dwProcessId, nullptr, 1);
    if (!window) return 1;
    ::Sleep(1500);  // the first paint
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_MENU, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_MENU)));
    HWND popup = WaitFor(info.dwProcessId, "#32768", 1);
    if (!popup) return 1;
    // File, Edit, Text Size, Navigate, Skins: open Skins.
    for (int i = 0; i < 5; ++i) ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0);
    if (!WaitFor(info.dwProcessId, "#32768", 2)) return 1;
    ::Sleep(1000);
    std::printf("ready\n");
    std::fflush(stdout);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}
