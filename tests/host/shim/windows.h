// Host builds only. Some headers of the pure readers include <windows.h> for
// a platform type or two; this gives exactly those types, nothing else.
#pragma once

#include <cstdint>

typedef long LONG;
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
