// The tray window's two menus and what a links-popup choice launches.
#include "AppConstants.h"
#include "ErrorCodes.h"
#include "LinkTreeRules.h"
#include "TrayWnd.h"
#include "resource.h"

#include "fw/msgbox.h"

HMENU CTrayWnd::BuildFolderMenu() {
    // The last build's objects, then its menus: the builder frees their item data.
    ownedMenus_.clear();
    popup_.reset();
    loaded_.reset();
    loaded_ = fw::Menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_POPUP_MENU)));
    HMENU first = loaded_ ? ::GetSubMenu(loaded_.get(), 0) : nullptr;
    if (!first) return nullptr;
    popup_ = std::make_unique<COwnerDrawMenu>();
    popup_->Attach(first);
    popup_->SetLargeIcons(false);
    ::DeleteMenu(first, ID_POPUP_PLACEHOLDER, MF_BYCOMMAND);

    m_paths.clear();
    m_pLinksMenu->BuildLinksMenu(popup_.get(), &m_paths, &ownedMenus_, &m_nNextId);
    m_nLastLinkId = m_nNextId;
    m_pLinksMenu->BuildGroupsMenu(popup_.get(), &m_paths, &m_nNextId);
    return first;
}

fw::Menu CTrayWnd::BuildCommandMenu() const {
    fw::Menu loaded(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_POPUP_MENU)));
    HMENU popup = loaded ? ::GetSubMenu(loaded.get(), 0) : nullptr;
    if (!popup) return {};
    // The popup leaves the loaded bar: the caller owns it alone.
    ::RemoveMenu(loaded.get(), 0, MF_BYPOSITION);
    fw::Menu menu(popup);
    ::DeleteMenu(popup, ID_POPUP_PLACEHOLDER, MF_BYCOMMAND);

    const std::string product = AppConstants::kProductName;
    const std::string manager = AppConstants::kManagerTitle;
    const bool shown = ::IsWindowVisible(m_pFrame.FrameHwnd()) != FALSE;
    auto add = [popup](UINT id, const std::string& text) { ::AppendMenuA(popup, MF_STRING, id, text.c_str()); };
    auto separator = [popup] { ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr); };
    add(TrayCommand::kLaunchBrowser, "Launch " + product);
    add(TrayCommand::kToggleMain, (shown ? "Hide " : "Show ") + manager);
    separator();
    add(TrayCommand::kOptions, "Options");
    separator();
    add(TrayCommand::kHelp, "Online Help");
    add(TrayCommand::kAbout, "About " + product);
    separator();
    add(TrayCommand::kExit, "Exit");
    return menu;
}

void CTrayWnd::CollectLink(const std::string& programFolder, const std::string& path, CURLEntryList* list) {
    const std::string prefix = programFolder + "\\";
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return;
    CURLEntry entry;
    // The path below the program folder is a member line: Links\[folders\]name.
    if (!ParseMemberLine(std::string_view(path).substr(prefix.size()), &entry)) return;
    entry.kind = CURLEntry::kLink;
    list->insert(list->begin(), std::move(entry));
}

void CTrayWnd::CollectGroupLinks(const std::string& programFolder, const std::string& groupPath, CURLEntryList* list) {
    std::vector<std::string> lines;
    if (CLinkStore(programFolder).ReadList(groupPath, &lines) != kErrNone) return;
    for (const std::string& line : lines) {
        CURLEntry entry;
        if (!ParseMemberLine(line, &entry)) continue;
        entry.kind = CURLEntry::kLink;
        list->insert(list->begin(), std::move(entry));
    }
}

void CTrayWnd::LaunchItem(int id) {
    // Only ids of the last popup's items name a path.
    if (id < kFirstLinkItemId || static_cast<size_t>(id - kFirstLinkItemId) >= m_paths.size()) return;
    const std::string& path = m_paths[static_cast<size_t>(id - kFirstLinkItemId)];
    CURLEntryList entries;
    if (id <= m_nLastLinkId)
        CollectLink(m_pLinksMenu->ProgramFolder(), path, &entries);
    else
        CollectGroupLinks(m_strProgramFolder, path, &entries);
    if (entries.empty()) {
        fw::ShowMessageBox(kNoGroupItemText, MB_OK, hwnd());
        return;
    }
    m_pFrame.LaunchFromTray(entries);
}
