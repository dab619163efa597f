// The record of one stored link: where its browser window opens, what it
// shows, how it refreshes, which skin it wears and which page font and colours
// the launcher applies. One record per link file and in the template file.
//
// Yes/no fields are kept as the 32-bit values stored: a file's nonzero value
// other than 1 is written back as it was read.
#pragma once

#include "fw/archive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Screen coordinates of a link's browser window (a RECT's layout).
struct URLRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const URLRect&) const = default;
};

struct URLLinkData {
    URLRect windowRect;
    std::string title;
    std::string address = "http://";
    std::string comments;
    // Seconds since 1970 (UTC). The favorites import sets stamp 2 to the
    // shortcut's creation time and stamp 3 to its last access.
    std::int64_t stamp1 = 0;
    std::int64_t stamp2 = 0;
    std::int64_t stamp3 = 0;
    std::int32_t refreshInterval = 300;  // seconds
    std::int32_t refreshEnabled = 0;
    std::int32_t reservedA = 0;
    std::int32_t reservedB = 0;

    // Rectangle, texts (case-sensitive) and refresh; not the stamps or reserved fields.
    bool IsEqual(const URLLinkData& other) const;
};

struct URLFontData {
    std::string faceName = "Arial";
    std::int32_t sizeCode = 103;  // 101 to 105
    std::uint32_t textColor = 0x000000;        // 0x00BBGGRR
    std::uint32_t backgroundColor = 0xFFFFFF;
    std::int32_t useWindowsColors = 1;  // instead of the two colours above

    bool IsEqual(const URLFontData& other) const;
};

struct URLColorData {
    std::int32_t useHoverColor = 0;
    std::uint32_t hoverColor = 0x0000FF;
    std::uint32_t visitedColor = 0x800080;
    std::uint32_t unvisitedColor = 0xFF0000;

    bool IsEqual(const URLColorData& other) const;
};

struct URLOptionData {
    // 0: the browser opens a single chosen link in its own window.
    std::int32_t separateBrowser = 0;
    // Options 2 to 5 have no reader; they are stored and copied unchanged.
    std::int32_t option2 = 1;
    std::int32_t option3 = 1;
    std::int32_t option4 = 0;
    std::int32_t option5 = 1;

    // The separate-browser flag and option 4.
    bool IsEqual(const URLOptionData& other) const;
};

class CURLObject {
public:
    static constexpr std::uint16_t kSchema = 2;

    // All defaults; the three stamps are the time of construction.
    CURLObject();

    static const fw::ArchiveClass& GetRuntimeClass();
    static std::unique_ptr<CURLObject> CreateObject();

    // Fields in file order. Loading throws fw::ArchiveException (kBadSchema
    // for an object schema other than 2, kEndOfFile for a short file).
    void Serialize(fw::ArchiveWriter& ar) const;
    void Serialize(fw::ArchiveReader& ar);

    // True when anything the user can change differs: rectangle, texts,
    // refresh, font, colours, separate-browser flag, option 4 or skin.
    bool DiffersFrom(const CURLObject& other) const;

    URLLinkData link;
    URLFontData font;
    URLColorData colors;
    URLOptionData options;
    std::string skinName;  // a folder of Skins; the built-in "vessa" by default
};

using CURLObjectList = std::vector<CURLObject>;
