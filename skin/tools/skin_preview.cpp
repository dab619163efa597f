// Shows the built-in skin on a plain desktop: its background, shape and
// default pictures where the built-in lines put them, with a stand-in page.
// For screenshots; not a test.
//   skin_preview.exe [seconds] [width height] [animator frame]
#include "DibBitmap.h"
#include "SkinBackground.h"
#include "SkinFile.h"
#include "SkinFormat.h"
#include "SkinResources.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct Picture {
    RECT rect;
    std::unique_ptr<CDibBitmap> bitmap;
    int frames;
    int frame;
};

CSkinBackground g_background;
std::vector<Picture> g_pictures;
int g_frame = 0;

void AddPicture(const RECT& rect, UINT id, int frames = 1) {
    Picture p{rect, std::make_unique<CDibBitmap>(), frames, 0};
    p.bitmap->LoadFromResource(id);
    g_pictures.push_back(std::move(p));
}

void BuildPictures() {
    const CSkinFile skin(MakeSkinPaths("", "vessa"));
    for (int i = 1; i <= skin.ButtonLineCount(); ++i) {
        const SkinButtonLine line = ParseButtonLine(skin.ButtonLine(i), "");
        if (const SkinControl* info = FindOrdinaryButton(line.name)) AddPicture(line.rect, info->defaultBitmap);
    }
    for (SpecialButton which :
         {SpecialButton::kFavorites, SpecialButton::kMenu, SpecialButton::kMinimize, SpecialButton::kClose}) {
        AddPicture(ParseSpecialButtonLine(skin.SpecialLine(which), "").rect, GetSpecialButtonInfo(which).defaultBitmap);
    }
    const SkinAnimatorLine animator = ParseAnimatorLine(skin.SpecialLine(SpecialButton::kAnimator), "");
    AddPicture(animator.rect, IDB_SKIN_ANIMATOR, animator.frames);
}

// Scales a rectangle given at the skin's own client size to the current one.
RECT Scaled(const RECT& r, int cx, int cy) {
    const double fx = cx / 790.0, fy = cy / 562.0;
    return RECT{static_cast<LONG>(r.left * fx), static_cast<LONG>(r.top * fy), static_cast<LONG>(r.right * fx),
                static_cast<LONG>(r.bottom * fy)};
}

void FillRect(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
}

void Text(HDC dc, int x, int y, const char* text, COLORREF colour) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    ::TextOutA(dc, x, y, text, lstrlenA(text));
}

// What the browser's own controls would show: address row, page, status row.
void PaintStandIns(HDC dc, int cx, int cy) {
    const RECT viewer = Scaled(RECT{66, 18, 741, 434}, cx, cy);
    const int top = viewer.top + 60;
    RECT address{viewer.left, top, viewer.right - 30, top + 20};
    FillRect(dc, address, RGB(255, 255, 255));
    ::FrameRect(dc, &address, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    Text(dc, address.left + 6, address.top + 3, "about:blank", RGB(40, 40, 40));
    CDibBitmap go;
    go.LoadFromResource(IDB_SKIN_GO);
    go.StretchDraw(dc, viewer.right - 30, top - 1, 28, 20, 1, 0, 29, 32);
    RECT page{viewer.left, top + 20, viewer.right, viewer.bottom - 20};
    FillRect(dc, page, RGB(255, 255, 255));
    RECT status{viewer.left, viewer.bottom - 20, viewer.right, viewer.bottom};
    FillRect(dc, status, RGB(236, 239, 242));
    Text(dc, status.left + 6, status.top + 3, "Done", RGB(60, 60, 60));
    for (UINT id : {IDB_SKIN_ONLINE, IDB_SKIN_SECURE}) {
        CDibBitmap indicator;
        indicator.LoadFromResource(id);
        const int x = viewer.right - (id == IDB_SKIN_ONLINE ? 34 : 17);
        indicator.StretchDraw(dc, x, status.top + 1, 15, 15, 0, 0, 17, 17);
    }
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client;
    ::GetClientRect(window, &client);
    g_background.Paint(dc);
    PaintStandIns(dc, client.right, client.bottom);
    for (const Picture& p : g_pictures) {
        const RECT r = Scaled(p.rect, client.right, client.bottom);
        const int frameWidth = p.bitmap->Width() / p.frames;
        const int rowHeight = p.bitmap->Height() / 3;
        const int frame = p.frames > 1 ? g_frame % p.frames : 0;
        p.bitmap->StretchDraw(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, frame * frameWidth + 1, 0,
                              frameWidth, rowHeight);
    }
    ::EndPaint(window, &ps);
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: Paint(window); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_NCPAINT: g_background.PaintFrame(window); return 0;
        case WM_SIZE: g_background.ResizeSkinRegion(window, LOWORD(lParam) + 6, HIWORD(lParam) + 6); return 0;
        case WM_TIMER: ::PostQuitMessage(0); return 0;
        case WM_DESTROY: ::PostQuitMessage(0); return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        RECT r;
        ::GetClientRect(window, &r);
        for (int y = 0; y < r.bottom; y += 4) {
            const double t = static_cast<double>(y) / r.bottom;
            RECT band{0, y, r.right, y + 4};
            FillRect(dc, band, RGB(static_cast<int>(150 - 60 * t), static_cast<int>(176 - 60 * t),
                                   static_cast<int>(198 - 50 * t)));
        }
        ::EndPaint(window, &ps);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int seconds = __argc > 1 ? std::atoi(__argv[1]) : 0;
    const int width = __argc > 3 ? std::atoi(__argv[2]) : 796;
    const int height = __argc > 3 ? std::atoi(__argv[3]) : 568;
    g_frame = __argc > 4 ? std::atoi(__argv[4]) : 0;
    if (g_background.LoadSkinBackground(CSkinFile(MakeSkinPaths("", "vessa"))) != 0) return 1;
    BuildPictures();

    WNDCLASSA desktop{};
    desktop.lpfnWndProc = DesktopProc;
    desktop.hInstance = instance;
    desktop.lpszClassName = "SkinPreviewDesktop";
    ::RegisterClassA(&desktop);
    WNDCLASSA skin{};
    skin.lpfnWndProc = SkinProc;
    skin.hInstance = instance;
    skin.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    skin.lpszClassName = "SkinPreview";
    ::RegisterClassA(&skin);

    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    HWND back = ::CreateWindowExA(0, desktop.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, screenW, screenH, nullptr,
                                  nullptr, instance, nullptr);
    HWND window = ::CreateWindowExA(0, skin.lpszClassName, "Vessa", WS_POPUP | WS_THICKFRAME,
                                    (screenW - width) / 2, (screenH - height) / 2, width, height, back, nullptr,
                                    instance, nullptr);
    ::ShowWindow(window, SW_SHOW);
    if (seconds > 0) ::SetTimer(window, 1, seconds * 1000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    ::DestroyWindow(window);
    ::DestroyWindow(back);
    return 0;
}
