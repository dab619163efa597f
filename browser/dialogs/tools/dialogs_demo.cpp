// Not a test: starts Vessa.exe from a program folder and leaves one of its
// dialogs open for a screenshot, then prints "ready".
//   dialogs_demo <program folder holding Vessa.exe> question|about
// "question" clears "CheckDefaultBrowser" first, so the start asks; "about"
// switches the question off and opens the About box.
#include "demo_start.h"
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kBrowserKey[] = "SOFTWARE\\Corvane Global\\Vessa\\App Settings\\Vessa";

// The process's shown dialog with the caption.
HWND WaitForDialog(DWORD pid, const char* caption) {
    return demo::WaitForWindows(pid, [&](HWND wnd) {
        char cls[16] = {};
        ::GetClassNameA(wnd, cls, sizeof(cls));
        return ::IsWindowVisible(wnd) && std::string(cls) == "#32770" && testsupport::TextOf(wnd) == caption;
    });
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
    const DWORD pid = demo::StartBrowser(folder);
    if (!pid) return 1;
    if (which == "question") {
        if (!WaitForDialog(pid, "Vessa")) return 1;
    } else {
        HWND window = demo::WaitForMainWindow(pid);
        if (!window) return 1;
        ::Sleep(1500);  // the first paint
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(31040, 0), 0);
        if (!WaitForDialog(pid, "About Vessa")) return 1;
    }
    ::Sleep(1000);
    std::printf("ready\n");
    std::fflush(stdout);
    return 0;
}
