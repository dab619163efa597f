// The tree pane's items: the build, the rebuilds, an item's file or line.
#include "LeftView.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "NimbDoc.h"
#include "RegSettings.h"
#include "StringUtil.h"
#include "resource.h"

#include "fw/file.h"
#include "fw/message_loop.h"
#include "fw/msgbox.h"

namespace {

// The icon of each kind, in image-list order.
constexpr UINT kKindIcons[TreeKind::kCount] = {
    IDR_MAINFRAME,     IDI_TREE_LINKS,     IDI_TREE_GROUPS,  IDI_TREE_LINK,       IDI_TREE_FOLDER,
    IDI_TREE_LINK,     IDI_TREE_FOLDER,    IDI_TREE_OPEN,    IDI_TREE_CUT_FOLDER, IDI_TREE_CUT_OPEN,
    IDI_TREE_CUT_LINK, IDI_TREE_TEMPLATES, IDI_TREE_TEMPLATE};
// The selected image of each kind.
constexpr int kSelectedImage[TreeKind::kCount] = {0, 1, 2, 3, 7, 5, 7, 7, 9, 9, 10, 11, 12};
// The item data of the kinds that do not count.
constexpr LPARAM kKindData[TreeKind::kCount] = {0, 1, 2, 0, 4, 0, 6, 0, 0, 0, 0, 11, 1};

}  // namespace

CLeftView::CLeftView(CNimbDoc& doc)
    : doc_(doc),
      folders_(doc.ProgramFolder()),
      store_(doc.ProgramFolder()),
      programFolder_(doc.ProgramFolder()),
      linksFolder_(programFolder_ + "\\" + AppConstants::kLinks),
      groupsFolder_(programFolder_ + "\\" + AppConstants::kGroups) {}

CLeftView::~CLeftView() {
    // The control goes before the image list it draws from.
    Destroy();
}

bool CLeftView::CreateView(HWND parent, UINT id, const RECT& rc) {
    HWND tree =
        ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, rc.left, rc.top,
                          rc.right - rc.left, rc.bottom - rc.top, parent,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    return tree && Subclass(tree);
}

void CLeftView::OnInitialUpdate() {
    if (initialised_) return;
    const LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE,
                        style | WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                            TVS_SHOWSELALWAYS);
    images_.reset(::ImageList_Create(16, 16, ILC_COLORDDB | ILC_MASK, TreeKind::kCount, 6));
    for (UINT icon : kKindIcons) {
        fw::Icon loaded(static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, 0)));
        ::ImageList_AddIcon(images_.get(), loaded.get());
    }
    TreeView_SetImageList(hwnd(), images_.get(), TVSIL_NORMAL);
    ::SetTimer(hwnd(), kBuildTimer, 1000, nullptr);
    initialised_ = true;
}

void CLeftView::Report(int code, const char* label) {
    doc_.ReportError(code, label);
}

void CLeftView::OnTimer() {
    DWORD hide = 0;
    if (CRegSettings(programFolder_).GetHideProgram(&hide) != kErrNone) hide = 0;
    if (::IsWindowVisible(hwnd()) || hide) FirstBuild();
    if (HWND main = ::GetAncestor(hwnd(), GA_ROOT)) ::SetFocus(main);
}

void CLeftView::FirstBuild() {
    ::KillTimer(hwnd(), kBuildTimer);
    built_ = true;
    BuildTree();
    SelectLinkByPath(doc_.GetStartPath());
    // The toolbar shows the commands of the link selected here without waiting for input.
    fw::RequestIdle();
}

HTREEITEM CLeftView::InsertItem(HTREEITEM parent, const std::string& text, int kind, LPARAM data) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = kind;
    insert.item.iSelectedImage = kSelectedImage[kind];
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(::SendMessageA(hwnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM CLeftView::InsertKindItem(HTREEITEM parent, const std::string& text, int kind) {
    return InsertItem(parent, text, kind, kKindData[kind]);
}

void CLeftView::DisableLabelEditing() {
    const LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    if (style & TVS_EDITLABELS) ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style & ~TVS_EDITLABELS);
}

void CLeftView::EnableLabelEditing() {
    // Items below the root are edited in place; the editing step takes it away while they must not be.
    const LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    if (!(style & TVS_EDITLABELS)) ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style | TVS_EDITLABELS);
}

