#include "URLObject.h"

#include "AppConstants.h"

#include <ctime>

bool URLLinkData::IsEqual(const URLLinkData& other) const {
    return windowRect == other.windowRect && title == other.title && address == other.address &&
           comments == other.comments && refreshInterval == other.refreshInterval &&
           refreshEnabled == other.refreshEnabled;
}

bool URLFontData::IsEqual(const URLFontData& other) const {
    return faceName == other.faceName && sizeCode == other.sizeCode && textColor == other.textColor &&
           backgroundColor == other.backgroundColor && useWindowsColors == other.useWindowsColors;
}

bool URLColorData::IsEqual(const URLColorData& other) const {
    return useHoverColor == other.useHoverColor && hoverColor == other.hoverColor &&
           visitedColor == other.visitedColor && unvisitedColor == other.unvisitedColor;
}

bool URLOptionData::IsEqual(const URLOptionData& other) const {
    return separateBrowser == other.separateBrowser && option4 == other.option4;
}

CURLObject::CURLObject() : skinName(AppConstants::kDefaultSkin) {
    const std::int64_t now = std::time(nullptr);
    link.stamp1 = link.stamp2 = link.stamp3 = now;
}

const fw::ArchiveClass& CURLObject::GetRuntimeClass() {
    static constexpr fw::ArchiveClass cls{"CURLObject", kSchema};
    return cls;
}

std::unique_ptr<CURLObject> CURLObject::CreateObject() { return std::make_unique<CURLObject>(); }

// The file order differs from the memory order: refresh enabled before the
// interval, the skin before the font, the Windows-colours flag before the
// two colours.
void CURLObject::Serialize(fw::ArchiveWriter& ar) const {
    ar.WriteInt(link.windowRect.left);
    ar.WriteInt(link.windowRect.top);
    ar.WriteInt(link.windowRect.right);
    ar.WriteInt(link.windowRect.bottom);
    ar.WriteString(link.title);
    ar.WriteString(link.address);
    ar.WriteString(link.comments);
    ar.WriteTime(link.stamp1);
    ar.WriteTime(link.stamp2);
    ar.WriteTime(link.stamp3);
    ar.WriteInt(link.refreshEnabled);
    ar.WriteInt(link.refreshInterval);
    ar.WriteInt(link.reservedA);
    ar.WriteInt(link.reservedB);
    ar.WriteString(skinName);
    ar.WriteString(font.faceName);
    ar.WriteInt(font.sizeCode);
    ar.WriteInt(font.useWindowsColors);
    ar.WriteDword(font.textColor);
    ar.WriteDword(font.backgroundColor);
    ar.WriteInt(colors.useHoverColor);
    ar.WriteDword(colors.hoverColor);
    ar.WriteDword(colors.visitedColor);
    ar.WriteDword(colors.unvisitedColor);
    ar.WriteInt(options.separateBrowser);
    ar.WriteInt(options.option2);
    ar.WriteInt(options.option3);
    ar.WriteInt(options.option4);
    ar.WriteInt(options.option5);
}

void CURLObject::Serialize(fw::ArchiveReader& ar) {
    if (ar.GetObjectSchema() != kSchema)
        throw fw::ArchiveException(fw::ArchiveException::Cause::kBadSchema, "CURLObject schema is not 2");
    link.windowRect.left = ar.ReadInt();
    link.windowRect.top = ar.ReadInt();
    link.windowRect.right = ar.ReadInt();
    link.windowRect.bottom = ar.ReadInt();
    link.title = ar.ReadString();
    link.address = ar.ReadString();
    link.comments = ar.ReadString();
    link.stamp1 = ar.ReadTime();
    link.stamp2 = ar.ReadTime();
    link.stamp3 = ar.ReadTime();
    link.refreshEnabled = ar.ReadInt();
    link.refreshInterval = ar.ReadInt();
    link.reservedA = ar.ReadInt();
    link.reservedB = ar.ReadInt();
    skinName = ar.ReadString();
    font.faceName = ar.ReadString();
    font.sizeCode = ar.ReadInt();
    font.useWindowsColors = ar.ReadInt();
    font.textColor = ar.ReadDword();
    font.backgroundColor = ar.ReadDword();
    colors.useHoverColor = ar.ReadInt();
    colors.hoverColor = ar.ReadDword();
    colors.visitedColor = ar.ReadDword();
    colors.unvisitedColor = ar.ReadDword();
    options.separateBrowser = ar.ReadInt();
    options.option2 = ar.ReadInt();
    options.option3 = ar.ReadInt();
    options.option4 = ar.ReadInt();
    options.option5 = ar.ReadInt();
}

bool CURLObject::DiffersFrom(const CURLObject& other) const {
    return !(link.IsEqual(other.link) && font.IsEqual(other.font) && colors.IsEqual(other.colors) &&
             options.IsEqual(other.options) && skinName == other.skinName);
}
