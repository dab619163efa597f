// What the application and its main window hand each other: the start state
// going in, and what must be saved coming out. The window never reaches back
// into the application.
#pragma once

#include "SkinFile.h"
#include "URLObject.h"

#include <windows.h>

#include <string>

struct BrowserStart {
    std::string programFolder;
    CURLObject record;          // the address, a link file's window rectangle, the skin name
    bool linkFileMode = false;  // a link file's rectangle counts only then
};

struct BrowserSave {
    RECT windowRect{};  // the normal rectangle, also of a minimised window
    SkinPaths skin;     // the skin in use: a folder skin keeps the window's size
};
