// The manager's own start switches, read from the raw text after the
// program's name: a quoted "-s" with a link file path, "-o ", and the
// framework's "Embedding" and "Automation" flags of a start by COM.
#pragma once

#include <string>
#include <string_view>

struct StartSwitches {
    std::string startPath;    // the link to select after the first tree build
    bool showAtStart = true;  // cleared by either switch: the window shows whatever "Hide Program" says
};

// A double quote, "-s ", the path and a closing double quote: the path
// (without its quote; a missing closing quote drops nothing; a text too short
// to hold a path gives an empty one). "-o ": shown. Both compared without
// regard to case.
StartSwitches ParseStartSwitches(std::string_view arguments);

// Whether a "-" or "/" flag "Embedding" or "Automation" is given: a start by COM.
bool IsRegistrationStart(std::string_view arguments);

// The window stays hidden only when "Hide Program" is on, no switch was
// given, and the tray icon is there to bring it back.
bool StartsHidden(bool hideProgram, bool showAtStart, bool trayIconShown);
