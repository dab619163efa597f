// Host builds only. Some headers and sources of the pure readers include
// <windows.h> for a few types, one macro and one comparison; this gives
// exactly those (the comparison folds ASCII case only), nothing else.
#pragma once

#include <cstdint>

typedef long LONG;
typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef std::uint8_t BYTE;
typedef DWORD COLORREF;
typedef DWORD LCID;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define NORM_IGNORECASE 0x00000001
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3

int CompareStringA(LCID locale, DWORD flags, const char* a, int aLength, const char* b, int bLength);
