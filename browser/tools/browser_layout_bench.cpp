// Prints the time of one layout pass and of a full skin change of the real
// main window under Wine. Not a test: figures only.
//   browser_layout_bench.exe [rounds]
#include "NimbBrowserApp.h"
#include "NimbBrowserDlg.h"

#include "fw/file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    const std::string folder = std::string(temp) + "vessa-layout-bench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\Skins").c_str(), nullptr);
    ::CreateDirectoryA((folder + "\\Skins\\copy").c_str(), nullptr);
    // A folder skin identical to the built-in one: the background comes from the program's resources.
    const std::string self = fw::FolderOf([] {
        char name[MAX_PATH * 4] = {};
        ::GetModuleFileNameA(nullptr, name, sizeof(name));
        return std::string(name);
    }());
    ::CopyFileA((self + "\\browser_fixtures\\vessa-folder\\Data.ini").c_str(),
                (folder + "\\Skins\\copy\\Data.ini").c_str(), FALSE);
    ::CopyFileA((self + "\\browser_fixtures\\background.bmp").c_str(),
                (folder + "\\Skins\\copy\\background.bmp").c_str(), FALSE);

    CNimbBrowserApp app("http://bench/", folder);
    app.ErrorHandler().CreateLog(folder);
    app.LoadSettings();
    CNimbBrowserDlg dlg(app.StartState(), app.ErrorHandler());
    dlg.CreateModeless(nullptr);
    ::ShowWindow(dlg.hwnd(), SW_SHOWNOACTIVATE);
    Pump();

    std::vector<double> layout, change;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = Now();
        dlg.ApplyProportionalLayout(i % 2 ? 900 : 800, i % 2 ? 650 : 560);
        layout.push_back(Now() - t0);
        Pump();
    }
    for (int i = 0; i < rounds; ++i) {
        const double t0 = Now();
        dlg.ChangeSkin(i % 2 ? "vessa" : "copy");
        change.push_back(Now() - t0);
        Pump();
    }
    std::printf("layout pass:  median %.2f ms over %d rounds (aim: under 5 ms)\n", Median(layout), rounds);
    std::printf("skin change:  median %.2f ms over %d rounds (aim: under 300 ms)\n", Median(change), rounds);
    return 0;
}
