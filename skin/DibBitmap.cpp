#include "DibBitmap.h"

#include "fw/file.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Room for an info header, three bitfield masks and a full colour table.
struct DibInfo {
    BITMAPINFOHEADER header;
    uint32_t tail[3 + 256];
};

}  // namespace

void CDibBitmap::Reset() {
    palette_.reset();
    bitmap_.reset();
    loaded_ = 0;
    width_ = 0;
    height_ = 0;
}

bool CDibBitmap::BuildFrom(const uint8_t* data, const DibLayout& layout) {
    DibInfo info{};
    BITMAPINFOHEADER& h = info.header;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = layout.width;
    h.biHeight = layout.height;  // the section is bottom-up whatever the source was
    h.biPlanes = 1;
    h.biBitCount = layout.bitCount;
    h.biCompression = layout.compression == kDibBitfields ? BI_BITFIELDS : BI_RGB;
    h.biClrUsed = layout.colorsUsed;
    uint32_t* table = info.tail;
    if (layout.compression == kDibBitfields) {
        std::memcpy(info.tail, data + layout.masksOffset, 12);
        table += 3;
    }
    std::memcpy(table, data + layout.colorTableOffset, size_t{4} * layout.colorsPresent);
    for (uint32_t i = 0; i < layout.colorsUsed; ++i) table[i] &= 0x00FFFFFF;

    void* bits = nullptr;
    fw::Bitmap section(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                          nullptr, 0));
    if (!section || !bits) return false;

    const uint8_t* source = data + layout.bitsOffset;
    if (layout.compression == kDibRle8 || layout.compression == kDibRle4) {
        DibInfo packed = info;
        packed.header.biCompression = layout.compression == kDibRle8 ? BI_RLE8 : BI_RLE4;
        packed.header.biSizeImage = static_cast<DWORD>(layout.bitsSize);
        fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
        if (!dc || ::SetDIBits(dc.get(), section.get(), 0, layout.height, source,
                               reinterpret_cast<BITMAPINFO*>(&packed), DIB_RGB_COLORS) <= 0)
            return false;
    } else if (!layout.topDown) {
        std::memcpy(bits, source, layout.bitsSize);
    } else {
        // The platform's loader gets top-down files wrong; turn the rows over here.
        auto* target = static_cast<uint8_t*>(bits);
        for (int32_t row = 0; row < layout.height; ++row)
            std::memcpy(target + layout.stride * row, source + layout.stride * (layout.height - 1 - row),
                        layout.stride);
    }

    std::vector<uint8_t> paletteBytes(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * 256);
    auto* palette = reinterpret_cast<LOGPALETTE*>(paletteBytes.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(layout.colorsUsed);
    for (uint32_t i = 0; i < layout.colorsUsed; ++i) {
        const uint32_t quad = table[i];  // blue, green, red, reserved
        palette->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(quad >> 16), static_cast<BYTE>(quad >> 8),
                                               static_cast<BYTE>(quad), 0};
    }
    fw::Palette made(::CreatePalette(palette));
    if (!made) return false;

    bitmap_ = std::move(section);
    palette_ = std::move(made);
    width_ = layout.width;
    height_ = layout.height;
    loaded_ = 1;
    return true;
}

HBITMAP CDibBitmap::LoadFromFile(const std::string& path, const DibLimits& limits) {
    Reset();
    const uint64_t maxBytes = limits.maxPixels * 4 + 64 * 1024;
    std::string bytes;
    if (fw::ReadFileBytes(path, &bytes, maxBytes) != fw::ReadResult::kOk) return nullptr;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    DibLayout layout;
    if (!ParseBmpFile(data, bytes.size(), limits, &layout)) return nullptr;
    if (!BuildFrom(data, layout)) return nullptr;
    return bitmap_.get();
}

HBITMAP CDibBitmap::LoadFromResource(UINT id, HMODULE module) {
    Reset();
    if (!module) module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!resource) return nullptr;
    HGLOBAL global = ::LoadResource(module, resource);
    const auto* data = static_cast<const uint8_t*>(global ? ::LockResource(global) : nullptr);
    const DWORD size = ::SizeofResource(module, resource);
    if (!data || size < 4) return nullptr;

    uint32_t headerSize = 0;
    std::memcpy(&headerSize, data, 4);
    if (headerSize < kDibInfoHeaderSize) {
        // An old core header: the platform can load it, but there is no table to read.
        bitmap_.reset(static_cast<HBITMAP>(
            ::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        return bitmap_.get();
    }
    DibLayout layout;
    if (!ParsePackedDib(data, size, DibLimits{}, &layout) || !BuildFrom(data, layout)) return nullptr;
    return bitmap_.get();
}

HPALETTE CDibBitmap::SelectPalette(HDC dc, bool background) const {
    if (!palette_ || !dc) return nullptr;
    HPALETTE previous = ::SelectPalette(dc, palette_.get(), background ? TRUE : FALSE);
    ::RealizePalette(dc);
    return previous;
}

void CDibBitmap::StretchDraw(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                             int srcHeight) const {
    if (!loaded_ || !bitmap_ || !dc) return;
    HPALETTE previous = SelectPalette(dc, true);
    fw::MemoryDc memory(::CreateCompatibleDC(dc));
    if (memory) {
        fw::SelectObjectGuard select(memory.get(), bitmap_.get());
        ::StretchBlt(dc, x, y, width + 2, height + 2, memory.get(), srcX, srcY, srcWidth, srcHeight, SRCCOPY);
    }
    if (previous) {
        ::SelectPalette(dc, previous, TRUE);
        ::RealizePalette(dc);
    }
}

void CDibBitmap::DrawScaled(HDC dc, int width, int height) const {
    if (!loaded_ || !bitmap_ || !dc) return;
    HPALETTE previous = SelectPalette(dc, false);
    fw::MemoryDc memory(::CreateCompatibleDC(dc));
    if (memory) {
        fw::SelectObjectGuard select(memory.get(), bitmap_.get());
        const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, -3, -3, width, height, memory.get(), 0, 0, width_, height_, SRCCOPY);
        if (oldMode) ::SetStretchBltMode(dc, oldMode);
    }
    if (previous) {
        ::SelectPalette(dc, previous, FALSE);
        ::RealizePalette(dc);
    }
}
