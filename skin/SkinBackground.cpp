#include "SkinBackground.h"

#include "ErrorCodes.h"
#include "SkinFile.h"
#include "SkinFormat.h"
#include "SkinRegion.h"
#include "SkinResources.h"

#include "fw/handles.h"
#include "fw/msgbox.h"

bool CSkinBackground::LoadBuiltIn() {
    backgroundBitmap_ = background_->LoadFromResource(IDB_SKIN_BACKGROUND);
    if (backgroundBitmap_ && !background_->IsLoaded()) backgroundBitmap_ = nullptr;
    transparentColor_ = RGB(255, 0, 0);
    skinKind_ = kSkinBuiltIn;
    return backgroundBitmap_ != nullptr;
}

ErrorCode CSkinBackground::LoadSkinBackground(const CSkinFile& skin, HWND owner) {
    background_ = std::make_unique<CDibBitmap>();
    backgroundBitmap_ = nullptr;
    ErrorCode result = kErrNone;
    if (skin.IsBuiltIn()) {
        if (!LoadBuiltIn()) result = kErrLoadResource;
    } else {
        const std::string name = skin.BackgroundBitmap();
        const std::string path = skin.Folder() + "\\" + name;
        DibLimits limits;
        limits.maxSide = kMaxBackgroundSide;
        limits.maxPixels = static_cast<uint64_t>(kMaxBackgroundSide) * kMaxBackgroundSide;
        // A name outside the skin's folder is never opened: it counts as a missing file.
        if (IsSafeSkinBitmapName(name)) backgroundBitmap_ = background_->LoadFromFile(path, limits);
        if (backgroundBitmap_) {
            transparentColor_ = skin.TransparentColor();
            skinKind_ = kSkinFromFolder;
        } else {
            fw::ShowMessageBox("Error in loading customized background bitmap from\n" + path +
                                   "\n\nTrying to load default Skin.",
                               MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL, owner);
            LoadBuiltIn();
            result = kErrSkinBitmapFile;
        }
    }
    skinWidth_ = backgroundBitmap_ ? background_->Width() : 0;
    skinHeight_ = backgroundBitmap_ ? background_->Height() : 0;
    return result;
}

void CSkinBackground::ResizeSkinRegion(HWND window, int width, int height) {
    if (!backgroundBitmap_) return;
    fw::Region region =
        BitmapToWindowRegion(backgroundBitmap_, width, height, transparentColor_, kSkinTolerance);
    // The window owns the region once it has taken it; a null region makes it rectangular.
    if (::SetWindowRgn(window, region.get(), TRUE)) region.release();
    paintedWidth_ = width;
    paintedHeight_ = height;
    ::InvalidateRect(window, nullptr, TRUE);
}

void CSkinBackground::Paint(HDC clientDc) const {
    if (background_) background_->DrawScaled(clientDc, paintedWidth_, paintedHeight_);
}

void CSkinBackground::PaintFrame(HWND window) const {
    if (!background_ || !background_->IsLoaded()) return;
    fw::WholeWindowDc windowDc(window);
    HDC dc = windowDc.get();
    if (!dc) return;
    RECT windowRect{}, client{};
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    const int left = origin.x - windowRect.left;
    const int top = origin.y - windowRect.top;
    ::ExcludeClipRect(dc, left, top, left + client.right, top + client.bottom);
    POINT previous{};
    ::SetViewportOrgEx(dc, 3, 3, &previous);  // DrawScaled paints at -3, -3
    background_->DrawScaled(dc, paintedWidth_, paintedHeight_);
    ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}
