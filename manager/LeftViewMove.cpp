// The tree pane's moves and copies: left and right drags with the drop menu,
// Cut, Copy and Paste. Every road ends in CopyItem or MoveItem. A move copies
// first and checks every step; only a whole copy lets the group lines follow
// and the source go, so a failure leaves the disk as it was.
#include "AppConstants.h"
#include "ErrorCodes.h"
#include "LeftView.h"
#include "NimbDoc.h"
#include "StringUtil.h"
#include "resource.h"
#include "tree/GroupFiles.h"
#include "tree/TreeEditRules.h"

#include "fw/file.h"

#include <windowsx.h>

using TreeKind::IsFolder;
using TreeKind::IsLink;
using TreeKind::Unmarked;

namespace {

bool IsFolderTarget(int kind) {
    return kind == TreeKind::kLinksRoot || kind == TreeKind::kFolder;
}

// What a copy made, undone in reverse when a later step fails.
class MadeOnDisk {
public:
    ~MadeOnDisk() {
        if (kept_) return;
        for (auto it = files_.rbegin(); it != files_.rend(); ++it) ::DeleteFileA(it->c_str());
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) ::RemoveDirectoryA(it->c_str());
    }
    void File(std::string path) { files_.push_back(std::move(path)); }
    void Folder(std::string path) { folders_.push_back(std::move(path)); }
    void Keep() { kept_ = true; }

private:
    std::vector<std::string> files_;
    std::vector<std::string> folders_;
    bool kept_ = false;
};

// CopyFile that never replaces a file; a partial copy of its own is removed.
bool CopyNew(const std::string& from, const std::string& to) {
    if (::CopyFileA(from.c_str(), to.c_str(), TRUE)) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) ::DeleteFileA(to.c_str());
    return false;
}

}  // namespace

bool CLeftView::CanDrop(HTREEITEM dragged, HTREEITEM target) const {
    if (!dragged || !target) return false;
    const int d = Kind(dragged);
    const int t = Kind(target);
    const bool kinds = (d == TreeKind::kLink && (IsFolderTarget(t) || t == TreeKind::kGroup)) ||
                       (d == TreeKind::kFolder && IsFolderTarget(t));
    if (!kinds) return false;
    if (d == TreeKind::kFolder && TreeView_GetParent(hwnd(), dragged) == target) return false;
    if (IsInside(target, dragged)) return false;
    return d != TreeKind::kFolder || !FindChildByName(target, Text(dragged));
}

bool CLeftView::CanPaste(HTREEITEM source, HTREEITEM target) const {
    if (!source || !target) return false;
    if (!IsFolderTarget(Kind(target))) return false;
    if (IsInside(target, source)) return false;
    const int s = Kind(source);
    if (FindChildByName(target, Text(source)) &&
        (s == TreeKind::kLink || s == TreeKind::kFolder || s == TreeKind::kCutFolder))
        return false;
    const bool cut = s == TreeKind::kCutFolder || s == TreeKind::kCutLink;
    return !cut || TreeView_GetParent(hwnd(), source) != target;
}

int CLeftView::CopyLink(HTREEITEM source, HTREEITEM target, std::string* newName) {
    CURLEntry entry;
    if (!GetLinkLocation(source, &entry)) return kErrTreeIntegrity;
    const std::string folder = FolderOfItem(target);
    std::string name;
    if (const int rc = folders_.MakeUniqueName(folder, &name); rc != kErrNone) return rc;
    if (!CopyNew(store_.EntryPath(entry), folder + "\\" + name)) return kErrCopyAborted;
    if (newName) *newName = name;
    return kErrNone;
}

int CLeftView::AddToGroup(HTREEITEM source, HTREEITEM group) {
    CURLEntry entry;
    if (!GetLinkLocation(source, &entry)) return kErrTreeIntegrity;
    std::vector<std::string> lines;
    if (const int rc = store_.ReadList(GroupFile(group), &lines); rc != kErrNone) return rc;
    lines.push_back(MemberLineOf(entry));
    return store_.WriteList(GroupFile(group), lines);
}

int CLeftView::CopyFolderTree(HTREEITEM source, HTREEITEM target) {
    const std::string from = FolderOfItem(source);
    const std::string into = FolderOfItem(target);
    // The tree said so already; the disk is asked again, since a copy into itself never ends.
    if (PathStartsWith(into, from)) return kErrTreeIntegrity;
    const std::string to = into + "\\" + Text(source);
    if (::GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES) return kErrCopyAborted;

    std::vector<std::string> walk{from};
    if (const int rc = folders_.ListSubfolders(from, &walk); rc != kErrNone && rc != kErrNoFile) return rc;
    MadeOnDisk made;
    for (const std::string& folder : walk) {
        const std::string copy = to + folder.substr(from.size());
        if (!::CreateDirectoryA(copy.c_str(), nullptr)) return kErrAddFolder;
        made.Folder(copy);
        std::vector<std::string> files;
        const int listed = folders_.ListFiles(folder, AppConstants::kLinkExt, &files);
        if (listed != kErrNone && listed != kErrNoFile) return listed;
        for (const std::string& file : files) {
            if (!CopyNew(folder + "\\" + file, copy + "\\" + file)) return kErrCopyAborted;
            made.File(copy + "\\" + file);
        }
    }
    made.Keep();
    return kErrNone;
}

