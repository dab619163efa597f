#include "SkinRegion.h"

#include <algorithm>
#include <cstring>

namespace {

// Rectangles per ExtCreateRegion call.
constexpr size_t kRegionBatch = 256;

// Runs of opaque pixels, row by row: row y's runs are the pairs
// xs[start[y]] .. xs[start[y + 1]] (x0, x1, x0, x1...).
struct RowRuns {
    std::vector<int32_t> xs;
    std::vector<size_t> start;
};

RowRuns ScanRuns(const CPixels32& pixels, const TransparentRange& range) {
    RowRuns runs;
    const int width = pixels.Width();
    runs.start.reserve(static_cast<size_t>(pixels.Height()) + 1);
    for (int y = 0; y < pixels.Height(); ++y) {
        runs.start.push_back(runs.xs.size());
        const uint32_t* row = pixels.Row(y);
        int x = 0;
        while (x < width) {
            while (x < width && range.Contains(row[x])) ++x;
            if (x == width) break;
            const int x0 = x;
            while (x < width && !range.Contains(row[x])) ++x;
            runs.xs.push_back(x0);
            runs.xs.push_back(x);
        }
    }
    runs.start.push_back(runs.xs.size());
    return runs;
}

// Block rows of factor rows each, with runs widened to whole blocks and
// merged: a block is opaque when any pixel in it is.
RowRuns Coarsen(const RowRuns& fine, int width, int factor) {
    RowRuns coarse;
    const size_t rows = fine.start.size() - 1;
    std::vector<std::pair<int32_t, int32_t>> spans;
    std::vector<int32_t> merged;
    for (size_t top = 0; top < rows; top += factor) {
        const size_t bottom = std::min(rows, top + factor);
        spans.clear();
        for (size_t i = fine.start[top]; i < fine.start[bottom]; i += 2) {
            const int32_t x0 = fine.xs[i] / factor * factor;
            const int32_t x1 = std::min<int32_t>(width, (fine.xs[i + 1] + factor - 1) / factor * factor);
            spans.emplace_back(x0, x1);
        }
        std::sort(spans.begin(), spans.end());
        merged.clear();
        for (const auto& [x0, x1] : spans) {
            if (!merged.empty() && x0 <= merged.back()) {
                merged.back() = std::max(merged.back(), x1);
            } else {
                merged.push_back(x0);
                merged.push_back(x1);
            }
        }
        for (size_t y = top; y < bottom; ++y) {
            coarse.start.push_back(coarse.xs.size());
            coarse.xs.insert(coarse.xs.end(), merged.begin(), merged.end());
        }
    }
    coarse.start.push_back(coarse.xs.size());
    return coarse;
}

bool SameRuns(const RowRuns& runs, size_t a, size_t b) {
    const size_t lengthA = runs.start[a + 1] - runs.start[a];
    const size_t lengthB = runs.start[b + 1] - runs.start[b];
    return lengthA == lengthB &&
           std::equal(runs.xs.begin() + runs.start[a], runs.xs.begin() + runs.start[a + 1],
                      runs.xs.begin() + runs.start[b]);
}

// Rows with the same runs as the row above join its band. Stops early once
// more than limit rectangles are needed.
bool BandRects(const RowRuns& runs, size_t limit, std::vector<RECT>* rects) {
    rects->clear();
    const size_t rows = runs.start.size() - 1;
    size_t band = 0;
    for (size_t y = 1; y <= rows; ++y) {
        if (y < rows && SameRuns(runs, band, y)) continue;
        for (size_t i = runs.start[band]; i < runs.start[band + 1]; i += 2) {
            if (rects->size() == limit) return false;
            rects->push_back(RECT{runs.xs[i], static_cast<LONG>(band), runs.xs[i + 1], static_cast<LONG>(y)});
        }
        band = y;
    }
    return true;
}

fw::Region MakeRegion(const RECT* rects, size_t count) {
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(count);
    header->nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bound{0, 0, 0, 0};
    if (count) {
        bound = rects[0];
        for (size_t i = 1; i < count; ++i) {
            bound.left = std::min(bound.left, rects[i].left);
            bound.top = std::min(bound.top, rects[i].top);
            bound.right = std::max(bound.right, rects[i].right);
            bound.bottom = std::max(bound.bottom, rects[i].bottom);
        }
    }
    header->rcBound = bound;
    std::memcpy(data.data() + sizeof(RGNDATAHEADER), rects, count * sizeof(RECT));
    return fw::Region(
        ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace

bool CPixels32::Load(HBITMAP bitmap, int width, int height) {
    section_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    BITMAP info{};
    if (!bitmap || ::GetObjectA(bitmap, sizeof(info), &info) != sizeof(info)) return false;
    if (width <= 0 || height <= 0) {
        width = info.bmWidth;
        height = std::abs(info.bmHeight);
    }
    if (width <= 0 || height <= 0 || static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxRegionPixels)
        return false;

    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top row first
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::Bitmap section(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDc source(::CreateCompatibleDC(nullptr));
    fw::MemoryDc target(::CreateCompatibleDC(nullptr));
    if (!section || !bits || !source || !target) return false;
    {
        fw::SelectObjectGuard selectSource(source.get(), bitmap);
        fw::SelectObjectGuard selectTarget(target.get(), section.get());
        ::SetStretchBltMode(target.get(), COLORONCOLOR);
        const BOOL copied = (width == info.bmWidth && height == std::abs(info.bmHeight))
                                ? ::BitBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY)
                                : ::StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth,
                                               std::abs(info.bmHeight), SRCCOPY);
        if (!copied) return false;
    }
    ::GdiFlush();
    section_ = std::move(section);
    bits_ = static_cast<const uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

TransparentRange MakeTransparentRange(COLORREF transparent, COLORREF tolerance) {
    TransparentRange range{};
    const int colour[3] = {GetRValue(transparent), GetGValue(transparent), GetBValue(transparent)};
    const int spread[3] = {GetRValue(tolerance), GetGValue(tolerance), GetBValue(tolerance)};
    for (int i = 0; i < 3; ++i) {
        range.low[i] = static_cast<uint8_t>(std::max(0, colour[i] - spread[i]));
        range.high[i] = static_cast<uint8_t>(std::min(255, colour[i] + spread[i]));
    }
    return range;
}

std::vector<RECT> OpaqueRects(const CPixels32& pixels, const TransparentRange& range, size_t maxRects) {
    std::vector<RECT> rects;
    RowRuns runs = ScanRuns(pixels, range);
    if (BandRects(runs, maxRects, &rects)) return rects;
    const int largest = std::max(pixels.Width(), pixels.Height());
    for (int factor = 2;; factor *= 2) {
        if (BandRects(Coarsen(runs, pixels.Width(), factor), maxRects, &rects) || factor >= largest) return rects;
    }
}

fw::Region RegionFromRects(const std::vector<RECT>& rects) {
    if (rects.empty()) return fw::Region(::CreateRectRgn(0, 0, 0, 0));
    // Pairwise: a region made of 2^k batches is combined only with one of
    // the same size, so no union grows one rectangle at a time.
    std::vector<std::pair<fw::Region, int>> stack;
    for (size_t first = 0; first < rects.size(); first += kRegionBatch) {
        fw::Region batch = MakeRegion(rects.data() + first, std::min(kRegionBatch, rects.size() - first));
        if (!batch) return {};
        int level = 0;
        while (!stack.empty() && stack.back().second == level) {
            if (::CombineRgn(stack.back().first.get(), stack.back().first.get(), batch.get(), RGN_OR) == ERROR)
                return {};
            batch = std::move(stack.back().first);
            stack.pop_back();
            ++level;
        }
        stack.emplace_back(std::move(batch), level);
    }
    fw::Region result = std::move(stack.back().first);
    stack.pop_back();
    while (!stack.empty()) {
        if (::CombineRgn(result.get(), result.get(), stack.back().first.get(), RGN_OR) == ERROR) return {};
        stack.pop_back();
    }
    return result;
}

fw::Region BitmapToRegion(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance) {
    CPixels32 pixels;
    if (!pixels.Load(bitmap)) return {};
    return RegionFromRects(OpaqueRects(pixels, MakeTransparentRange(transparent, tolerance)));
}

fw::Region BitmapToWindowRegion(HBITMAP bitmap, int width, int height, COLORREF transparent, COLORREF tolerance,
                                size_t maxRects) {
    CPixels32 pixels;
    if (width <= 0 || height <= 0 || !pixels.Load(bitmap, width, height)) return {};
    const std::vector<RECT> rects = OpaqueRects(pixels, MakeTransparentRange(transparent, tolerance), maxRects);
    if (rects.empty()) return {};
    return RegionFromRects(rects);
}
