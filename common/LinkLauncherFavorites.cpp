// The browser's half of the launcher: the favorites popup and its commands.
#include "LinkLauncher.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "ProgramStart.h"

#include "fw/msgbox.h"

#include <shellapi.h>

namespace {

constexpr char kNoGroupItem[] = "There is no group item to launch";

std::string ManagerMissingText() {
    const std::string exe = AppConstants::kManagerExe;
    return "Failed to open " + exe + ". Please ensure that the " + exe +
           " is located at the same directory as this browser";
}

}  // namespace

void CLinkLauncherDlg::UseProgramFolder(const std::string& folder) {
    programFolder_ = CFolderUtil(folder).ProgramFolder();
    ownedMenus_.clear();
    popup_.reset();
    linksMenu_ = std::make_unique<CLinksMenu>(programFolder_, icons_[0].get(), icons_[1].get(), icons_[2].get());
}

void CLinkLauncherDlg::ShowFavoritesMenu(const RECT& buttonRect) {
    if (!linksMenu_) return;
    fw::Menu resource(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFavoritesMenuResource)));
    HMENU first = resource ? ::GetSubMenu(resource.get(), 0) : nullptr;
    if (!first) return;

    // The last popup's objects go first: the builder frees their item data.
    ownedMenus_.clear();
    popup_ = std::make_unique<COwnerDrawMenu>();
    popup_->Attach(first);
    popup_->SetLargeIcons(false);
    ::DeleteMenu(first, kFavoritesPlaceholderId, MF_BYCOMMAND);
    itemPaths_.clear();

    const bool running = host_ && host_->ConnectToManager();
    popup_->AppendText(kOpenManagerId,
                       ((running ? "Show " : "Open ") + std::string(AppConstants::kManagerTitle)).c_str());
    popup_->AppendText(kAddFavoriteId, "Add Favorite");
    popup_->AppendSeparator();
    linksMenu_->BuildLinksMenu(popup_.get(), &itemPaths_, &ownedMenus_, &nextId_);
    lastLinkId_ = nextId_;
    linksMenu_->BuildGroupsMenu(popup_.get(), &itemPaths_, &nextId_);

    // The popup is owned by a top-level window: a child window cannot own one.
    HWND owner = hwnd();
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    ::SetForegroundWindow(hwnd());
    ::TrackPopupMenu(first, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, buttonRect.left, buttonRect.bottom, 0,
                     owner, nullptr);
    ::SetForegroundWindow(hwnd());
    // The resource goes now with every popup in it; the objects stay, owning
    // nothing, until the next popup, so the chosen command still finds its path.
}

bool CLinkLauncherDlg::OnCommand(int id, int code, HWND control) {
    if (host_ && code == 0 && !control) {
        if (static_cast<unsigned>(id) >= static_cast<unsigned>(kFirstLinkItemId - 1)) {
            LaunchFavorite(id);
            return true;
        }
        if (id == static_cast<int>(kOpenManagerId)) {
            OpenManager();
            return true;
        }
        if (id == static_cast<int>(kAddFavoriteId)) {
            AddFavorite(host_->GetAddressText(), host_->GetPageTitle(), host_->GetFavoriteWindowRect());
            return true;
        }
    }
    return fw::Dialog::OnCommand(id, code, control);
}

LRESULT CLinkLauncherDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_MEASUREITEM) return Default(msg, wParam, lParam);
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (!item || item->CtlType != ODT_MENU) return Default(msg, wParam, lParam);
    OnMeasureItem(item);
    return TRUE;
}

void CLinkLauncherDlg::OnMeasureItem(MEASUREITEMSTRUCT* item) {
    item->itemHeight = 20;
    // Folder items and link items alike are measured by the menu that holds them.
    LRESULT routed = 0;
    fw::RouteOwnerDrawMenu(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(item), &routed);
}

