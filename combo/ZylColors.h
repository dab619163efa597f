// The 16 named colours of the control: its colour list, the names of
// GetColorRefName and GetColorRefForName, and the swatch of each.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>

struct ZylNamedColor {
    const char* name;  // "Fuschia" is the control's own spelling
    COLORREF value;
    UINT swatch;  // bitmap resource, 28 x 13
};

// In the fill order of the colour list.
inline constexpr std::array<ZylNamedColor, 16> kZylColors{{
    {"Black", 0x000000, 205},
    {"Maroon", 0x000080, 206},
    {"Green", 0x008000, 207},
    {"Olive", 0x008080, 208},
    {"Navy", 0x800000, 209},
    {"Purple", 0x800080, 210},
    {"Teal", 0x808000, 211},
    {"Gray", 0x808080, 212},
    {"Silver", 0xC0C0C0, 213},
    {"Red", 0x0000FF, 204},
    {"Lime", 0x00FF00, 214},
    {"Yellow", 0x00FFFF, 215},
    {"Blue", 0xFF0000, 216},
    {"Fuschia", 0xFF00FF, 217},
    {"Aqua", 0xFFFF00, 218},
    {"White", 0xFFFFFF, 219},
}};

// The colour of a name compared exactly, with regard to case; null for any other text.
inline const ZylNamedColor* FindZylColor(std::string_view name) {
    for (const ZylNamedColor& c : kZylColors)
        if (name == c.name) return &c;
    return nullptr;
}
