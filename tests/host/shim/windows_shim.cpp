#include "windows.h"

#include <cstring>

int MultiByteToWideChar(UINT, DWORD, const char* text, int length, WCHAR* wide, int wideLength) {
    const std::size_t n = length < 0 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
    if (wideLength == 0) return static_cast<int>(n);
    if (n > static_cast<std::size_t>(wideLength)) return 0;
    for (std::size_t i = 0; i < n; ++i) wide[i] = static_cast<WCHAR>(static_cast<unsigned char>(text[i]));
    return static_cast<int>(n);
}

int CompareStringOrdinal(const WCHAR* a, int aLength, const WCHAR* b, int bLength, BOOL ignoreCase) {
    auto fold = [ignoreCase](WCHAR c) -> WCHAR {
        if (!ignoreCase) return c;
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<WCHAR>(c - 0x20);
        if (c == 0xFF) return 0x178;
        return c;
    };
    for (int i = 0; i < aLength && i < bLength; ++i) {
        const WCHAR x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    return aLength == bLength ? CSTR_EQUAL : (aLength < bLength ? CSTR_LESS_THAN : CSTR_GREATER_THAN);
}
