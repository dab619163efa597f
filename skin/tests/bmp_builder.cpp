#include "bmp_builder.h"

#include "fw/handles.h"

#include <cstring>

namespace skintest {

namespace {

void Put16(std::string& s, uint16_t v) { s.append(reinterpret_cast<const char*>(&v), 2); }
void Put32(std::string& s, uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); }

std::string Headers(const BmpSpec& spec, uint32_t compression, size_t bitsSize) {
    const uint32_t tableBytes = static_cast<uint32_t>(spec.palette.size() * 4);
    const uint32_t offset = 14 + spec.headerSize + tableBytes;
    std::string s = "BM";
    Put32(s, static_cast<uint32_t>(offset + bitsSize));
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, spec.headerSize);
    Put32(s, static_cast<uint32_t>(spec.width));
    Put32(s, static_cast<uint32_t>(spec.topDown ? -spec.height : spec.height));
    Put16(s, 1);
    Put16(s, static_cast<uint16_t>(spec.bpp));
    Put32(s, compression);
    Put32(s, static_cast<uint32_t>(bitsSize));
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, spec.colorsUsed);
    Put32(s, 0);
    s.append(spec.headerSize - 40, '\0');  // the rest of a larger header
    for (COLORREF c : spec.palette) Put32(s, (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    return s;
}

}  // namespace

std::string BuildBmp(const BmpSpec& spec, const std::function<uint32_t(int, int)>& pixel) {
    const size_t stride = ((static_cast<size_t>(spec.width) * spec.bpp + 31) / 32) * 4;
    std::string bits(stride * spec.height, '\0');
    for (int y = 0; y < spec.height; ++y) {
        const int fileRow = spec.topDown ? y : spec.height - 1 - y;
        auto* row = reinterpret_cast<uint8_t*>(bits.data()) + stride * fileRow;
        for (int x = 0; x < spec.width; ++x) {
            const uint32_t v = pixel(x, y);
            switch (spec.bpp) {
                case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = static_cast<uint8_t>(v); break;
                case 24:
                    row[x * 3] = GetBValue(v);
                    row[x * 3 + 1] = GetGValue(v);
                    row[x * 3 + 2] = GetRValue(v);
                    break;
                case 32: {
                    const uint32_t quad = (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
                    std::memcpy(row + x * 4, &quad, 4);
                    break;
                }
            }
        }
    }
    return Headers(spec, 0, bits.size()) + bits;
}

std::string BuildRle8(int width, int height, const std::vector<COLORREF>& palette,
                      const std::function<uint8_t(int)>& rowIndex) {
    std::string bits;
    for (int fileRow = 0; fileRow < height; ++fileRow) {  // bottom row first
        int left = width;
        while (left > 0) {
            const int run = left > 255 ? 255 : left;
            bits += static_cast<char>(run);
            bits += static_cast<char>(rowIndex(height - 1 - fileRow));
            left -= run;
        }
        bits += '\0';
        bits += fileRow == height - 1 ? '\1' : '\0';  // end of line, end of bitmap
    }
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bpp = 8;
    spec.palette = palette;
    spec.colorsUsed = static_cast<uint32_t>(palette.size());
    return Headers(spec, BI_RLE8, bits.size()) + bits;
}

HBITMAP MakeSection32(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section) return nullptr;
    auto* p = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            p[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return section;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::SelectObjectGuard select(dc.get(), bitmap);
    return ::GetPixel(dc.get(), x, y);
}

}  // namespace skintest
