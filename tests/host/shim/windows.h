// Host builds only. Some headers and sources of the pure readers include
// <windows.h> for a few types, two macros and the name comparison's calls;
// this gives exactly those, nothing else. The ANSI code page here is
// Latin-1, and the ordinal comparison folds ASCII and Latin-1 letters.
#pragma once

#include <cstdint>

typedef long LONG;
typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef std::uint8_t BYTE;
typedef DWORD COLORREF;
typedef int BOOL;
typedef unsigned int UINT;
typedef wchar_t WCHAR;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

#define CP_ACP 0
#define MAX_PATH 260
#define TRUE 1
#define FALSE 0
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length, WCHAR* wide, int wideLength);
int CompareStringOrdinal(const WCHAR* a, int aLength, const WCHAR* b, int bLength, BOOL ignoreCase);
