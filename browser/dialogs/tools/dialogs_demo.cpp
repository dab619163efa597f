// Not a test: starts Vessa.exe from a program folder and leaves one of its
// dialogs open for a screenshot, then prints "ready".
//   dialogs_demo <program folder holding Vessa.exe> question|about
// "question" clears "CheckDefaultBrowser" first, so the start asks; "about"
// switches the question off and opens the About box.
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kBrowserKey[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings\\Vessa";

HWND WaitForDialog(DWORD pid, const char* caption) {
    for (int i = 0; i < 400; ++i) {
        for (HWND wnd = ::FindWindowA("#32770", caption); wnd; wnd = ::FindWindowExA(nullptr, wnd, "#32770", caption)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(wnd, &owner);
            if (owner == pid && ::IsWindowVisible(wnd)) return wnd;
        }
        ::Sleep(50);
    }
    return nullptr;
}

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK Check(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner == s->pid && ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IDC_MENU)) s->found = wnd;
    return TRUE;
}

HWND WaitForMain(DWORD pid) {
    for (int i = 0; i < 400; ++i) {
        Search s{pid, nullptr};
        ::EnumWindows(Check, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        ::Sleep(50);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string folder = argv[1];
    const std::string which = argv[2];
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        const DWORD off = 0;
        if (which == "question")
            ::RegDeleteValueA(key, "CheckDefaultBrowser");
        else
            ::RegSetValueExA(key, "CheckDefaultBrowser", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), 4);
        ::RegCloseKey(key);
    }
    std::string line = "\"" + folder + "\\Vessa.exe\" about:blank";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
        return 1;
    if (which == "question") {
        if (!WaitForDialog(info.dwProcessId, "Vessa")) return 1;
    } else {
        HWND window = WaitForMain(info.dwProcessId);
        if (!window) return 1;
        ::Sleep(1500);  // the first paint
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(31040, 0), 0);
        if (!WaitForDialog(info.dwProcessId, "About Vessa")) return 1;
    }
    ::Sleep(1000);
    std::printf("ready\n");
    std::fflush(stdout);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}
