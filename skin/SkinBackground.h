// The skin's background picture and the window shape made from it: what the
// browser window paints and how it is cut out.
#pragma once

#include "ErrorCodes.h"

#include "DibBitmap.h"
#include "SkinFile.h"

#include <windows.h>

#include <memory>
#include <string>

enum SkinKind : int { kSkinFromFolder = 0, kSkinBuiltIn = 1 };

// How far a pixel may lie from the transparent colour, per component, and still be cut away.
inline constexpr COLORREF kSkinTolerance = RGB(8, 8, 8);

// A background file larger than this per side is refused like a broken one.
inline constexpr int32_t kMaxBackgroundSide = 8192;

class CSkinBackground {
public:
    // The skin's background (its BITMAP inside its folder), or the built-in
    // one. Returns 0; 45 when the skin's file failed or its name leaves the
    // skin's folder, and the built-in background was loaded instead (after
    // telling the user); 36 when the built-in background failed (no
    // background then).
    ErrorCode LoadSkinBackground(const CSkinFile& skin, HWND owner = nullptr);

    // Cuts the window to the background stretched to width x height (the
    // window's outer size) and repaints it. Nothing without a background.
    void ResizeSkinRegion(HWND window, int width, int height);

    // The background stretched to the painted size, its corner at the
    // corner of the 3-pixel sizing frame: for WM_PAINT on the client area.
    void Paint(HDC clientDc) const;

    // The same picture on the sizing frame itself (WM_NCPAINT), so the frame
    // is part of the skin rather than the system's grey.
    void PaintFrame(HWND window) const;

    const CDibBitmap* Background() const { return background_.get(); }
    HBITMAP BackgroundBitmap() const { return backgroundBitmap_; }
    COLORREF TransparentColor() const { return transparentColor_; }
    int SkinWidth() const { return skinWidth_; }
    int SkinHeight() const { return skinHeight_; }
    int PaintedWidth() const { return paintedWidth_; }
    int PaintedHeight() const { return paintedHeight_; }
    int Kind() const { return skinKind_; }

private:
    bool LoadBuiltIn();

    std::unique_ptr<CDibBitmap> background_;
    HBITMAP backgroundBitmap_ = nullptr;  // owned by background_
    COLORREF transparentColor_ = RGB(255, 0, 0);
    int skinWidth_ = 0;
    int skinHeight_ = 0;
    int paintedWidth_ = 0;
    int paintedHeight_ = 0;
    int skinKind_ = kSkinBuiltIn;
};