int CLeftView::CopyItem(HTREEITEM source, HTREEITEM target) {
    const int s = Unmarked(Kind(source));
    const int t = Kind(target);
    if (s == TreeKind::kLink && IsFolderTarget(t)) return CopyLink(source, target, nullptr);
    if (s == TreeKind::kLink && t == TreeKind::kGroup) return AddToGroup(source, target);
    if (s == TreeKind::kFolder && IsFolderTarget(t)) return CopyFolderTree(source, target);
    return kErrNone;
}

int CLeftView::MoveItem(HTREEITEM source, HTREEITEM target, std::string* movedName) {
    const int s = Unmarked(Kind(source));
    if (!IsFolderTarget(Kind(target)) || (s != TreeKind::kLink && s != TreeKind::kFolder)) return kErrNone;
    const std::string targetPath = GetItemPath(target);
    std::string name;
    int lines = kErrNone;
    int removed = kErrNone;
    if (s == TreeKind::kLink) {
        CURLEntry entry;
        if (!GetLinkLocation(source, &entry)) return kErrTreeIntegrity;
        if (FolderOfItem(target) == FolderOfItem(TreeView_GetParent(hwnd(), source))) return kErrTreeIntegrity;
        if (const int rc = CopyLink(source, target, &name); rc != kErrNone) return rc;
        lines = UpdateGroupReferences(TreeKind::kLink, MemberLineOf(entry), targetPath + "\\" + name);
        removed = store_.DeleteURLObject(entry);
    } else {
        const std::string sourcePath = GetItemPath(source);
        name = Text(source);
        if (const int rc = CopyFolderTree(source, target); rc != kErrNone) return rc;
        lines = UpdateGroupReferences(TreeKind::kFolder, sourcePath, targetPath + "\\" + name);
        removed = folders_.DeleteFolderTree(programFolder_, sourcePath, TreeKind::kFolder);
        // Files of other kinds keep their folder: it stays, with what is left in it.
        if (removed == kErrNone && fw::FolderExists(programFolder_ + "\\" + sourcePath)) {
            doc_.ClearSelection();
            RefreshItem(source);
            source = nullptr;
        }
    }
    if (movedName) *movedName = name;
    if (source && removed == kErrNone) {
        // The document forgets the item first, so nothing writes its record back.
        doc_.ClearSelection();
        if (current_ && IsInside(current_, source)) current_ = nullptr;
        TreeView_DeleteItem(hwnd(), source);
    }
    return removed != kErrNone ? removed : lines;
}

void CLeftView::ReselectMovedItem(int kind, HTREEITEM target, const std::string& name) {
    if (!target) return;
    HTREEITEM item = nullptr;
    if (IsLink(kind)) {
        std::vector<std::string> files;
        folders_.ListFiles(FolderOfItem(target), AppConstants::kLinkExt, &files);
        int n = 0;
        for (size_t i = 0; i < files.size() && !n; ++i)
            if (files[i] == name) n = static_cast<int>(i) + 1;
        item = FindNthLinkChild(target, n);
    } else {
        item = FindChildByName(target, name);
    }
    if (item) TreeView_SelectItem(hwnd(), item);
}

fw::Menu CLeftView::LoadEmptyPopup() {
    fw::Menu loaded(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_POPUP_MENU)));
    HMENU popup = loaded ? ::GetSubMenu(loaded.get(), 0) : nullptr;
    if (!popup) return {};
    // The popup leaves the loaded bar: the caller owns it alone.
    ::RemoveMenu(loaded.get(), 0, MF_BYPOSITION);
    fw::Menu menu(popup);
    ::DeleteMenu(popup, 0, MF_BYPOSITION);
    return menu;
}

fw::Menu CLeftView::BuildDropMenu(HTREEITEM dragged, HTREEITEM target) const {
    fw::Menu menu = LoadEmptyPopup();
    if (!menu) return {};
    const bool move = target != TreeView_GetParent(hwnd(), dragged) && Kind(target) != TreeKind::kGroup;
    ::AppendMenuA(menu.get(), MF_STRING | (move ? MF_ENABLED : MF_GRAYED), ID_MOVE_HERE, "Move Here");
    ::AppendMenuA(menu.get(), MF_STRING, ID_COPY_HERE, "Copy Here");
    ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.get(), MF_STRING, ID_DROP_CANCEL, "Cancel");
    return menu;
}

