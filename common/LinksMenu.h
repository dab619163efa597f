// Builds the cascade of owner-drawn popups that mirrors the folder tree below
// Links, and the groups of Groups, for the browser's favorites popup and the
// manager's notification-area menu. Every link and group item takes the next
// command id; the caller's path list gets one full path per id, in id order.
#pragma once

#include "ErrorCodes.h"

#include "FolderUtil.h"
#include "LinkStore.h"
#include "MenuItemData.h"
#include "OwnerDrawMenu.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Ids of the links menu: items take 50001 and up; 10000 is "(empty)".
inline constexpr int kFirstLinkItemId = 50001;
inline constexpr int kEmptyItemId = 10000;
// A menu command reaches its window as a 16-bit id: no item goes beyond.
inline constexpr int kLastLinkItemId = 0xFFFF;
inline constexpr char kEmptyItemText[] = "(empty)";

using MenuList = std::vector<std::unique_ptr<COwnerDrawMenu>>;

class CLinksMenu {
public:
    // The icons stay the caller's. Uses the running program's folder.
    CLinksMenu(HICON link, HICON folder, HICON group);
    CLinksMenu(std::string programFolder, HICON link, HICON folder, HICON group);

    // Frees the last build's item data, sets *nextId to 50000 and appends to
    // menu one popup per folder of Links (cascading), then the top-level links.
    // The new popups go to createdMenus; the caller destroys the last build's
    // menus before building again. Always 0.
    ErrorCode BuildLinksMenu(COwnerDrawMenu* menu, std::vector<std::string>* paths, MenuList* createdMenus,
                             int* nextId);
    // A separator and one item per group file, with the next ids. Always 0.
    ErrorCode BuildGroupsMenu(COwnerDrawMenu* menu, std::vector<std::string>* paths, int* nextId);

    // One item per link file of Links[\relativeFolder]; "(empty)" when the
    // folder holds neither links nor folders.
    void AppendLinkItems(const std::string& relativeFolder, COwnerDrawMenu* menu, std::vector<std::string>* paths,
                         int* nextId);
    // The popups of the folders below parent (relative to Links, at depth
    // *depth), recursively, then parent's own links.
    void AppendFolderMenus(const std::vector<std::string>& folders, const std::string& parent, COwnerDrawMenu* menu,
                           int* depth, MenuList* createdMenus, std::vector<std::string>* paths, int* nextId);

    size_t ItemDataCount() const { return items_.size(); }
    const std::string& ProgramFolder() const { return programFolder_; }

private:
    CMenuItemData* NewItem(std::string text, HICON icon, bool folder);
    // A new small-icon popup appended to parent as a folder item; kept in createdMenus.
    COwnerDrawMenu* NewPopup(COwnerDrawMenu* parent, const std::string& text, MenuList* createdMenus);
    bool TakeId(int* nextId) const;

    CFolderUtil util_;
    std::string programFolder_;
    CLinkStore store_;
    HICON linkIcon_;
    HICON folderIcon_;
    HICON groupIcon_;
    std::vector<std::unique_ptr<CMenuItemData>> items_;
};
