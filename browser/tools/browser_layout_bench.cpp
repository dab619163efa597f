// Prints the time of one layout pass of the real main window under Wine,
// against a bare DeferWindowPos batch of the same controls to the same
// rectangles; then what a real resize costs (the region rebuild, the layout
// and the repaint) and a full skin change. Not a test: figures only.
//   browser_layout_bench.exe [rounds]
#include "NimbBrowserApp.h"
#include "NimbBrowserDlg.h"
#include "SkinBackground.h"
#include "SkinRegion.h"

#include "fw/file.h"
#include "fw/handles.h"

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

struct Place {
    HWND control;
    RECT rect;  // in the dialog's client coordinates
};

BOOL CALLBACK Collect(HWND child, LPARAM param) {
    auto* out = reinterpret_cast<std::vector<Place>*>(param);
    HWND parent = ::GetParent(child);
    if (!parent || ::GetAncestor(child, GA_PARENT) != parent) return TRUE;
    RECT r = fw::ScreenRectOf(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    out->push_back({child, r});
    return TRUE;
}

// Every direct child of the dialog where the last layout put it.
std::vector<Place> Places(HWND dialog) {
    std::vector<Place> all;
    ::EnumChildWindows(dialog, Collect, reinterpret_cast<LPARAM>(&all));
    std::vector<Place> direct;
    for (const Place& p : all)
        if (::GetParent(p.control) == dialog) direct.push_back(p);
    return direct;
}

void MoveBare(const std::vector<Place>& places) {
    HDWP defer = ::BeginDeferWindowPos(static_cast<int>(places.size()));
    for (const Place& p : places) {
        if (!defer) break;
        defer = ::DeferWindowPos(defer, p.control, nullptr, p.rect.left, p.rect.top, p.rect.right - p.rect.left,
                                 p.rect.bottom - p.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer) ::EndDeferWindowPos(defer);
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
    // A folder skin identical to the built-in one.
    const std::string self = fw::FolderOf([] {
        char name[MAX_PATH * 4] = {};
        ::GetModuleFileNameA(nullptr, name, sizeof(name));
        return std::string(name);
    }());
    ::CopyFileA((self + "\\browser_fixtures\\vessa-folder\\Data.ini").c_str(),
                (folder + "\\Skins\\copy\\Data.ini").c_str(), FALSE);
    ::CopyFileA((self + "\\browser_fixtures\\background.bmp").c_str(),
                (folder + "\\Skins\\copy\\background.bmp").c_str(), FALSE);

    CNimbBrowserApp app("http://127.0.0.1:1/", folder);
    app.ErrorHandler().CreateLog(folder);
    app.LoadSettings();
    CNimbBrowserDlg dlg(app.StartState(), app.ErrorHandler());
    dlg.CreateModeless(nullptr);
    const HWND wnd = dlg.hwnd();
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    Pump();

    const SIZE sizes[2] = {{800, 560}, {900, 650}};
    std::vector<Place> placed[2];
    for (int s = 0; s < 2; ++s) {
        dlg.ApplyProportionalLayout(sizes[s].cx, sizes[s].cy);
        Pump();
        placed[s] = Places(wnd);
    }

    std::vector<double> layout, bare;
    for (int i = 0; i < rounds; ++i) {
        const int s = i % 2;
        double t0 = Now();
        dlg.ApplyProportionalLayout(sizes[s].cx, sizes[s].cy);
        layout.push_back(Now() - t0);
        Pump();
        MoveBare(placed[1 - s]);  // from the other size, as the layout starts
        Pump();
        t0 = Now();
        MoveBare(placed[s]);
        bare.push_back(Now() - t0);
        Pump();
    }

    // A real resize: the window's new size reshapes it (region), lays it out, then repaints.
    std::vector<double> resize, region, repaint;
    const CSkinBackground& skin = dlg.Skin();
    for (int i = 0; i < rounds; ++i) {
        const SIZE& s = sizes[i % 2];
        double t0 = Now();
        ::SetWindowPos(wnd, nullptr, 0, 0, s.cx + 6, s.cy + 6, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const double moved = Now() - t0;
        t0 = Now();
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        repaint.push_back(Now() - t0);
        resize.push_back(moved + repaint.back());
        Pump();
        // The region alone, as the resize builds it.
        t0 = Now();
        fw::Region shape = BitmapToWindowRegion(skin.BackgroundBitmap(), s.cx + 6, s.cy + 6, skin.TransparentColor(),
                                                kSkinTolerance);
        region.push_back(Now() - t0);
    }

    std::vector<double> change;
    for (int i = 0; i < rounds; ++i) {
        const double t0 = Now();
        dlg.ChangeSkin(i % 2 ? "vessa" : "copy");
        change.push_back(Now() - t0);
        Pump();
    }
    const double l = Median(layout), b = Median(bare);
    std::printf("layout pass:  median %.2f ms over %d rounds (%zu controls)\n", l, rounds, placed[0].size());
    std::printf("bare DeferWindowPos batch of the same controls: median %.2f ms; ratio %.2f (aim: under 1.3)\n", b,
                b > 0 ? l / b : -1.0);
    std::printf("real resize:  median %.2f ms (region rebuild %.2f ms, repaint %.2f ms)\n", Median(resize),
                Median(region), Median(repaint));
    std::printf("skin change:  median %.2f ms over %d rounds (aim: under 150 ms)\n", Median(change), rounds);
    return 0;
}