void CLinkLauncherDlg::LaunchFavorite(int id) {
    // Only ids of the last popup's items name a path.
    if (id < kFirstLinkItemId || static_cast<size_t>(id - kFirstLinkItemId) >= itemPaths_.size()) return;
    const std::string& path = itemPaths_[static_cast<size_t>(id - kFirstLinkItemId)];
    const bool group = id > lastLinkId_;
    std::vector<std::string> links;
    if (group)
        ExpandGroup(path, &links);
    else
        links.push_back(path);
    if (links.empty()) {
        fw::ShowMessageBox(kNoGroupItem, MB_OK, hwnd());
        return;
    }

    const CLinkStore store(programFolder_);
    if (!group) {
        CURLEntry entry;
        bool separate = false;
        // A link that cannot be read opens nothing.
        if (store.SplitLinkPath(path, &entry) != kErrNone || IsSeparateBrowser(entry, &separate) != kErrNone) return;
        if (!separate) {
            std::string address;
            if (GetLinkURL(entry, &address) == kErrNone && host_) host_->NavigateHere(address);
            return;
        }
    }
    CURLEntryList entries;
    for (const std::string& link : links) {
        CURLEntry entry;
        if (store.SplitLinkPath(link, &entry) == kErrNone) entries.push_back(std::move(entry));
    }
    if (!entries.empty()) Launch(programFolder_, entries);
}

void CLinkLauncherDlg::ExpandGroup(const std::string& groupPath, std::vector<std::string>* out) const {
    const CLinkStore store(programFolder_);
    std::vector<std::string> lines;
    store.ReadList(groupPath, &lines);
    for (const std::string& line : lines) {
        // A member line names a file below Links ("Links\..."): no drive, no
        // leading backslash, no "." or ".." step out of the tree.
        const std::string path = programFolder_ + "\\" + line;
        CURLEntry entry;
        if (store.SplitLinkPath(path, &entry) != kErrNone) continue;
        out->push_back(path);
    }
}

ErrorCode CLinkLauncherDlg::IsSeparateBrowser(const CURLEntry& entry, bool* separate) const {
    std::unique_ptr<CURLObject> record;
    const ErrorCode rc = CLinkStore(programFolder_).LoadURLObject(entry, &record);
    if (rc != kErrNone || !record) return rc != kErrNone ? rc : kErrLoadEmptyObject;
    *separate = record->options.separateBrowser != 0;
    return kErrNone;
}

ErrorCode CLinkLauncherDlg::GetLinkURL(const CURLEntry& entry, std::string* address) const {
    std::unique_ptr<CURLObject> record;
    const ErrorCode rc = CLinkStore(programFolder_).LoadURLObject(entry, &record);
    if (rc != kErrNone || !record) return rc != kErrNone ? rc : kErrLoadEmptyObject;
    *address = record->link.address;
    return kErrNone;
}

void CLinkLauncherDlg::AddFavorite(const std::string& address, const std::string& title, const RECT& rect) {
    const CLinkStore store(programFolder_);
    CURLEntry templateEntry(std::string(), AppConstants::kDefaultTemplateFile);
    templateEntry.kind = CURLEntry::kTemplate;
    std::unique_ptr<CURLObject> record;
    if (store.LoadURLObject(templateEntry, &record) != kErrNone || !record) {
        // A missing or damaged template is replaced by the default one.
        store.CreateDefaultTemplate();
        record = std::make_unique<CURLObject>();
        record->link.title = AppConstants::kDefaultTemplateTitle;
    }
    record->link.windowRect = URLRect{rect.left, rect.top, rect.right, rect.bottom};
    record->link.address = address;
    record->link.title = title;
    record->link.comments.clear();
    if (host_) record->skinName = host_->GetStartSkinName();

    std::string name;
    if (const ErrorCode rc = store.AddURLObject(std::string(), *record, &name); rc != kErrNone) {
        // Nothing was stored: the manager has nothing to show.
        if (host_) host_->ReportFavoritesError(rc, "CLinkLauncherDlg::AddFavorite");
        return;
    }
    const std::string path = programFolder_ + AppConstants::kLinksSub + "\\" + name;
    if (host_ && host_->ConnectToManager()) {
        host_->RefreshNimbTree();
        host_->SetFocusOnLinkItem(path);
        host_->ActivateManager();
    } else {
        StartManager("\"-s " + path + "\"");
    }
}

void CLinkLauncherDlg::OpenManager() {
    if (host_ && host_->ConnectToManager())
        host_->ActivateManager();
    else
        StartManager("-o ");
}

void CLinkLauncherDlg::StartManager(const std::string& parameters) {
    if (StartFolderProgram(programFolder_, AppConstants::kManagerExe, parameters) == SE_ERR_FNF)
        fw::ShowMessageBox(ManagerMissingText(), MB_OK, hwnd());
}
