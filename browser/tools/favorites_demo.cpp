// Not a test: fills a program folder with a few links, folders and groups,
// starts Vessa.exe there and opens its favorites popup with one folder
// cascaded, then prints "ready" and leaves the browser open for a screenshot.
//   favorites_demo <program folder holding Vessa.exe>
#include "resource.h"

#include "ErrorCodes.h"
#include "LinkStore.h"

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
    if (s->cls ? std::string(cls) == s->cls : ::GetDlgItem(wnd, IDC_FAVORITES) != nullptr) {
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

void Add(const CLinkStore& store, const std::string& group, const std::string& title) {
    CURLObject record;
    record.link.title = title;
    record.link.address = "about:blank";
    store.AddURLObject(group, record);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    const CLinkStore store(folder);
    Add(store, "", "Corvane Global home");
    Add(store, "", "Weather & tides");
    Add(store, "News", "Daily Herald");
    Add(store, "News", "Morning Post");
    Add(store, "News\\Sport", "Match results");
    Add(store, "Travel", "Timetables");
    ::CreateDirectoryA((folder + "\\Groups").c_str(), nullptr);
    store.WriteList(folder + "\\Groups\\Morning.vsg", {"Links\\News\\0.vsl", "Links\\0.vsl"});
    store.WriteList(folder + "\\Groups\\Work.vsg", {"Links\\1.vsl"});

    std::string line = "\"" + folder + "\\Vessa.exe\" about:blank";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
        return 1;
    HWND window = WaitFor(info.dwProcessId, nullptr, 1);
    if (!window) return 1;
    ::Sleep(1500);  // the first paint
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_FAVORITES, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_FAVORITES)));
    HWND popup = WaitFor(info.dwProcessId, "#32768", 1);
    if (!popup) return 1;
    // Open Vessa Manager, Add Favorite, ---, [News]: open News, then its Sport folder.
    for (int i = 0; i < 3; ++i) ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0);
    ::PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0);
    if (!WaitFor(info.dwProcessId, "#32768", 3)) return 1;
    ::Sleep(1000);
    std::printf("ready\n");
    std::fflush(stdout);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}
