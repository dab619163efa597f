// Builds .bmp file bytes for tests: any depth, bottom-up or top-down, other
// header sizes, short colour tables.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skintest {

struct BmpSpec {
    int width = 1;
    int height = 1;
    bool topDown = false;
    int bpp = 24;
    uint32_t headerSize = 40;
    std::vector<COLORREF> palette;  // written as the colour table
    uint32_t colorsUsed = 0;        // the header's count (0: all for the depth)
};

// pixel(x, y), y = 0 the top row: a palette index for 8 bits and fewer, a
// COLORREF for 24 and 32 bits.
std::string BuildBmp(const BmpSpec& spec, const std::function<uint32_t(int, int)>& pixel);

// An 8-bit RLE file of width x height whose rows are each one run of index.
std::string BuildRle8(int width, int height, const std::vector<COLORREF>& palette,
                      const std::function<uint8_t(int)>& rowIndex);

// A 32-bit top-down DIB section filled by pixel(x, y) -> COLORREF.
HBITMAP MakeSection32(int width, int height, const std::function<COLORREF(int, int)>& pixel);

// The bitmap's pixel at x, y (y = 0 the top row) as a COLORREF.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);

}  // namespace skintest
