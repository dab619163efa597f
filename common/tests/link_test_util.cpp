#include "link_test_util.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>

namespace {
std::size_t g_largest = 0;
bool g_tracking = false;
}  // namespace

void* operator new(std::size_t size) {
    if (g_tracking && size > g_largest) g_largest = size;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace linktest {

AllocationProbe::AllocationProbe() {
    g_largest = 0;
    g_tracking = true;
}
AllocationProbe::~AllocationProbe() { g_tracking = false; }
std::size_t AllocationProbe::Largest() const { return g_largest; }

std::string FromHex(std::string_view spec) {
    std::string bytes;
    for (size_t i = 0; i < spec.size();) {
        const char c = spec[i];
        if (c == ' ' || c == '\n') {
            ++i;
        } else if (c == '\'') {
            const size_t end = spec.find('\'', i + 1);
            if (end == std::string_view::npos) throw std::invalid_argument("unclosed quote");
            bytes.append(spec.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            if (i + 1 >= spec.size()) throw std::invalid_argument("odd hex digit");
            bytes.push_back(static_cast<char>(std::stoi(std::string(spec.substr(i, 2)), nullptr, 16)));
            i += 2;
        }
    }
    return bytes;
}

std::string ToHex(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof(buf), "%02X ", b);
        out += buf;
    }
    return out;
}

std::string Dword(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    return bytes;
}

std::string GoldenDefaultRecord(std::uint32_t stamp) {
    const std::string s = Dword(stamp);
    return FromHex("FF FF  02 00  0A 00 'CURLObject'"   // new class, schema 2, name
                   "00000000 00000000 00000000 00000000"  // window rectangle
                   "00  07 'http://'  00") +            // title, address, comments
           s + s + s +                                   // stamps 1 to 3
           FromHex("00000000  2C010000"                  // refresh enabled, interval 300
                   "00000000 00000000"                   // reserved A, B
                   "05 'vessa'  05 'Arial'"              // skin, font face
                   "67000000 01000000"                   // size code 103, use Windows colours
                   "00000000 FFFFFF00"                   // text, background colour
                   "00000000 FF000000 80008000 0000FF00" // hover flag, hover, visited, unvisited
                   "00000000 01000000 01000000 00000000 01000000");  // separate, options 2 to 5
}

}  // namespace linktest