void CLeftView::OnBeginDrag(const NMTREEVIEWA& info) {
    EndDrag();
    if (cutPending_) {
        RestoreClipboardImage();
        cutPending_ = false;
    }
    HTREEITEM item = dragItem_ ? dragItem_ : info.itemNew.hItem;
    const int kind = Kind(item);
    if (kind != TreeKind::kLink && kind != TreeKind::kFolder) {
        EndDrag();
        return;
    }
    dragItem_ = item;
    dragging_ = true;
    dropTarget_ = nullptr;
    judgedTarget_ = nullptr;
    dropAllowed_ = false;
    dragImage_.Begin(fw::MakeTreeItemDragImage(hwnd(), item), hwnd(), info.ptDrag);
    ::SetCapture(hwnd());
}

bool CLeftView::OnMouseMove(LPARAM lParam) {
    if (editing_ || !dragging_) return false;
    TVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    dragImage_.Move(hit.pt);
    if (HTREEITEM item = TreeView_HitTest(hwnd(), &hit)) {
        // The image goes while the highlight is painted, or it would keep a stale background.
        dragImage_.Show(false);
        TreeView_SelectDropTarget(hwnd(), item);
        // Wine's tree never drop-highlights its selected item: then no other item keeps the highlight.
        if (TreeView_GetDropHilight(hwnd()) != item) TreeView_SelectDropTarget(hwnd(), nullptr);
        ::UpdateWindow(hwnd());
        dropTarget_ = item;
        dragImage_.Show(true);
    }
    // The cursor tells what a release would do: it drops on the target. The
    // tree stands still during a drag (a rebuild ends it): one answer per target.
    if (dropTarget_ != judgedTarget_) {
        judgedTarget_ = dropTarget_;
        dropAllowed_ = CanDrop(dragItem_, dropTarget_);
    }
    ::SetCursor(::LoadCursor(nullptr, dropAllowed_ ? IDC_ARROW : IDC_NO));
    return true;
}

void CLeftView::EndDrag() {
    dragImage_.End();
    if (::GetCapture() == hwnd()) ::ReleaseCapture();
    dragging_ = false;
    TreeView_SelectDropTarget(hwnd(), nullptr);
}

void CLeftView::Drop(bool move, bool reselect, const char* label) {
    HTREEITEM dragged = dragItem_;
    HTREEITEM target = dropTarget_;
    const int kind = Kind(dragged);
    std::string name;
    const int rc = move ? MoveItem(dragged, target, &name) : CopyItem(dragged, target);
    EndDrag();
    RefreshItem(target);
    if (reselect) ReselectMovedItem(kind, target, name);
    Report(rc, label);
}

void CLeftView::OnLButtonUp() {
    if (CanDrop(dragItem_, dropTarget_) && dropTarget_ != TreeView_GetParent(hwnd(), dragItem_))
        // A link dropped on a group joins it; anything else moves.
        Drop(Kind(dropTarget_) != TreeKind::kGroup, true, "CLeftView::OnLButtonUp()");
    EndDrag();
}

bool CLeftView::OnRButtonUp() {
    if (!dragging_) return false;
    if (!CanDrop(dragItem_, dropTarget_)) {
        EndDrag();
        return true;
    }
    fw::Menu menu = BuildDropMenu(dragItem_, dropTarget_);
    POINT screen{};
    ::GetCursorPos(&screen);
    // The choice comes back as a command; a dismissed menu leaves the drag open until the next press.
    if (menu) ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
    return true;
}

void CLeftView::OnMoveHere() {
    // A rebuild while the menu was open ended the drag.
    if (dragging_ && CanDrop(dragItem_, dropTarget_) && dropTarget_ != TreeView_GetParent(hwnd(), dragItem_) &&
        Kind(dropTarget_) != TreeKind::kGroup)
        Drop(true, true, "CLeftView::OnMoveHere()");
    EndDrag();
}

void CLeftView::OnCopyHere() {
    if (dragging_ && CanDrop(dragItem_, dropTarget_)) Drop(false, false, "CLeftView::OnCopyHere()");
    EndDrag();
}

void CLeftView::OnDropCancel() { EndDrag(); }

void CLeftView::OnEditPaste() {
    HTREEITEM source = clipboardSource_;
    HTREEITEM target = current_;
    if (!source || !target) return;
    dropTarget_ = target;
    int rc;
    if (copyPending_) {
        rc = CopyItem(source, target);
    } else {
        RestoreClipboardImage();
        cutPending_ = false;
        rc = MoveItem(source, target);
    }
    clipboardSource_ = nullptr;
    copyPending_ = cutPending_ = false;
    RefreshItem(target);
    Report(rc, "CLeftView::OnEditPaste()");
}

void CLeftView::OnDeleteItem(HTREEITEM item) {
    if (item == clipboardSource_) {
        clipboardSource_ = nullptr;
        copyPending_ = cutPending_ = false;
    }
    if (item == dragItem_) dragItem_ = nullptr;
    if (item == dropTarget_) dropTarget_ = nullptr;
    if (item == judgedTarget_) judgedTarget_ = nullptr;
}
