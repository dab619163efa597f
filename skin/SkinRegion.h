// The window shape of a skin: the region of a bitmap's pixels that are not
// of the transparent colour, give or take a tolerance.
#pragma once

#include "fw/handles.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Wine's window system fails on window regions of about 32k rectangles; a
// shape that needs more is simplified to stay below this.
inline constexpr size_t kMaxWindowRegionRects = 16000;

// Largest bitmap, in pixels, whose shape is computed (a 32-bit copy of it is made).
inline constexpr uint64_t kMaxRegionPixels = uint64_t{1} << 26;

// A bitmap's pixels as 0x00RRGGBB values in a 32-bit DIB section, top row first.
class CPixels32 {
public:
    // Copies the bitmap, stretched colour-on-colour to width x height (its
    // own size when either is 0). False when it cannot be read.
    bool Load(HBITMAP bitmap, int width = 0, int height = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const uint32_t* Row(int y) const { return bits_ + static_cast<size_t>(y) * width_; }

private:
    fw::Bitmap section_;
    const uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The transparent box: each of red, green and blue within the colour's
// component plus or minus the tolerance's, bounded to 0 to 255.
struct TransparentRange {
    uint8_t low[3];   // red, green, blue
    uint8_t high[3];
    bool Contains(uint32_t pixel) const {
        return static_cast<unsigned>(((pixel >> 16) & 0xFF) - low[0]) <= static_cast<unsigned>(high[0] - low[0]) &&
               static_cast<unsigned>(((pixel >> 8) & 0xFF) - low[1]) <= static_cast<unsigned>(high[1] - low[1]) &&
               static_cast<unsigned>((pixel & 0xFF) - low[2]) <= static_cast<unsigned>(high[2] - low[2]);
    }
};

TransparentRange MakeTransparentRange(COLORREF transparent, COLORREF tolerance);

// The opaque pixels as rectangles in y-x bands, ready for a region: one per
// run of opaque pixels in a row, and rows with the same runs as the row
// above share that band. With maxRects, a shape needing more rectangles is
// coarsened to blocks of 2, 4, 8... pixels (a block is opaque when any of
// its pixels is) until it fits.
std::vector<RECT> OpaqueRects(const CPixels32& pixels, const TransparentRange& range, size_t maxRects = SIZE_MAX);

// A region of banded rectangles, made in small batches combined pairwise
// (the platform's region maker is quadratic in the number of rectangles).
fw::Region RegionFromRects(const std::vector<RECT>& rects);

// The exact region of the bitmap's opaque pixels at its own size; null when
// the bitmap cannot be read. An all-transparent bitmap gives an empty region.
fw::Region BitmapToRegion(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance);

// The shape for a window of width x height: the bitmap stretched to that
// size, simplified to at most maxRects rectangles. Null (a rectangular
// window) when it cannot be made or when no pixel is opaque: a window
// without any opaque pixel would be invisible.
fw::Region BitmapToWindowRegion(HBITMAP bitmap, int width, int height, COLORREF transparent, COLORREF tolerance,
                                size_t maxRects = kMaxWindowRegionRects);