void CLeftView::BuildTree() {
    // Wine's tree control repaints on every insert unless redraw is off.
    ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    HTREEITEM root = InsertItem(nullptr, AppConstants::kProductName, TreeKind::kRoot, 0);
    EnableLabelEditing();
    linksItem_ = InsertItem(root, AppConstants::kLinks, TreeKind::kLinksRoot, kKindData[TreeKind::kLinksRoot]);
    groupsItem_ = InsertItem(root, AppConstants::kGroups, TreeKind::kGroupsRoot, kKindData[TreeKind::kGroupsRoot]);
    HTREEITEM templates =
        InsertItem(root, AppConstants::kTemplates, TreeKind::kTemplatesRoot, kKindData[TreeKind::kTemplatesRoot]);

    std::vector<std::string> walk;
    folders_.ListSubfolders(linksFolder_, &walk);
    std::vector<std::pair<std::string, HTREEITEM>> folderItems;
    for (const std::string& full : walk) {
        std::string relative;
        folders_.MakeRelativePath(full, &relative);
        const size_t cut = relative.rfind('\\');
        HTREEITEM parent = linksItem_;
        if (cut != std::string::npos) {
            const std::string parentPath = relative.substr(0, cut);
            for (auto& [path, item] : folderItems)
                if (path == parentPath) parent = item;
        }
        HTREEITEM item = InsertItem(parent, relative.substr(cut == std::string::npos ? 0 : cut + 1), TreeKind::kFolder,
                                    kKindData[TreeKind::kFolder]);
        folderItems.emplace_back(relative, item);
    }
    for (auto& [path, item] : folderItems) CreateURLItem(path, item, true);
    CreateURLItem("", linksItem_, true);
    ConstructNimbGroups();
    InsertItem(templates, AppConstants::kDefaultTemplateTitle, TreeKind::kTemplate, kKindData[TreeKind::kTemplate]);

    TreeView_SelectItem(hwnd(), root);
    TreeView_Expand(hwnd(), root, TVE_EXPAND);
    TreeView_Expand(hwnd(), linksItem_, TVE_EXPAND);
    TreeView_Expand(hwnd(), groupsItem_, TVE_EXPAND);
    ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void CLeftView::CreateURLItem(const std::string& folder, HTREEITEM parent, bool report) {
    const std::string path = folder.empty() ? linksFolder_ : linksFolder_ + "\\" + folder;
    std::vector<std::string> files;
    if (folders_.ListFiles(path, AppConstants::kLinkExt, &files) != kErrNone) return;
    for (const std::string& file : files) {
        ++linkCounter_;
        std::string title;
        const int rc = store_.GetLinkTitle(folder, file, &title);
        if (rc != kErrNone) {
            if (report) Report(rc, "CLeftView::CreateURLItem()");
            // Still an item, so the links after it keep their files.
            InsertItem(parent, file, TreeKind::kLink, kUnreadable);
            continue;
        }
        InsertItem(parent, title, TreeKind::kLink, linkCounter_);
    }
}

void CLeftView::InsertMembers(HTREEITEM group, const std::string& groupFile, bool report) {
    std::vector<std::string> lines;
    const int rc = store_.ReadList(groupFile, &lines);
    if (rc != kErrNone) {
        if (report) Report(rc, "CLeftView::ConstructNimbGroups()");
        return;
    }
    for (const std::string& line : lines) {
        CURLEntry entry;
        std::string title;
        if (!ParseMemberLine(line, &entry)) {
            // Never read: the line names no link below Links.
            InsertItem(group, line, TreeKind::kMember, kUnreadable);
            continue;
        }
        const int read = store_.GetLinkTitle(entry.group, entry.name, &title);
        if (read != kErrNone) {
            if (report) Report(read, "CLeftView::ConstructNimbGroups()");
            InsertItem(group, entry.name, TreeKind::kMember, kUnreadable);
            continue;
        }
        InsertItem(group, title, TreeKind::kMember, 0);
    }
}

void CLeftView::ConstructNimbGroups() {
    std::vector<std::string> files;
    if (folders_.ListFiles(groupsFolder_, AppConstants::kGroupExt, &files) != kErrNone) return;
    for (const std::string& file : files) {
        HTREEITEM group = InsertItem(groupsItem_, GroupNameOf(file), TreeKind::kGroup, kKindData[TreeKind::kGroup]);
        InsertMembers(group, groupsFolder_ + "\\" + file, true);
    }
}

bool CLeftView::IsInside(HTREEITEM item, HTREEITEM subtree) const {
    for (HTREEITEM i = item; i; i = TreeView_GetParent(hwnd(), i))
        if (i == subtree) return true;
    return false;
}

void CLeftView::EndTransientStates(HTREEITEM subtree) {
    // A rebuild drops an item still being named: nothing of it is on disk yet.
    const bool editOpen = editing_ || editItem_;
    editItem_ = nullptr;
    newItem_ = false;
    if (editOpen) TreeView_EndEditLabelNow(hwnd(), TRUE);
    editing_ = false;
    if (dragging_) EndDrag();
    if (clipboardSource_ && (!subtree || IsInside(clipboardSource_, subtree))) {
        clipboardSource_ = nullptr;
        copyPending_ = cutPending_ = false;
    }
}

void CLeftView::RefreshTree() {
    // A browser may ask before timer 51 built the tree: that is the first
    // build, and the timer must not build it a second time.
    if (!built_) {
        FirstBuild();
        return;
    }
    EndTransientStates(nullptr);
    current_ = nullptr;
    ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(hwnd());
    linksItem_ = groupsItem_ = nullptr;
    BuildTree();
}

void CLeftView::RefreshItem(HTREEITEM item) {
    if (!item) return;
    fw::WaitCursor wait;
    EndTransientStates(item);
    EnableLabelEditing();
    ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    // One selection change to the item, not one per deleted child that the control would select next.
    HTREEITEM selected = TreeView_GetSelection(hwnd());
    if (selected && selected != item && IsInside(selected, item)) TreeView_SelectItem(hwnd(), item);
    for (HTREEITEM child = TreeView_GetChild(hwnd(), item); child;) {
        HTREEITEM next = TreeView_GetNextSibling(hwnd(), child);
        if (IsInside(current_, child)) current_ = item;
        TreeView_DeleteItem(hwnd(), child);
        child = next;
    }
    if (Kind(item) == TreeKind::kGroup) {
        InsertMembers(item, GroupFile(item), false);
    } else {
        const std::string base = programFolder_ + "\\" + GetItemPath(item);
        std::vector<std::string> walk;
        folders_.ListSubfolders(base, &walk);
        for (const std::string& full : walk) {
            std::string below = full.size() > base.size() ? full.substr(base.size() + 1) : std::string();
            HTREEITEM parent = item;
            size_t start = 0;
            for (size_t cut; (cut = below.find('\\', start)) != std::string::npos; start = cut + 1)
                if (HTREEITEM found = FindChildByName(parent, below.substr(start, cut - start))) parent = found;
            InsertItem(parent, below.substr(start), TreeKind::kFolder, kKindData[TreeKind::kFolder]);
        }
        // The links of the item's folder, then of each folder item below it, depth first.
        std::vector<HTREEITEM> pending{item};
        while (!pending.empty()) {
            HTREEITEM folder = pending.back();
            pending.pop_back();
            std::string relative;
            folders_.MakeRelativePath(programFolder_ + "\\" + GetItemPath(folder), &relative);
            std::vector<HTREEITEM> subfolders;
            for (HTREEITEM c = TreeView_GetChild(hwnd(), folder); c; c = TreeView_GetNextSibling(hwnd(), c))
                if (Kind(c) == TreeKind::kFolder || Kind(c) == TreeKind::kCutFolder) subfolders.push_back(c);
            CreateURLItem(relative, folder, true);
            pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
        }
    }
    ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

int CLeftView::Kind(HTREEITEM item) const {
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    if (!item || !::SendMessageA(hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return -1;
    return tv.iImage;
}

LPARAM CLeftView::Data(HTREEITEM item) const {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!item || !::SendMessageA(hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
    return tv.lParam;
}

std::string CLeftView::Text(HTREEITEM item) const {
    std::string text(1024, '\0');
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text.data();
    tv.cchTextMax = static_cast<int>(text.size());
    if (!item || !::SendMessageA(hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return {};
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

std::string CLeftView::GetItemPath(HTREEITEM item) const {
    std::string path;
    HTREEITEM root = Root();
    for (HTREEITEM i = item; i && i != root; i = TreeView_GetParent(hwnd(), i))
        path = path.empty() ? Text(i) : Text(i) + "\\" + path;
    return path;
}

HTREEITEM CLeftView::FindChildByName(HTREEITEM parent, const std::string& name) const {
    for (HTREEITEM c = TreeView_GetChild(hwnd(), parent); c; c = TreeView_GetNextSibling(hwnd(), c))
        if (EqualsNoCase(Text(c), name)) return c;
    return nullptr;
}

HTREEITEM CLeftView::FindNthLinkChild(HTREEITEM parent, int n) const {
    int count = 0;
    for (HTREEITEM c = TreeView_GetChild(hwnd(), parent); c; c = TreeView_GetNextSibling(hwnd(), c)) {
        const int kind = Kind(c);
        if (kind == TreeKind::kLink || kind == TreeKind::kCutLink) ++count;
        if (count >= n) return c;
    }
    return nullptr;
}

int CLeftView::Position(HTREEITEM item) const {
    int n = 1;
    for (HTREEITEM s = TreeView_GetPrevSibling(hwnd(), item); s; s = TreeView_GetPrevSibling(hwnd(), s)) {
        const int kind = Kind(s);
        if (kind == TreeKind::kLink || kind == TreeKind::kMember || kind == TreeKind::kCutLink) ++n;
    }
    return n;
}

std::string CLeftView::GroupFile(HTREEITEM group) const {
    return groupsFolder_ + "\\" + Text(group) + "." + AppConstants::kGroupExt;
}

std::string CLeftView::FolderOfItem(HTREEITEM item) const {
    return programFolder_ + "\\" + GetItemPath(item);
}

bool CLeftView::GetLinkLocation(HTREEITEM item, CURLEntry* entry) {
    const int kind = Kind(item);
    if (kind == TreeKind::kTemplate) {
        // The template item always stands for Templates\Default.vst, written when missing.
        *entry = CURLEntry("", AppConstants::kDefaultTemplateFile);
        entry->kind = CURLEntry::kTemplate;
        if (!fw::FileExists(store_.EntryPath(*entry))) store_.CreateDefaultTemplate();
        return true;
    }
    const int n = Position(item);
    HTREEITEM parent = TreeView_GetParent(hwnd(), item);
    if (kind == TreeKind::kMember) {
        std::vector<std::string> lines;
        if (store_.ReadList(GroupFile(parent), &lines) != kErrNone || n > static_cast<int>(lines.size())) return false;
        return ParseMemberLine(lines[static_cast<size_t>(n - 1)], entry);
    }
    if (kind != TreeKind::kLink && kind != TreeKind::kCutLink) return false;
    const std::string folder = FolderOfItem(parent);
    std::vector<std::string> files;
    if (folders_.ListFiles(folder, AppConstants::kLinkExt, &files) != kErrNone || n > static_cast<int>(files.size()))
        return false;
    std::string relative;
    folders_.MakeRelativePath(folder, &relative);
    *entry = CURLEntry(relative, files[static_cast<size_t>(n - 1)]);
    return true;
}

void CLeftView::SelectLinkByPath(const std::string& path) {
    if (path.empty()) return;
    CURLEntry entry;
    HTREEITEM folder = linksItem_;
    bool found = store_.SplitLinkPath(path, &entry) == kErrNone && folder;
    // Down the folder items by name, to the link's own folder.
    for (size_t start = 0; found && !entry.group.empty();) {
        const size_t cut = entry.group.find('\\', start);
        folder = FindChildByName(folder, entry.group.substr(start, cut == std::string::npos ? cut : cut - start));
        found = folder != nullptr;
        if (cut == std::string::npos) break;
        start = cut + 1;
    }
    int position = 0;
    if (found) {
        std::vector<std::string> files;
        folders_.ListFiles(FolderOfItem(folder), AppConstants::kLinkExt, &files);
        for (size_t i = 0; i < files.size() && !position; ++i)
            if (EqualsNoCase(files[i], entry.name)) position = static_cast<int>(i) + 1;
    }
    HTREEITEM item = position ? FindNthLinkChild(folder, position) : nullptr;
    if (!item) {
        fw::ShowMessageBox("An internal error has occurred", MB_OK, hwnd());
        return;
    }
    TreeView_SelectItem(hwnd(), item);
}
