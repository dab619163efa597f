// An ad's reference-count file at the reader's cap (65,536 families): reads
// and sums it through RcGetTotalRefs, as each Done record's release does
// three times, and parses its bytes alone, next to a raw read plus word sum
// of the same file in the same run, as a ratio. Aim: under 10 ms a parse.
#include "RcFile.h"

#include "fw/handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER freq, t;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

template <typename F>
double MedianMs(int runs, F&& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        times.push_back((Now() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PutWord(std::string& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
}

// Plain Win32: the whole file read, every count added.
std::int64_t RawTotal(const char* path) {
    fw::FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return -1;
    std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return -1;
    std::int64_t total = 0;
    for (std::size_t at = 4; at + 12 <= read; at += 12) {
        std::uint32_t count = 0;
        std::memcpy(&count, bytes.data() + at, 4);
        total += count;
    }
    return total;
}

}  // namespace

int main() {
    std::string bytes;
    PutWord(bytes, kRcMaxEntries);
    for (std::uint32_t i = 0; i < kRcMaxEntries; ++i) {
        PutWord(bytes, 1);
        PutWord(bytes, i % 2 == 0 ? kRcMultiFiles : kRcPartFiles);
        PutWord(bytes, i / 2 * 2654435761u);  // distinct kinds in no order
    }
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof(temp), temp);
    const std::string path = std::string(temp) + "rc-bench-" + std::to_string(::GetCurrentProcessId());
    {
        fw::FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD wrote = 0;
        if (!file || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr))
            return 1;
    }
    std::printf("rc file: %u entries, %zu bytes\n", kRcMaxEntries, bytes.size());

    constexpr int kRuns = 21;
    std::size_t parsed = 0;
    const double parse = MedianMs(kRuns, [&] {
        const auto entries = ParseRc(bytes);
        parsed = entries ? entries->size() : 0;
    });
    std::int64_t total = 0;
    const double reader = MedianMs(kRuns, [&] { total = RcGetTotalRefs(path.c_str()).value_or(-1); });
    std::int64_t rawTotal = 0;
    const double raw = MedianMs(kRuns, [&] { rawTotal = RawTotal(path.c_str()); });
    ::DeleteFileA(path.c_str());
    if (parsed != kRcMaxEntries || total != kRcMaxEntries || rawTotal != total) {
        std::printf("unexpected: parsed %zu, total %lld, raw total %lld\n", parsed, static_cast<long long>(total),
                    static_cast<long long>(rawTotal));
        return 1;
    }
    std::printf("ParseRc of the bytes:            %8.3f ms  (aim: under 10 ms)\n", parse);
    std::printf("RcGetTotalRefs (read and parse): %8.3f ms\n", reader);
    std::printf("raw ReadFile and word sum:       %8.3f ms\n", raw);
    std::printf("ratio reader / raw: %.2f\n", raw > 0 ? reader / raw : 0.0);
    return 0;
}
