// MD5 throughput over a file, measured inside the program: prints the
// seconds and MB/s of CMd5Checksum's named-file form. The script beside it
// times md5sum on the same file and prints the ratio.
#include "Checksum.h"

#include "fw/file.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: md5_bench FILE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(argv[1], GetFileExInfoStandard, &data)) return 1;
    const double bytes = static_cast<double>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
    LARGE_INTEGER freq, start, end;
    ::QueryPerformanceFrequency(&freq);
    double best = 1e30;
    std::uint8_t value[16];
    for (int i = 0; i < runs; ++i) {
        CMd5Checksum md5;
        ::QueryPerformanceCounter(&start);
        if (!md5.OfPath(argv[1], value)) return 1;
        ::QueryPerformanceCounter(&end);
        const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
        if (seconds < best) best = seconds;
    }
    std::printf("md5 ");
    for (const std::uint8_t b : value) std::printf("%02x", b);
    std::printf("\nCMd5Checksum: %.3f s, %.1f MB/s (best of %d)\n", best, bytes / best / 1e6, runs);

    // The same bytes from memory: what reading the file costs beside the transform.
    std::string image;
    if (fw::ReadWholeFile(argv[1], image)) {
        double inMemory = 1e30;
        for (int i = 0; i < runs; ++i) {
            CMd5Checksum md5;
            ::QueryPerformanceCounter(&start);
            md5.OfBuffer(image.data(), image.size(), value);
            ::QueryPerformanceCounter(&end);
            const double seconds =
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
            if (seconds < inMemory) inMemory = seconds;
        }
        std::printf("of which from memory: %.3f s, %.1f MB/s (the rest is reading the file)\n", inMemory,
                    bytes / inMemory / 1e6);
    }
    return 0;
}
