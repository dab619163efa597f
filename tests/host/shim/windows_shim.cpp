#include "windows.h"

#include <cstring>

int CompareStringA(LCID, DWORD flags, const char* a, int aLength, const char* b, int bLength) {
    const std::size_t na = aLength < 0 ? std::strlen(a) : static_cast<std::size_t>(aLength);
    const std::size_t nb = bLength < 0 ? std::strlen(b) : static_cast<std::size_t>(bLength);
    auto fold = [flags](char c) {
        return (flags & NORM_IGNORECASE) && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    for (std::size_t i = 0; i < na && i < nb; ++i) {
        const char x = fold(a[i]), y = fold(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    return na == nb ? CSTR_EQUAL : (na < nb ? CSTR_LESS_THAN : CSTR_GREATER_THAN);
}
