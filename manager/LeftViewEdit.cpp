// The tree pane's editing: new folders, groups and links named in place,
// renames, title changes from the Link Options page, and deletes behind the
// confirmation dialog, with the group lines kept in step. The disk changes
// first; the tree and the group lines follow only what succeeded.
#include "AppConstants.h"
#include "ConfirmDlg.h"
#include "ErrorCodes.h"
#include "LeftView.h"
#include "NimbDoc.h"
#include "RegSettings.h"
#include "StringUtil.h"
#include "tree/GroupFiles.h"
#include "tree/TreeEditRules.h"

#include "fw/file.h"
#include "fw/msgbox.h"

#include <algorithm>

namespace {

constexpr char kNewLinkText[] = "New Item";
constexpr char kEmptyNameText[] = "You must type a filename";
constexpr char kDuplicateText[] =
    "Cannot rename New Folder.  A folder with the name you specified already exists. Specify a different filename";
constexpr char kBadNameText[] =
    "A folder name cannot contain any of the characters \\ / : * ? \" < > | or control characters, cannot be "
    "\".\" or \"..\", end with a period or a blank, be a device name such as CON or NUL, or be longer than "
    "200 characters.";
constexpr char kReferencedText[] =
    "There are one or more links in the group of the item you want to delete.  Are you should you want to delete "
    "this item";
constexpr char kNormalDeleteText[] = "\nAre you sure that you want to delete this item";

using TreeKind::IsFolder;
using TreeKind::IsLink;

}  // namespace

