// The kinds of the tree's items, which the document and the panes act on too.
#pragma once

namespace TreeKind {
// The image index of an item is its kind.
inline constexpr int kRoot = 0, kLinksRoot = 1, kGroupsRoot = 2, kLink = 3, kFolder = 4, kMember = 5, kGroup = 6,
                     kOpenFolder = 7, kCutFolder = 8, kCutFolderSelected = 9, kCutLink = 10, kTemplatesRoot = 11,
                     kTemplate = 12;
inline constexpr int kCount = 13;
// A link or link folder, marked by Cut or not.
inline constexpr bool IsLink(int kind) {
    return kind == kLink || kind == kCutLink;
}
inline constexpr bool IsFolder(int kind) {
    return kind == kFolder || kind == kCutFolder;
}
// What an item is, whatever its cut mark.
inline constexpr int Unmarked(int kind) {
    return kind == kCutLink ? kLink : kind == kCutFolder ? kFolder : kind;
}
}  // namespace TreeKind
