// A bitmap loaded from a .bmp file or a bitmap resource as a DIB section at
// its own size, with a palette made from its colour table.
#pragma once

#include "DibFormat.h"

#include "fw/handles.h"

#include <windows.h>

#include <string>

class CDibBitmap {
public:
    CDibBitmap() = default;
    virtual ~CDibBitmap() = default;
    CDibBitmap(const CDibBitmap&) = delete;
    CDibBitmap& operator=(const CDibBitmap&) = delete;

    // The bitmap handle, or null when the file cannot be opened, is no
    // bitmap with a 40-byte info header, or lies outside the limits.
    HBITMAP LoadFromFile(const std::string& path, const DibLimits& limits = DibLimits{});

    // A bitmap resource of the module (the program's own when null). A
    // resource whose header cannot be used gives the handle with the loaded
    // flag clear.
    HBITMAP LoadFromResource(UINT id, HMODULE module = nullptr);

    // Copies the source rectangle stretched onto x, y, width + 2, height + 2.
    void StretchDraw(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                     int srcHeight) const;

    // Paints the whole bitmap stretched over width x height at -3, -3: the
    // corner of a window's 3-pixel sizing frame when width and height are
    // the client size plus 6.
    void DrawScaled(HDC dc, int width, int height) const;

    // Selects the palette into dc and realises it; returns the previous
    // palette, or null when there is none to select.
    HPALETTE SelectPalette(HDC dc, bool background) const;

    HBITMAP Handle() const { return bitmap_.get(); }
    HPALETTE Palette() const { return palette_.get(); }
    bool IsLoaded() const { return loaded_ != 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    void Reset();
    bool BuildFrom(const uint8_t* data, const DibLayout& layout);

    fw::Bitmap bitmap_;
    fw::Palette palette_;  // released before the bitmap
    int loaded_ = 0;
    int width_ = 0;
    int height_ = 0;
};
