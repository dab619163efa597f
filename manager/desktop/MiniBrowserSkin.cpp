// The miniature's picture: the skin's background stretched to the window,
// the transparent colour turned into the desktop's teal, the page area white.
#include "MiniBrowserWnd.h"

#include "DesktopGeometry.h"
#include "DibBitmap.h"
#include "SkinFile.h"
#include "SkinFormat.h"
#include "resource.h"

#include <algorithm>

namespace {

// The manager reads a skin's BACKGROUND and WEB values with this buffer.
constexpr DWORD kMiniValueBuffer = 1024;

std::string ReadMiniValue(const CSkinFile& skin, const char* section, const char* key) {
    return skin.ReadIniString(section, key, kMiniValueBuffer);
}

struct SkinGeometry {
    RECT viewer{};
    COLORREF transparent = 0;
    int originalWidth = 0;
    int originalHeight = 0;
};

SkinGeometry ReadGeometry(const CSkinFile& ini) {
    SkinGeometry g;
    g.viewer = CMiniBrowserWnd::ParseViewerRect(ReadMiniValue(ini, "WEB", "VIEWER"));
    g.transparent = CMiniBrowserWnd::ParseRgb(ReadMiniValue(ini, "BACKGROUND", "TRANSPARENTCOLOR"));
    g.originalWidth = TokenToInt(ReadMiniValue(ini, "BACKGROUND", "ORIGINALWIDTH"));
    g.originalHeight = TokenToInt(ReadMiniValue(ini, "BACKGROUND", "ORIGINALHEIGHT"));
    return g;
}

SkinGeometry BuiltInGeometry() {
    return SkinGeometry{CMiniBrowserWnd::kBuiltInViewer, CMiniBrowserWnd::kBuiltInTransparent,
                        CMiniBrowserWnd::kBuiltInWidth, CMiniBrowserWnd::kBuiltInHeight};
}

// The picture stretched to width x height on a bitmap like the window's.
fw::Bitmap Stretched(HWND wnd, const CDibBitmap& picture, int width, int height) {
    if (!picture.Handle() || width <= 0 || height <= 0) return {};
    fw::WindowDc screen(wnd);
    fw::Bitmap out(::CreateCompatibleBitmap(screen.get(), width, height));
    fw::MemoryDc to(::CreateCompatibleDC(screen.get()));
    fw::MemoryDc from(::CreateCompatibleDC(screen.get()));
    if (!out || !to || !from) return {};
    fw::SelectObjectGuard toGuard(to.get(), out.get());
    fw::SelectObjectGuard fromGuard(from.get(), picture.Handle());
    // Whole pixels only: the transparent colour must survive the stretch exactly.
    ::SetStretchBltMode(to.get(), COLORONCOLOR);
    if (!::StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, picture.Width(), picture.Height(), SRCCOPY))
        return {};
    return out;
}

}  // namespace

RECT CMiniBrowserWnd::ParseViewerRect(const std::string& text) {
    std::string line = text;
    return ParseRect(line, false);
}

COLORREF CMiniBrowserWnd::ParseRgb(const std::string& text) {
    std::string line = text;
    return ParseColor(line);
}

fw::Bitmap CMiniBrowserWnd::LoadSkinBitmap(const std::string& skin, int width, int height) {
    skin_ = skin;
    const CSkinFile skinFile(MakeSkinPaths(programFolder_, skin));
    if (!skinFile.IsBuiltIn()) {
        // Without a design size the viewer cannot be placed: such a skin is drawn as the built-in one.
        const SkinGeometry g = ReadGeometry(skinFile);
        const std::string file = SkinBitmapPath(ReadMiniValue(skinFile, "BACKGROUND", "BITMAP"), skinFile.Folder());
        if (g.originalWidth > 0 && g.originalHeight > 0 && !IsRefusedSkinBitmap(file) && !IsNullBitmap(file)) {
            CDibBitmap picture;
            if (picture.LoadFromFile(file)) {
                if (fw::Bitmap image = Stretched(hwnd(), picture, width, height)) {
                    builtIn_ = 0;
                    return image;
                }
            }
        }
    }
    builtIn_ = 1;
    CDibBitmap picture;
    picture.LoadFromResource(IDB_MINI_BACKGROUND);
    return Stretched(hwnd(), picture, width, height);
}

void CMiniBrowserWnd::BuildSkinMask(HDC dc) {
    SkinGeometry g = BuiltInGeometry();
    if (!builtIn_) {
        g = ReadGeometry(CSkinFile(MakeSkinPaths(programFolder_, skin_)));
        // The file may have changed since the image was chosen.
        if (g.originalWidth <= 0 || g.originalHeight <= 0) g = BuiltInGeometry();
    }
    const int w = sourceWidth_;
    const int h = sourceHeight_;
    if (w <= 0 || h <= 0) return;

    // One bit a pixel: set where the image has the transparent colour.
    fw::MemoryDc maskDc(::CreateCompatibleDC(dc));
    fw::Bitmap mask(::CreateBitmap(w, h, 1, 1, nullptr));
    if (maskDc && mask) {
        fw::SelectObjectGuard maskGuard(maskDc.get(), mask.get());
        const COLORREF oldBack = ::SetBkColor(dc, g.transparent);
        ::BitBlt(maskDc.get(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        // Set bits take the background colour, clear bits the text colour:
        // first those pixels go black, then they take the teal.
        const COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, RGB(0, 0, 0));
        ::BitBlt(dc, 0, 0, w, h, maskDc.get(), 0, 0, SRCAND);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, kDesktopTeal);
        ::BitBlt(dc, 0, 0, w, h, maskDc.get(), 0, 0, SRCPAINT);
        ::SetTextColor(dc, oldText);
        ::SetBkColor(dc, oldBack);
    }

    // The page area is white.
    const RECT client = ClientRect();
    const RECT page = desktop::ViewerInImage(g.viewer, g.originalWidth, g.originalHeight, client.right, client.bottom);
    ::FillRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}