void CLeftView::SetItemText(HTREEITEM item, const std::string& text) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(hwnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void CLeftView::SetItemKind(HTREEITEM item, int kind) {
    static constexpr int kSelected[TreeKind::kCount] = {0, 1, 2, 3, 7, 5, 7, 7, 9, 9, 10, 11, 12};
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = kind;
    tv.iSelectedImage = kSelected[kind];
    ::SendMessageA(hwnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void CLeftView::RestoreClipboardImage() {
    if (!cutPending_ || !clipboardSource_) return;
    const int kind = Kind(clipboardSource_);
    if (kind == TreeKind::kCutLink) SetItemKind(clipboardSource_, TreeKind::kLink);
    if (kind == TreeKind::kCutFolder) SetItemKind(clipboardSource_, TreeKind::kFolder);
}

void CLeftView::OnEditCut() {
    RestoreClipboardImage();
    clipboardSource_ = current_;
    const int kind = Kind(current_);
    SetItemKind(current_, IsLink(kind) ? TreeKind::kCutLink : TreeKind::kCutFolder);
    copyPending_ = false;
    cutPending_ = true;
}

void CLeftView::OnEditCopy() {
    RestoreClipboardImage();
    clipboardSource_ = current_;
    copyPending_ = true;
    cutPending_ = false;
}

std::string CLeftView::EditText() const {
    HWND edit = TreeView_GetEditControl(hwnd());
    if (!edit) return {};
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CLeftView::OnLButtonDown(LPARAM lParam) {
    OnPress(lParam);
    editing_ = false;
    // A click on a selected folder or group names it anew; other names are not edited by clicking.
    const int kind = Kind(dragItem_);
    if (kind == TreeKind::kFolder || kind == TreeKind::kGroup)
        EnableLabelEditing();
    else
        DisableLabelEditing();
}

void CLeftView::StartLabelEdit(HTREEITEM item) {
    EnableLabelEditing();
    if (TreeView_EditLabel(hwnd(), item)) return;
    // The control refused to edit: the edit ends at once, a new item under its proposed name.
    editItem_ = item;
    OnEndLabelEdit(item, true);
}

void CLeftView::OnAddFolder() {
    HTREEITEM parent = TreeView_GetSelection(hwnd());
    if (!parent) return;
    editing_ = true;
    newItem_ = true;
    std::vector<std::string> taken;
    for (HTREEITEM c = TreeView_GetChild(hwnd(), parent); c; c = TreeView_GetNextSibling(hwnd(), c))
        if (const int k = Kind(c); IsFolder(k) || k == TreeKind::kGroup) taken.push_back(Text(c));
    const int kind = GetItemPath(parent) == AppConstants::kGroups ? TreeKind::kGroup : TreeKind::kFolder;
    HTREEITEM item = InsertKindItem(parent, TreeEdit::ProposeFolderName(taken), kind);
    current_ = item;
    TreeView_Expand(hwnd(), parent, TVE_EXPAND);
    TreeView_SelectItem(hwnd(), item);
    StartLabelEdit(item);
}

void CLeftView::OnAddLink() {
    HTREEITEM parent = TreeView_GetSelection(hwnd());
    const int parentKind = Kind(parent);
    if (parentKind != TreeKind::kLinksRoot && parentKind != TreeKind::kFolder) return;
    editing_ = true;
    newItem_ = true;
    ++linkCounter_;
    HTREEITEM item = InsertItem(parent, kNewLinkText, TreeKind::kLink, linkCounter_);
    current_ = item;
    TreeView_Expand(hwnd(), parent, TVE_EXPAND);
    TreeView_SelectItem(hwnd(), item);
    StartLabelEdit(item);
}

void CLeftView::OnRenameFolder() {
    if (current_) StartLabelEdit(current_);
}

void CLeftView::OnBeginLabelEdit(HTREEITEM item) {
    editing_ = true;
    current_ = TreeView_GetSelection(hwnd());
    editItem_ = item;
}

void CLeftView::OnEndLabelEdit(HTREEITEM item, bool cancelled) {
    // Wine sends the end again when a box takes the focus from the edit: one edit, one end.
    if (!item || item != editItem_) return;
    editItem_ = nullptr;
    editing_ = false;
    current_ = item;
    const std::string oldText = Text(item);
    // Escape keeps an existing item's name; a new item is then made under its proposed one.
    std::string newText = cancelled ? oldText : EditText();
    if (newText.empty()) {
        if (newItem_) fw::ShowMessageBox(kEmptyNameText, MB_OK, hwnd());
        newText = oldText;
    }
    const int kind = Kind(item);
    HTREEITEM parent = TreeView_GetParent(hwnd(), item);
    if (kind == TreeKind::kLink || kind == TreeKind::kMember || kind == TreeKind::kCutLink) {
        const bool wasNew = newItem_;
        const std::string newFile = EndLinkEdit(item, newText);
        RestoreClipboardImage();
        copyPending_ = cutPending_ = false;
        if (Kind(parent) == TreeKind::kGroup) {
            // A member: its line keeps its place among the group's children.
            int index = 0;
            for (HTREEITEM s = TreeView_GetPrevSibling(hwnd(), item); s; s = TreeView_GetPrevSibling(hwnd(), s))
                ++index;
            CURLEntry entry;
            if (GetLinkLocation(item, &entry))
                if (HTREEITEM link = FindLinkItem(entry)) SetItemText(link, newText);
            RefreshGroups();
            HTREEITEM member = TreeView_GetChild(hwnd(), parent);
            for (; member && index > 0; --index) member = TreeView_GetNextSibling(hwnd(), member);
            if (member) TreeView_SelectItem(hwnd(), member);
        } else {
            CURLEntry entry;
            const bool located = !wasNew && item == TreeView_GetSelection(hwnd()) && GetLinkLocation(item, &entry);
            RefreshItem(parent);
            RefreshGroups();
            // The link is found again by its file, never by its place or title.
            if (!newFile.empty())
                SelectLinkFile(parent, newFile);
            else if (located)
                SelectLinkFile(parent, entry.name);
        }
        DisableLabelEditing();
        return;
    }
    if (kind != TreeKind::kGroup && !IsFolder(kind)) return;
    std::string finalText;
    if (!EndFolderEdit(item, kind, oldText, newText, &finalText)) return;
    RestoreClipboardImage();
    copyPending_ = cutPending_ = false;
    if (kind == TreeKind::kGroup) {
        SetItemText(item, finalText);
    } else {
        RefreshItem(parent);
        if (HTREEITEM again = FindChildByName(parent, finalText)) TreeView_SelectItem(hwnd(), again);
    }
    DisableLabelEditing();
}

bool CLeftView::EndFolderEdit(HTREEITEM item, int kind, const std::string& oldText, std::string newText,
                              std::string* finalText) {
    const bool isNew = newItem_;
    HTREEITEM parent = TreeView_GetParent(hwnd(), item);
    const std::string parentPath = GetItemPath(parent);
    if (newText == oldText && !isNew) return false;

    // Typed names become paths: a name that would leave its folder or that the file system refuses is not taken.
    auto fullPathOf = [&](const std::string& name) {
        return kind == TreeKind::kGroup ? groupsFolder_ + "\\" + name + "." + AppConstants::kGroupExt
                                        : programFolder_ + "\\" + parentPath + "\\" + name;
    };
    if (newText != oldText && (TreeEdit::CheckFolderName(newText) != TreeEdit::NameCheck::kOk ||
                               !TreeEdit::FitsPathLimit(fullPathOf(newText)))) {
        fw::ShowMessageBox(kBadNameText, MB_OK, hwnd());
        if (!isNew) return false;
        newText = oldText;
    }
    std::vector<std::string> siblings;
    for (HTREEITEM c = TreeView_GetChild(hwnd(), parent); c; c = TreeView_GetNextSibling(hwnd(), c))
        if (const int k = Kind(c); IsFolder(k) || k == TreeKind::kGroup) siblings.push_back(Text(c));
    if (TreeEdit::IsDuplicateName(siblings, oldText, newText)) {
        fw::ShowMessageBox(kDuplicateText, MB_OK, hwnd());
        if (!isNew) return false;
        newText = oldText;
    }

    int rc = kErrNone;
    if (kind == TreeKind::kGroup) {
        folders_.CreatePath(programFolder_, AppConstants::kGroups);
        if (isNew) {
            // CREATE_NEW: a group file that is already there keeps its lines.
            if (fw::CreateFileAtomic(fullPathOf(newText), "") != fw::CreateResult::kOk) rc = kErrAddFolder;
        } else if (!::MoveFileA(fullPathOf(oldText).c_str(), fullPathOf(newText).c_str())) {
            rc = kErrAddFolder;
        }
    } else if (isNew) {
        if (!::CreateDirectoryA(fullPathOf(newText).c_str(), nullptr)) rc = kErrAddFolder;
    } else if (!::MoveFileA(fullPathOf(oldText).c_str(), fullPathOf(newText).c_str())) {
        rc = kErrAddFolder;
    }
    newItem_ = false;
    if (rc != kErrNone) {
        Report(rc, "CLeftView::OnEndLabelEdit()");
        // A new group that could not be made has nothing on disk; a folder's parent is rebuilt from the disk.
        if (isNew && kind == TreeKind::kGroup) {
            doc_.ClearSelection();
            TreeView_DeleteItem(hwnd(), item);
        } else if (kind != TreeKind::kGroup) {
            RefreshItem(parent);
        }
        DisableLabelEditing();
        return false;
    }
    // Only a folder that was there before has member lines to follow it.
    if (!isNew && kind != TreeKind::kGroup)
        Report(UpdateGroupReferences(kind, parentPath + "\\" + oldText, parentPath + "\\" + newText),
               "CLeftView::UpdateGroupReferences()");
    *finalText = newText;
    return true;
}

std::string CLeftView::EndLinkEdit(HTREEITEM item, const std::string& newText) {
    std::string newFile;
    if (newItem_) {
        newItem_ = false;
        HTREEITEM parent = TreeView_GetParent(hwnd(), item);
        std::string group;
        folders_.MakeRelativePath(FolderOfItem(parent), &group);
        CURLEntry templ("", AppConstants::kDefaultTemplateFile);
        templ.kind = CURLEntry::kTemplate;
        std::unique_ptr<CURLObject> record;
        const int loaded = store_.LoadURLObject(templ, &record);
        // A missing template gives the default record; a damaged one is reported and the default used.
        if (loaded != kErrNone && loaded != kErrOpenResourceFile) Report(loaded, "CLeftView::OnEndLabelEdit()");
        if (!record) record = std::make_unique<CURLObject>();
        record->link.title = newText;
        // A fresh number, written only where no file is: no link is overwritten.
        if (const int rc = store_.AddURLObject(group, *record, &newFile); rc != kErrNone) {
            Report(rc, "CLeftView::OnEndLabelEdit()");
            newFile.clear();
        }
    } else {
        CURLEntry entry;
        std::unique_ptr<CURLObject> record;
        // A link whose record cannot be read keeps its file as it is.
        if (Data(item) == kUnreadable || !GetLinkLocation(item, &entry)) {
            Report(kErrTreeIntegrity, "CLeftView::OnEndLabelEdit()");
        } else if (const int loaded = store_.LoadURLObject(entry, &record); loaded != kErrNone) {
            Report(loaded, "CLeftView::OnEndLabelEdit()");
        } else if (record->link.title != newText) {
            record->link.title = newText;
            Report(store_.SaveURLObject(entry, *record), "CLeftView::OnEndLabelEdit()");
        }
    }
    doc_.ClearSelection();
    return newFile;
}

bool CLeftView::SelectLinkFile(HTREEITEM parent, const std::string& name) {
    std::vector<std::string> files;
    folders_.ListFiles(FolderOfItem(parent), AppConstants::kLinkExt, &files);
    for (size_t i = 0; i < files.size(); ++i) {
        if (!EqualsNoCase(files[i], name)) continue;
        HTREEITEM item = FindNthLinkChild(parent, static_cast<int>(i) + 1);
        if (!item || !IsLink(Kind(item))) return false;
        TreeView_SelectItem(hwnd(), item);
        return true;
    }
    return false;
}

HTREEITEM CLeftView::FindLinkItem(const CURLEntry& entry) const {
    HTREEITEM folder = linksItem_;
    for (size_t start = 0; folder && !entry.group.empty();) {
        const size_t cut = entry.group.find('\\', start);
        folder = FindChildByName(folder, entry.group.substr(start, cut == std::string::npos ? cut : cut - start));
        if (cut == std::string::npos) break;
        start = cut + 1;
    }
    if (!folder) return nullptr;
    std::vector<std::string> files;
    folders_.ListFiles(FolderOfItem(folder), AppConstants::kLinkExt, &files);
    for (size_t i = 0; i < files.size(); ++i) {
        if (!EqualsNoCase(files[i], entry.name)) continue;
        HTREEITEM link = FindNthLinkChild(folder, static_cast<int>(i) + 1);
        return link && IsLink(Kind(link)) ? link : nullptr;
    }
    return nullptr;
}

void CLeftView::RefreshGroups() {
    if (!groupsItem_) return;
    for (HTREEITEM g = TreeView_GetChild(hwnd(), groupsItem_); g; g = TreeView_GetNextSibling(hwnd(), g))
        RefreshItem(g);
}

int CLeftView::UpdateGroupReferences(int kind, const std::string& oldPath, const std::string& newPath) {
    const CGroupFiles groups(folders_, store_, groupsFolder_);
    if (kind == TreeKind::kGroup) return kErrNone;  // no line names a file below Groups
    int rc;
    if (IsLink(kind))
        rc = groups.Edit([&](const std::string&, std::vector<std::string>& lines) {
            return TreeEdit::RewriteLinkLines(lines, oldPath, newPath);
        });
    else
        rc = groups.Edit([&](const std::string&, std::vector<std::string>& lines) {
            return TreeEdit::RewriteFolderLines(lines, oldPath, newPath);
        });
    RefreshGroups();
    return rc;
}

int CLeftView::RemoveGroupReferences(int kind, const std::string& path) {
    const CGroupFiles groups(folders_, store_, groupsFolder_);
    // The removed lines' places, per group file: their member items go without reading every member again.
    struct Removal {
        std::string file;
        size_t lineCount;  // before the removal
        std::vector<size_t> places;
    };
    std::vector<Removal> removed;
    std::vector<std::string> written;
    const int rc = groups.Edit(
        [&](const std::string& file, std::vector<std::string>& lines) {
            std::vector<size_t> places;
            std::vector<std::string> kept;
            for (size_t i = 0; i < lines.size(); ++i) {
                const bool goes =
                    IsLink(kind) ? TreeEdit::NamesLink(lines[i], path) : TreeEdit::LiesBelow(lines[i], path);
                if (goes)
                    places.push_back(i);
                else
                    kept.push_back(std::move(lines[i]));
            }
            if (places.empty()) return false;
            removed.push_back({file, lines.size(), std::move(places)});
            lines = std::move(kept);
            return true;
        },
        &written);
    // The group items by name, read once: Wine's tree answers a text request slowly.
    std::vector<std::pair<std::string, HTREEITEM>> groupItems;
    if (!removed.empty() && groupsItem_)
        for (HTREEITEM g = TreeView_GetChild(hwnd(), groupsItem_); g; g = TreeView_GetNextSibling(hwnd(), g))
            groupItems.emplace_back(Text(g), g);
    // Wine's tree lays itself out again after every delete unless redraw is off.
    ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    for (const auto& [file, lineCount, places] : removed) {
        if (std::find(written.begin(), written.end(), file) == written.end()) continue;
        HTREEITEM group = nullptr;
        for (const auto& [name, item] : groupItems)
            if (EqualsNoCase(name, GroupNameOf(file))) group = item;
        if (!group) continue;
        std::vector<HTREEITEM> members;
        for (HTREEITEM c = TreeView_GetChild(hwnd(), group); c; c = TreeView_GetNextSibling(hwnd(), c))
            members.push_back(c);
        // One item per line: otherwise the group is read again whole.
        if (members.size() != lineCount) {
            RefreshItem(group);
            continue;
        }
        for (auto it = places.rbegin(); it != places.rend(); ++it) {
            HTREEITEM member = members[*it];
            if (IsInside(current_, member)) current_ = group;
            TreeView_DeleteItem(hwnd(), member);
        }
    }
    ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    return rc;
}

bool CLeftView::ConfirmDelete(HTREEITEM item, int kind) {
    const CGroupFiles groups(folders_, store_, groupsFolder_);
    bool referenced = false;
    if (IsLink(kind)) {
        CURLEntry entry;
        if (GetLinkLocation(item, &entry)) {
            const std::string line = MemberLineOf(entry);
            referenced = groups.AnyLine([&](const std::string& l) { return TreeEdit::NamesLink(l, line); });
        }
    } else if (IsFolder(kind)) {
        const std::string path = GetItemPath(item);
        referenced = groups.AnyLine([&](const std::string& l) { return TreeEdit::LiesBelow(l, path); });
    }
    CRegSettings settings(programFolder_);
    DWORD hide = 0;
    const int read = referenced ? settings.GetHideGroupItemDeleteDlg(&hide) : settings.GetHideNormalDeleteDlg(&hide);
    if (read == kErrNone && hide) return true;
    CConfirmDlg dialog(::GetAncestor(hwnd(), GA_ROOT), referenced ? kReferencedText : kNormalDeleteText);
    const bool yes = dialog.DoModal() == IDOK;
    const DWORD dontShow = dialog.GetDontShowAgain() ? 1 : 0;
    if (referenced)
        settings.SetHideGroupItemDeleteDlg(dontShow);
    else
        settings.SetHideNormalDeleteDlg(dontShow);
    return yes;
}

void CLeftView::OnDelete() {
    HTREEITEM item = current_;
    if (!item) return;
    const int kind = Kind(item);
    CRegSettings settings(programFolder_);
    DWORD hideNormal = 0, hideGroup = 0;
    if (settings.GetHideNormalDeleteDlg(&hideNormal) != kErrNone) hideNormal = 0;
    if (settings.GetHideGroupItemDeleteDlg(&hideGroup) != kErrNone) hideGroup = 0;
    if (!(hideNormal && hideGroup) && !ConfirmDelete(item, kind)) return;
    // A rebuild while the question was open took the item away.
    if (current_ != item) return;
    RestoreClipboardImage();
    copyPending_ = cutPending_ = false;
    clipboardSource_ = nullptr;
    const int acted = TreeKind::Unmarked(kind);
    bool removeItem = false;
    if (acted == TreeKind::kLink || acted == TreeKind::kMember)
        removeItem = DeleteLinkOrMember(item, acted);
    else if (acted == TreeKind::kFolder || acted == TreeKind::kGroup)
        removeItem = DeleteFolderOrGroup(item, acted);
    if (!removeItem) return;
    // The document forgets the item first, so nothing writes its record back.
    doc_.ClearSelection();
    if (current_ == item) current_ = nullptr;
    TreeView_DeleteItem(hwnd(), item);
}

bool CLeftView::DeleteLinkOrMember(HTREEITEM item, int kind) {
    HTREEITEM parent = TreeView_GetParent(hwnd(), item);
    if (kind == TreeKind::kMember) {
        size_t index = 0;
        for (HTREEITEM s = TreeView_GetPrevSibling(hwnd(), item); s; s = TreeView_GetPrevSibling(hwnd(), s)) ++index;
        std::vector<std::string> lines;
        const int read = store_.ReadList(GroupFile(parent), &lines);
        if (read != kErrNone || index >= lines.size()) {
            Report(read != kErrNone ? read : kErrTreeIntegrity, "CLeftView::OnDelete()");
            return false;
        }
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
        const int written = store_.WriteList(GroupFile(parent), lines);
        Report(written, "CLeftView::OnDelete()");
        return written == kErrNone;
    }
    CURLEntry entry;
    if (!GetLinkLocation(item, &entry)) {
        Report(kErrTreeIntegrity, "CLeftView::OnDelete()");
        return false;
    }
    if (const int rc = store_.DeleteURLObject(entry); rc != kErrNone) {
        Report(rc, "CLeftView::OnDelete()");
        doc_.ClearSelection();
        RefreshItem(parent);
        return false;
    }
    Report(RemoveGroupReferences(TreeKind::kLink, MemberLineOf(entry)), "CLeftView::OnDelete()");
    return true;
}

bool CLeftView::DeleteFolderOrGroup(HTREEITEM item, int kind) {
    const std::string path = GetItemPath(item);
    HTREEITEM parent = TreeView_GetParent(hwnd(), item);
    if (const int rc = folders_.DeleteFolderTree(programFolder_, path, kind); rc != kErrNone) {
        Report(rc, "CLeftView::OnDelete()");
        return false;
    }
    if (kind == TreeKind::kFolder) {
        Report(RemoveGroupReferences(TreeKind::kFolder, path), "CLeftView::OnDelete()");
        // A folder that still holds files of other kinds stays; the rebuild shows what is left.
        if (fw::FolderExists(programFolder_ + "\\" + path)) {
            doc_.ClearSelection();
            RefreshItem(parent);
            return false;
        }
    }
    return true;
}
