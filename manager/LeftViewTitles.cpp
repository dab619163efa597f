// The tree pane's titles: a link's items follow its new title, typed on the
// Link Options page for the current item, or saved there for any link.
#include "LeftView.h"

#include "ErrorCodes.h"
#include "StringUtil.h"

namespace {

using TreeKind::IsLink;

bool SameLink(const CURLEntry& a, const CURLEntry& b) {
    return EqualsNoCase(a.group, b.group) && EqualsNoCase(a.name, b.name);
}

}  // namespace

int CLeftView::ChangeItemTitle(const std::string& title) {
    HTREEITEM item = current_;
    if (!item) return kErrNone;
    const int kind = Kind(item);
    if (IsLink(kind) || kind == TreeKind::kTemplate) {
        SetItemText(item, title);
    } else if (kind == TreeKind::kMember) {
        // The member's line names the link: its item is found by folders and file, not by title.
        CURLEntry entry;
        if (!GetLinkLocation(item, &entry)) return kErrTreeIntegrity;
        if (HTREEITEM link = FindLinkItem(entry)) SetItemText(link, title);
    } else {
        return kErrNone;
    }
    HTREEITEM parent = TreeView_GetParent(hwnd(), item);
    int index = 0;
    for (HTREEITEM s = TreeView_GetPrevSibling(hwnd(), item); s; s = TreeView_GetPrevSibling(hwnd(), s)) ++index;
    RefreshGroups();
    if (kind == TreeKind::kMember) {
        // The member is selected again at its line.
        HTREEITEM member = TreeView_GetChild(hwnd(), parent);
        for (; member && index > 0; --index) member = TreeView_GetNextSibling(hwnd(), member);
        if (member) TreeView_SelectItem(hwnd(), member);
    }
    return kErrNone;
}

void CLeftView::RetitleLink(const CURLEntry& entry, const std::string& title) {
    if (!hwnd()) return;
    if (entry.kind == CURLEntry::kTemplate) {
        for (HTREEITEM c = TreeView_GetChild(hwnd(), Root()); c; c = TreeView_GetNextSibling(hwnd(), c))
            if (Kind(c) == TreeKind::kTemplatesRoot)
                for (HTREEITEM t = TreeView_GetChild(hwnd(), c); t; t = TreeView_GetNextSibling(hwnd(), t))
                    if (Kind(t) == TreeKind::kTemplate) SetItemText(t, title);
        return;
    }
    if (HTREEITEM item = FindLinkItem(entry)) SetItemText(item, title);
    if (!groupsItem_) return;
    // Members follow their group's lines in order.
    for (HTREEITEM group = TreeView_GetChild(hwnd(), groupsItem_); group;
         group = TreeView_GetNextSibling(hwnd(), group)) {
        if (Kind(group) != TreeKind::kGroup) continue;
        std::vector<std::string> lines;
        if (store_.ReadList(GroupFile(group), &lines) != kErrNone) continue;
        HTREEITEM member = TreeView_GetChild(hwnd(), group);
        for (size_t i = 0; i < lines.size() && member; ++i, member = TreeView_GetNextSibling(hwnd(), member)) {
            CURLEntry named;
            if (ParseMemberLine(lines[i], &named) && SameLink(named, entry)) SetItemText(member, title);
        }
    }
}
