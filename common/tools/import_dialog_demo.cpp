// Not a test: the browser's import dialog in the middle of an import, for
// tools/import_dialog_screenshot.sh. Makes a Favorites folder of a few
// shortcuts below the given folder, imports them into a program folder there,
// and halfway prints "ready" and holds the dialog still for a screenshot.
//   import_dialog_demo <empty folder>
#include "ImportFavoritesDlg.h"

#include "fw/file.h"
#include "fw/msgbox.h"

#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string base = argv[1];
    const std::string favorites = base + "\\Favorites";
    const std::string program = base + "\\Program";
    ::CreateDirectoryA(favorites.c_str(), nullptr);
    ::CreateDirectoryA((favorites + "\\News").c_str(), nullptr);
    ::CreateDirectoryA(program.c_str(), nullptr);
    const char* names[] = {"Corvane Global", "Weather", "News\\Daily Paper", "News\\Evening News", "News\\Markets",
                           "News\\Sports"};
    for (const char* name : names)
        fw::WriteWholeFile(favorites + "\\" + name + ".url",
                           "[InternetShortcut]\r\nURL=http://example.com/" + std::string(name) + "\r\n");

    fw::SetProgramName("Vessa");
    CImportFavoritesDlg dialog(nullptr, kBrowserImportDialog, nullptr, program);
    dialog.Show();
    ::SetDlgItemTextA(dialog.hwnd(), IMPORT_BROWSER_PATH, favorites.c_str());
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    int links = 0;
    dialog.SetLinkWait([&](DWORD) {
        if (++links != 5) return;
        // Wine sends the drawing to the display from the message loop.
        MSG pending;
        while (::PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&pending);
        std::printf("ready\n");
        std::fflush(stdout);
        ::Sleep(5000);
        ::ExitProcess(0);
    });
    ::SendMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IMPORT_BROWSER_IMPORT, BN_CLICKED), 0);
    return 1;
}
