// Prints how long the window shape takes to build, against one plain scan of
// the same pixels. Not a test: run it by hand under Wine.
//   skin_region_bench.exe [repeats]
#include "DibBitmap.h"
#include "SkinBackground.h"
#include "SkinRegion.h"
#include "SkinResources.h"
#include "bmp_builder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The fastest of several runs, in milliseconds.
double Best(int repeats, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

size_t RectCount(HRGN region) {
    if (!region) return 0;
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> data(size);
    ::GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    return reinterpret_cast<RGNDATAHEADER*>(data.data())->nCount;
}

HBITMAP Checkerboard(int width, int height) {
    return skintest::MakeSection32(width, height,
                                   [](int x, int y) { return (x + y) % 2 ? RGB(255, 0, 0) : RGB(0x50, 0x5a, 0x64); });
}

void Measure(const char* name, HBITMAP bitmap, int width, int height, int repeats) {
    const COLORREF key = RGB(255, 0, 0);
    const TransparentRange range = MakeTransparentRange(key, kSkinTolerance);

    // The plain scan: every pixel of the 32-bit copy looked at once.
    CPixels32 pixels;
    const double copy = Best(repeats, [&] { pixels.Load(bitmap, width, height); });
    size_t transparent = 0;
    const double scan = Best(repeats, [&] {
        transparent = 0;
        for (int y = 0; y < pixels.Height(); ++y) {
            const uint32_t* row = pixels.Row(y);
            for (int x = 0; x < pixels.Width(); ++x) transparent += range.Contains(row[x]);
        }
    });

    size_t exactRects = 0, windowRects = 0;
    const double exact = Best(repeats, [&] {
        CPixels32 copyOf;
        copyOf.Load(bitmap, width, height);
        fw::Region region = RegionFromRects(OpaqueRects(copyOf, range));
        exactRects = RectCount(region.get());
    });
    const double window = Best(repeats, [&] {
        fw::Region region = BitmapToWindowRegion(bitmap, width, height, key, kSkinTolerance);
        windowRects = RectCount(region.get());
    });
    std::printf("%-28s %5dx%-5d %8.2f %8.2f %9.2f %7.0fx %8zu %9.2f %7.0fx %7zu\n", name, width, height, copy, scan,
                exact, exact / scan, exactRects, window, window / scan, windowRects);
    (void)transparent;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    CDibBitmap background;
    if (!background.LoadFromResource(IDB_SKIN_BACKGROUND)) {
        std::printf("The built-in background could not be loaded.\n");
        return 1;
    }
    std::printf("Window shape against one plain scan of the same pixels (best of %d runs, ms).\n", repeats);
    std::printf("exact: every run its own rectangle; window: simplified to at most %zu rectangles.\n\n",
                kMaxWindowRegionRects);
    std::printf("%-28s %11s %8s %8s %9s %8s %8s %9s %8s %7s\n", "bitmap", "size", "copy", "scan", "exact", "ratio",
                "rects", "window", "ratio", "rects");
    Measure("built-in background", background.Handle(), 796, 568, repeats);
    Measure("built-in background", background.Handle(), 1600, 1200, repeats);
    HBITMAP small = Checkerboard(796, 568);
    HBITMAP large = Checkerboard(1600, 1200);
    Measure("1-pixel checkerboard", small, 796, 568, repeats);
    Measure("1-pixel checkerboard", large, 1600, 1200, repeats);
    ::DeleteObject(small);
    ::DeleteObject(large);
    std::printf("\nAim: the built-in shape under 20 ms, the checkerboard under 1500 ms.\n");
    return 0;
}
