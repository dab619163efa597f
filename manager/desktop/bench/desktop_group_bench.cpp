// Not a test: the time for the desktop pane to show a group of 50 members
// (every miniature made, placed, its picture loaded, stretched and masked, and
// painted), against a baseline of the same run that loads the same 50 bitmaps
// and creates and paints 50 plain child windows. Aim: a ratio under 1.5.
#include "MainFrame.h"
#include "NimbApp.h"
#include "NimbDoc.h"
#include "desktop/DesktopView.h"
#include "resource.h"

#include "DibBitmap.h"
#include "testsupport/pump.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kMembers = 50;

double Seconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void PaintNow(HWND wnd) {
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The same bitmaps and as many plain children of the pane, each painted with its bitmap.
void Baseline(HWND pane, const std::vector<RECT>& places) {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "DesktopBenchPlain";
        return ::RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    std::vector<HWND> windows;
    std::vector<std::unique_ptr<CDibBitmap>> pictures;
    for (const RECT& rc : places) {
        auto picture = std::make_unique<CDibBitmap>();
        picture->LoadFromResource(IDB_MINI_BACKGROUND);
        HWND wnd =
            ::CreateWindowExA(0, "DesktopBenchPlain", "", WS_CHILD | WS_VISIBLE, rc.left, rc.top, rc.right - rc.left,
                              rc.bottom - rc.top, pane, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        HDC dc = ::GetDC(wnd);
        picture->DrawScaled(dc, rc.right - rc.left, rc.bottom - rc.top);
        ::ReleaseDC(wnd, dc);
        windows.push_back(wnd);
        pictures.push_back(std::move(picture));
    }
    PaintNow(pane);
    for (HWND wnd : windows) ::DestroyWindow(wnd);
}

}  // namespace

int main() {
    testsupport::ScratchKey registry(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global");
    testsupport::TempProgramFolder dir;
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
    dir.MakeFolder("Templates");
    const CLinkStore store(dir.Path());
    CURLEntryList group;
    for (int i = 0; i < kMembers; ++i) {
        CURLObject record;
        record.link.title = "Member " + std::to_string(i);
        record.link.windowRect = URLRect{10 * i, 8 * i, 10 * i + 400, 8 * i + 300};
        std::string name;
        store.AddURLObject("", record, &name);
        group.emplace_back("", name);
    }

    CNimbApp app("-o ", dir.Path());
    if (!app.InitInstance()) return 1;
    auto* view = dynamic_cast<CDesktopView*>(app.Document()->DesktopPane());
    if (!view) return 2;
    testsupport::PumpFor(0);

    std::vector<double> shown, baseline;
    std::vector<RECT> places;
    for (int run = 0; run < 5; ++run) {
        shown.push_back(Seconds([&] {
            view->ShowBrowser(nullptr, 0, 0);
            for (const CURLEntry& entry : group) view->ShowBrowser(&entry, 1, 0);
            PaintNow(view->hwnd());
        }));
        if (places.empty())
            for (const auto& mini : view->Browsers()) {
                RECT rc = mini->WindowRect();
                ::MapWindowPoints(nullptr, view->hwnd(), reinterpret_cast<POINT*>(&rc), 2);
                places.push_back(rc);
            }
        view->ShowBrowser(nullptr, 0, 0);
        baseline.push_back(Seconds([&] { Baseline(view->hwnd(), places); }));
    }
    const double s = Median(shown), base = Median(baseline);
    std::printf("desktop pane, a group of %d members: %.3f s (median of 5)\n", kMembers, s);
    std::printf("baseline (the same %d bitmaps loaded, as many plain child windows created and painted): %.3f s\n",
                kMembers, base);
    std::printf("ratio: %.2f (aim: under 1.5)\n", s / base);
    return 0;
}
