// Not a test: the real manager in-process on sample links, with a group of
// three selected so the desktop pane shows three miniatures (one in a skin of
// its own), for desktop_screenshot.sh. Writes the pane's screen rectangle
// ("left top width height") to the ready file once it is drawn, then keeps
// running until that file is deleted (at most a minute).
//   desktop_demo.exe <program folder> <ready file>
#include "LeftView.h"
#include "LinkStore.h"
#include "MainFrame.h"
#include "NimbApp.h"
#include "NimbDoc.h"
#include "desktop/DesktopView.h"

#include "fw/file.h"

#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Add(const CLinkStore& store, const std::string& folder, const char* title, URLRect rect, const char* skin) {
    CURLObject record;
    record.link.title = title;
    record.link.windowRect = rect;
    record.skinName = skin;
    std::string name;
    store.AddURLObject(folder, record, &name);
    return name;
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 24-bit skin background: a rounded dark-blue body, magenta (its transparent
// colour) around it, a light title strip and a deck of key shapes below.
std::string HarbourBackground(int w, int h) {
    const int stride = (w * 3 + 3) & ~3;
    std::string bmp = "BM";
    Put32(bmp, static_cast<uint32_t>(54 + stride * h));
    Put32(bmp, 0);
    Put32(bmp, 54);
    Put32(bmp, 40);
    Put32(bmp, static_cast<uint32_t>(w));
    Put32(bmp, static_cast<uint32_t>(h));
    Put32(bmp, 1 | (24 << 16));
    for (int i = 0; i < 6; ++i) Put32(bmp, 0);
    const int radius = 40;
    for (int row = h - 1; row >= 0; --row) {  // bottom-up
        std::string line;
        for (int x = 0; x < w; ++x) {
            const int cx = x < radius ? radius : (x >= w - radius ? w - 1 - radius : x);
            const int cy = row < radius ? radius : (row >= h - radius ? h - 1 - radius : row);
            const bool outside = (x - cx) * (x - cx) + (row - cy) * (row - cy) > radius * radius;
            int r = 20, g = 52, b = 96;
            if (outside) {
                r = 255, g = 0, b = 255;
            } else if (row < 60) {
                r = 120, g = 170, b = 210;
            } else if (row > h - 110 && (x / 60) % 2 == 1 && row < h - 50) {
                r = 230, g = 180, b = 60;
            }
            line.push_back(static_cast<char>(b));
            line.push_back(static_cast<char>(g));
            line.push_back(static_cast<char>(r));
        }
        line.resize(static_cast<size_t>(stride), '\0');
        bmp += line;
    }
    return bmp;
}

void WriteSkin(const std::string& folder) {
    const std::string skin = folder + "\\Skins\\Harbour";
    ::CreateDirectoryA((folder + "\\Skins").c_str(), nullptr);
    ::CreateDirectoryA(skin.c_str(), nullptr);
    fw::WriteWholeFile(skin + "\\back.bmp", HarbourBackground(800, 600));
    fw::WriteWholeFile(skin + "\\Data.ini",
                       "[BACKGROUND]\r\nBITMAP=back.bmp\r\nTRANSPARENTCOLOR=255,0,255\r\nORIGINALWIDTH=800\r\n"
                       "ORIGINALHEIGHT=600\r\n[WEB]\r\nVIEWER=60,80,680,380\r\n[GENERAL]\r\nCOMMENTS=Harbour\r\n");
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string folder = argv[1];
    const std::string ready = argv[2];
    for (const char* sub : {"\\Links", "\\Links\\Trip", "\\Groups", "\\Templates"})
        ::CreateDirectoryA((folder + sub).c_str(), nullptr);
    WriteSkin(folder);
    const CLinkStore store(folder);
    const std::string a = Add(store, "Trip", "Timetables", URLRect{}, "vessa");
    const std::string b = Add(store, "Trip", "Harbour map", URLRect{560, 40, 1010, 380}, "Harbour");
    const std::string c = Add(store, "Trip", "Weather", URLRect{20, 430, 420, 730}, "vessa");
    store.WriteList(folder + "\\Groups\\Trip windows.vsg",
                    {"Links\\Trip\\" + a, "Links\\Trip\\" + b, "Links\\Trip\\" + c});

    CNimbApp app("-o ", folder);
    if (!app.InitInstance() || !app.MainFrame()) return 3;
    CLeftView* tree = app.MainFrame()->TreeView();
    if (!PumpUntil([&] { return tree->Root() != nullptr; }, 30000)) return 4;
    HTREEITEM group = tree->FindChildByName(tree->GroupsItem(), "Trip windows");
    if (!group) return 5;
    TreeView_SelectItem(tree->hwnd(), group);
    auto* view = dynamic_cast<CDesktopView*>(app.Document()->DesktopPane());
    if (!view || view->Browsers().size() != 3) return 6;
    ::RedrawWindow(app.MainFrame()->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    app.MainFrame()->OnIdle();
    const RECT pane = view->WindowRect();
    char text[64];
    std::snprintf(text, sizeof(text), "%ld %ld %ld %ld\n", static_cast<long>(pane.left), static_cast<long>(pane.top),
                  static_cast<long>(pane.right - pane.left), static_cast<long>(pane.bottom - pane.top));
    fw::WriteWholeFile(ready, text);
    PumpUntil([&] { return ::GetFileAttributesA(ready.c_str()) == INVALID_FILE_ATTRIBUTES; }, 60000);
    return 0;
}
