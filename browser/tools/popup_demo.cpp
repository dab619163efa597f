#include "popup_demo.h"

#include "RegSettings.h"
#include "resource.h"

#include "testsupport/running_program.h"

#include <cstdio>

namespace demo {

namespace {

// Waits up to 20 s for count visible windows the test accepts; the last found.
HWND WaitFor(DWORD pid, const testsupport::WindowTest& test, size_t count) {
    for (int i = 0; i < 400; ++i) {
        const auto found = testsupport::TopWindows(pid, test);
        if (found.size() >= count) return found.back();
        ::Sleep(50);
    }
    return nullptr;
}

bool IsPopupMenu(HWND wnd) {
    char cls[32] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    return ::IsWindowVisible(wnd) && std::string(cls) == "#32768";
}

}  // namespace

int ShowPopup(const std::string& folder, const PopupSteps& steps) {
    // Wine's browser is never the default: without this the start would ask to become it.
    CRegSettings().SetCheckDefaultBrowser(0);
    std::string line = "\"" + folder + "\\Vessa.exe\" about:blank";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
        return 1;
    // Left running: the screenshot is taken after this program ends.
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    const DWORD pid = info.dwProcessId;
    HWND window = WaitFor(
        pid, [](HWND wnd) { return ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IDC_MENU) != nullptr; }, 1);
    if (!window) return 1;
    ::Sleep(1500);  // the first paint
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(steps.button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, steps.button)));
    HWND popup = WaitFor(pid, IsPopupMenu, 1);
    if (!popup) return 1;
    for (WPARAM key : steps.keys) ::PostMessageA(popup, WM_KEYDOWN, key, 0);
    if (!WaitFor(pid, IsPopupMenu, static_cast<size_t>(steps.popups))) return 1;
    ::Sleep(1000);  // the cascade's paint
    std::printf("ready\n");
    std::fflush(stdout);
    return 0;
}

}  // namespace demo
