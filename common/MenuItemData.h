// The data behind one owner-drawn item of the links menu.
#pragma once

#include <windows.h>

#include <string>

struct CMenuItemData {
    std::string text;
    HICON largeIcon = nullptr;  // the builder puts the same icon in both fields
    HICON smallIcon = nullptr;
    bool folder = false;  // a folder popup item, not a link or group
};
