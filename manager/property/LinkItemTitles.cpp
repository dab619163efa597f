#include "LinkItemTitles.h"

#include "AppConstants.h"
#include "FolderUtil.h"
#include "LeftView.h"
#include "LinkTreeRules.h"
#include "StringUtil.h"

#include <commctrl.h>

#include <vector>

namespace {

void SetItemText(HWND tree, HTREEITEM item, const std::string& text) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

bool SameLink(const CURLEntry& a, const CURLEntry& b) {
    return EqualsNoCase(a.group, b.group) && EqualsNoCase(a.name, b.name);
}

// The link's item in its folder below Links: the folder items by name, then the link by its place in the listing.
HTREEITEM FindLinkItem(const CLeftView& tree, const std::string& programFolder, const CURLEntry& entry) {
    HTREEITEM folder = tree.LinksItem();
    for (size_t start = 0; folder && !entry.group.empty();) {
        const size_t cut = entry.group.find('\\', start);
        folder = tree.FindChildByName(folder, entry.group.substr(start, cut == std::string::npos ? cut : cut - start));
        if (cut == std::string::npos) break;
        start = cut + 1;
    }
    if (!folder) return nullptr;
    std::string path = programFolder + "\\Links";
    if (!entry.group.empty()) path += "\\" + entry.group;
    std::vector<std::string> files;
    if (CFolderUtil(programFolder).ListFiles(path, AppConstants::kLinkExt, &files) != 0) return nullptr;
    for (size_t i = 0; i < files.size(); ++i)
        if (EqualsNoCase(files[i], entry.name)) return tree.FindNthLinkChild(folder, static_cast<int>(i) + 1);
    return nullptr;
}

}  // namespace

void RetitleLinkItems(CLeftView& tree, const std::string& programFolder, const CURLEntry& entry,
                      const std::string& title) {
    HWND wnd = tree.hwnd();
    if (!wnd) return;
    if (entry.kind == CURLEntry::kTemplate) {
        for (HTREEITEM c = TreeView_GetChild(wnd, tree.Root()); c; c = TreeView_GetNextSibling(wnd, c))
            if (tree.Kind(c) == TreeKind::kTemplatesRoot)
                for (HTREEITEM t = TreeView_GetChild(wnd, c); t; t = TreeView_GetNextSibling(wnd, t))
                    if (tree.Kind(t) == TreeKind::kTemplate) SetItemText(wnd, t, title);
        return;
    }
    if (HTREEITEM item = FindLinkItem(tree, programFolder, entry)) SetItemText(wnd, item, title);
    // Members follow their group's lines in order.
    const CLinkStore store(programFolder);
    for (HTREEITEM group = TreeView_GetChild(wnd, tree.GroupsItem()); group;
         group = TreeView_GetNextSibling(wnd, group)) {
        if (tree.Kind(group) != TreeKind::kGroup) continue;
        std::vector<std::string> lines;
        const std::string file =
            programFolder + "\\" + AppConstants::kGroups + "\\" + tree.Text(group) + "." + AppConstants::kGroupExt;
        if (store.ReadList(file, &lines) != 0) continue;
        HTREEITEM member = TreeView_GetChild(wnd, group);
        for (size_t i = 0; i < lines.size() && member; ++i, member = TreeView_GetNextSibling(wnd, member)) {
            CURLEntry named;
            if (ParseMemberLine(lines[i], &named) && SameLink(named, entry)) SetItemText(wnd, member, title);
        }
    }
}
