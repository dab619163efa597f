#include "LinksMenu.h"

#include "AppConstants.h"
#include "ErrorCodes.h"

#include "fw/file.h"
#include "fw/handles.h"

#include <algorithm>

namespace {

bool HasSubfolder(const std::string& folder) {
    WIN32_FIND_DATAA data;
    fw::FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find) return false;
    do {
        const char* n = data.cFileName;
        const bool dot = n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !dot) return true;
    } while (::FindNextFileA(find.get(), &data));
    return false;
}

bool HasFoldersBelow(const std::vector<std::string>& folders, const std::string& path) {
    const std::string prefix = path + "\\";
    return std::any_of(folders.begin(), folders.end(),
                       [&prefix](const std::string& f) { return f.compare(0, prefix.size(), prefix) == 0; });
}

}  // namespace

CLinksMenu::CLinksMenu(HICON link, HICON folder, HICON group)
    : programFolder_(util_.ProgramFolder()), store_(programFolder_), linkIcon_(link), folderIcon_(folder),
      groupIcon_(group) {}

CLinksMenu::CLinksMenu(std::string programFolder, HICON link, HICON folder, HICON group)
    : util_(std::move(programFolder)), programFolder_(util_.ProgramFolder()), store_(programFolder_),
      linkIcon_(link), folderIcon_(folder), groupIcon_(group) {}

CMenuItemData* CLinksMenu::NewItem(std::string text, HICON icon, bool folder) {
    auto item = std::make_unique<CMenuItemData>();
    item->text = std::move(text);
    item->largeIcon = icon;
    item->smallIcon = icon;
    item->folder = folder;
    items_.push_back(std::move(item));
    return items_.back().get();
}

COwnerDrawMenu* CLinksMenu::NewPopup(COwnerDrawMenu* parent, const std::string& text, MenuList* createdMenus) {
    auto popup = std::make_unique<COwnerDrawMenu>();
    popup->SetLargeIcons(false);
    popup->CreatePopup();
    parent->AppendOwnerDrawItem(popup.get(), NewItem(text, folderIcon_, true));
    createdMenus->push_back(std::move(popup));
    return createdMenus->back().get();
}

bool CLinksMenu::TakeId(int* nextId) const {
    if (*nextId >= kLastLinkItemId) return false;
    ++*nextId;
    return true;
}

ErrorCode CLinksMenu::BuildLinksMenu(COwnerDrawMenu* menu, std::vector<std::string>* paths, MenuList* createdMenus,
                                     int* nextId) {
    items_.clear();  // the last build's menus are gone by now
    std::vector<std::string> walk;
    util_.ListSubfolders(util_.LinksFolder(), &walk);
    *nextId = kFirstLinkItemId - 1;

    size_t pos = 0;
    while (pos < walk.size()) {
        std::string top;
        util_.MakeRelativePath(walk[pos++], &top);
        COwnerDrawMenu* popup = NewPopup(menu, top, createdMenus);
        std::vector<std::string> below;
        util_.MergeFolderLists(walk, top, &pos, &below);
        if (below.empty()) {
            AppendLinkItems(top, popup, paths, nextId);
        } else {
            int depth = 0;
            AppendFolderMenus(below, top, popup, &depth, createdMenus, paths, nextId);
        }
    }
    AppendLinkItems(std::string(), menu, paths, nextId);
    return kErrNone;
}

void CLinksMenu::AppendFolderMenus(const std::vector<std::string>& folders, const std::string& parent,
                                   COwnerDrawMenu* menu, int* depth, MenuList* createdMenus,
                                   std::vector<std::string>* paths, int* nextId) {
    ++*depth;
    std::vector<std::string> children;
    CFolderUtil::CollectChildFolders(folders, *depth, parent, &children);
    // Each child is looked up under its own parent, so folders of the same
    // name in different branches never take each other's place.
    for (const std::string& child : children) {
        const std::string path = parent + "\\" + child;
        COwnerDrawMenu* popup = NewPopup(menu, child, createdMenus);
        if (HasFoldersBelow(folders, path)) {
            int childDepth = *depth;
            AppendFolderMenus(folders, path, popup, &childDepth, createdMenus, paths, nextId);
        } else {
            AppendLinkItems(path, popup, paths, nextId);
        }
    }
    AppendLinkItems(parent, menu, paths, nextId);
}

void CLinksMenu::AppendLinkItems(const std::string& relativeFolder, COwnerDrawMenu* menu,
                                 std::vector<std::string>* paths, int* nextId) {
    const std::string folder =
        relativeFolder.empty() ? util_.LinksFolder() : util_.LinksFolder() + "\\" + relativeFolder;
    std::vector<std::string> files;
    util_.ListFiles(folder, AppConstants::kLinkExt, &files);
    for (const std::string& file : files) {
        if (!TakeId(nextId)) break;
        std::string title;  // empty when the file cannot be read
        store_.GetLinkTitle(relativeFolder, file, &title);
        menu->AppendOwnerDrawItem(static_cast<UINT>(*nextId), NewItem(std::move(title), linkIcon_, false));
        paths->push_back(folder + "\\" + file);
    }
    if (files.empty() && !HasSubfolder(folder)) menu->AppendText(kEmptyItemId, kEmptyItemText, MF_GRAYED);
}

ErrorCode CLinksMenu::BuildGroupsMenu(COwnerDrawMenu* menu, std::vector<std::string>* paths, int* nextId) {
    menu->AppendSeparator();
    const std::string folder = programFolder_ + AppConstants::kGroupsSub;
    std::vector<std::string> files;
    util_.ListFiles(folder, AppConstants::kGroupExt, &files);
    for (const std::string& file : files) {
        if (!TakeId(nextId)) break;
        paths->push_back(folder + "\\" + file);
        menu->AppendOwnerDrawItem(static_cast<UINT>(*nextId),
                                  NewItem(file.substr(0, file.rfind('.')), groupIcon_, false));
    }
    if (files.empty()) menu->AppendText(kEmptyItemId, kEmptyItemText, MF_GRAYED);
    return kErrNone;
}
