#include "demo_start.h"

#include "RegSettings.h"
#include "resource.h"

#include <cstdio>

namespace demo {

namespace {

bool IsPopupMenu(HWND wnd) {
    char cls[32] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    return ::IsWindowVisible(wnd) && std::string(cls) == "#32768";
}

}  // namespace

DWORD StartBrowser(const std::string& folder) {
    std::string line = "\"" + folder + "\\Vessa.exe\" about:blank";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
        return 0;
    // Left running: the screenshot is taken after the demo ends.
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return info.dwProcessId;
}

HWND WaitForWindows(DWORD pid, const testsupport::WindowTest& test, size_t count) {
    for (int i = 0; i < 400; ++i) {
        const auto found = testsupport::TopWindows(pid, test);
        if (found.size() >= count) return found.back();
        ::Sleep(50);
    }
    return nullptr;
}

HWND WaitForMainWindow(DWORD pid) {
    return WaitForWindows(pid, [](HWND wnd) { return ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IDC_MENU); });
}

int ShowPopup(const std::string& folder, const PopupSteps& steps) {
    // Wine's browser is never the default: without this the start would ask to become it.
    CRegSettings().SetCheckDefaultBrowser(0);
    const DWORD pid = StartBrowser(folder);
    HWND window = pid ? WaitForMainWindow(pid) : nullptr;
    if (!window) return 1;
    ::Sleep(1500);  // the first paint
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(steps.button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, steps.button)));
    HWND popup = WaitForWindows(pid, IsPopupMenu);
    if (!popup) return 1;
    for (WPARAM key : steps.keys) ::PostMessageA(popup, WM_KEYDOWN, key, 0);
    if (!WaitForWindows(pid, IsPopupMenu, static_cast<size_t>(steps.popups))) return 1;
    ::Sleep(1000);  // the cascade's paint
    std::printf("ready\n");
    std::fflush(stdout);
    return 0;
}

}  // namespace demo
