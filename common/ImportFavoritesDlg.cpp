#include "ImportFavoritesDlg.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "FolderUtil.h"
#include "RegSettings.h"

#include "fw/msgbox.h"

#include <commctrl.h>

namespace {

constexpr char kCaption[] = "Importing...";
constexpr char kDescription[] = "Import favorites from Microsoft Internet Explorer.";
constexpr char kConfirmTail[] =
    " has detected that a import was done previously. \nIf you continue with the Import, all you customized "
    "settings for Vessa Manager will be erased. \nDo you want to continue?";
constexpr char kFailed[] =
    "Failed to import IE Favorites to Vessa.  Please make sure that IE Favorites path is correct";
constexpr char kSucceeded[] = "IE Favorites have all been successfully imported";
// The manager lets the file system settle before it reads the new tree.
constexpr DWORD kManagerRebuildDelayMs = 500;
constexpr int kProgramIcon = 128;

void ShowItem(HWND dialog, int id, bool show) { ::ShowWindow(::GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE); }
void EnableItem(HWND dialog, int id, bool enable) { ::EnableWindow(::GetDlgItem(dialog, id), enable); }

}  // namespace

CImportFavoritesDlg::CImportFavoritesDlg(HWND parent, const ImportDialogLayout& layout, CImportFavoritesHost* host,
                                         std::string programFolder)
    : fw::Dialog(layout.templateId),
      layout_(layout),
      host_(host),
      programFolder_(programFolder.empty() ? CFolderUtil().ProgramFolder() : std::move(programFolder)) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    if (!CreateModeless(parent)) return;
    ::SetWindowTextA(hwnd(), kCaption);
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIcon));
    if (!icon) icon = ::LoadIconA(nullptr, IDI_APPLICATION);  // shared icons are never destroyed
    ::SendDlgItemMessageA(hwnd(), layout_.icon, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void CImportFavoritesDlg::Show() {
    if (!hwnd() || importing_) return;
    previousActive_ = ::GetActiveWindow();
    ::ShowWindow(hwnd(), SW_SHOW);

    ::SetWindowTextA(hwnd(), kCaption);
    SetItemText(layout_.description, kDescription);
    SetItemText(layout_.currentLink, "");
    SetItemText(layout_.currentFolder, "");
    EnableItem(hwnd(), layout_.import, true);
    EnableItem(hwnd(), layout_.cancel, true);
    ::SendDlgItemMessageA(hwnd(), layout_.progress, PBM_SETPOS, 0, 0);

    ShowItem(hwnd(), layout_.changeFolder, true);
    ShowItem(hwnd(), layout_.path, true);
    ShowItem(hwnd(), layout_.currentLink, false);
    ShowItem(hwnd(), layout_.currentFolder, false);
    ShowItem(hwnd(), layout_.progress, false);

    std::string path;
    const bool known = CRegSettings(programFolder_).GetFavoritesPath(&path) == kErrNone;
    if (!known) path = kNoPathText;
    // Without a known folder the user must type one: the box is checked and
    // the edit open for it at once.
    ::CheckDlgButton(hwnd(), layout_.changeFolder, known ? BST_UNCHECKED : BST_CHECKED);
    OnChangeFolderCheck();
    SetItemText(layout_.path, path);
    ::SetFocus(hwnd());
}

bool CImportFavoritesDlg::ConfirmAgain() {
    DWORD done = 0;
    if (CRegSettings(programFolder_).GetImportDone(&done) != kErrNone || done == 0) return true;
    ::SetActiveWindow(hwnd());
    const std::string program =
        layout_.owner == ImportDialogLayout::Owner::kManager ? AppConstants::kManagerTitle : AppConstants::kProductName;
    return fw::ShowMessageBox(program + kConfirmTail, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2 | MB_TOPMOST,
                              hwnd()) == IDYES;
}

void CImportFavoritesDlg::ShowProgressState() {
    ShowItem(hwnd(), layout_.changeFolder, false);
    ShowItem(hwnd(), layout_.path, false);
    ShowItem(hwnd(), layout_.currentLink, true);
    ShowItem(hwnd(), layout_.currentFolder, true);
    ShowItem(hwnd(), layout_.progress, true);
    ::SetFocus(hwnd());
    // The import holds the thread from here on: paint the new state now.
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    EnableItem(hwnd(), layout_.import, false);
    EnableItem(hwnd(), layout_.cancel, false);
}

void CImportFavoritesDlg::OnImport() {
    // A posted click reaches a disabled button, and the boxes below run
    // message loops: one import at a time.
    if (!hwnd() || importing_ || !::IsWindowEnabled(Item(layout_.import))) return;
    importing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{importing_};
    if (!ConfirmAgain()) {
        OnCancel();
        return;
    }
    ShowProgressState();
    const std::string path = ItemText(layout_.path);

    CFavoritesReader reader(hwnd(), programFolder_);
    if (linkWait_) reader.SetWait(linkWait_);
    // The old store goes only once the chosen folder was read: a wrong path
    // deletes nothing.
    bool cleared = false;
    const int rc = reader.ImportFavorites(path, [this, &cleared](int count) {
        if (host_) host_->OnImportClearingStore();
        cleared = true;
        const CFolderUtil util(programFolder_);
        util.DeleteFolderTree(programFolder_, AppConstants::kLinks, 4);
        util.DeleteFolderTree(programFolder_, AppConstants::kGroups, CURLEntry::kGroup);
        SetProgressRange(&count);
    });
    Finish(rc, cleared);
}

void CImportFavoritesDlg::Finish(int result, bool storeCleared) {
    if (result != kErrNone)
        fw::ShowMessageBox(kFailed, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, hwnd());
    else
        CRegSettings(programFolder_).SetImportDone(1);
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    OnCancel();
    if (result != kErrNone) {
        if (host_) host_->OnImportFailed(storeCleared);
        return;
    }

    if (layout_.owner == ImportDialogLayout::Owner::kBrowser)
        fw::ShowMessageBox(kSucceeded, MB_OK);
    else
        ::Sleep(kManagerRebuildDelayMs);
    if (host_) host_->OnImportSucceeded();
}

LRESULT CImportFavoritesDlg::OnImportingLink(WPARAM folder, LPARAM title) {
    const char* folderText = reinterpret_cast<const char*>(folder);
    const char* titleText = reinterpret_cast<const char*>(title);
    const std::string f = folderText ? folderText : "";
    SetItemText(layout_.currentLink, std::string("Importing link: ") + (titleText ? titleText : ""));
    SetItemText(layout_.currentFolder, "Importing... \"" + f + "\" to \"" + f + "\"");
    ::SendDlgItemMessageA(hwnd(), layout_.progress, PBM_STEPIT, 0, 0);
    // The import holds the thread: paint the new texts now.
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 1;
}

void CImportFavoritesDlg::SetProgressRange(int* count) {
    HWND bar = Item(layout_.progress);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    // The 32-bit range: more than 65,535 shortcuts still fit.
    ::SendMessageA(bar, PBM_SETRANGE32, 0, *count > 0 ? *count : 0);
    ::SendMessageA(bar, PBM_SETSTEP, 1, 0);
}

void CImportFavoritesDlg::OnChangeFolderCheck() {
    EnableItem(hwnd(), layout_.path, ::IsDlgButtonChecked(hwnd(), layout_.changeFolder) == BST_CHECKED);
}

void CImportFavoritesDlg::OnCancel() {
    if (!hwnd()) return;
    ::ShowWindow(hwnd(), SW_HIDE);
    if (previousActive_ && previousActive_ != hwnd() && ::IsWindow(previousActive_))
        ::SetActiveWindow(previousActive_);
}

bool CImportFavoritesDlg::OnCommand(int id, int code, HWND control) {
    if (id == layout_.import && code == BN_CLICKED) {
        OnImport();
        return true;
    }
    if (id == layout_.cancel && code == BN_CLICKED) {
        OnCancel();
        return true;
    }
    if (id == layout_.changeFolder && code == BN_CLICKED) {
        OnChangeFolderCheck();
        return true;
    }
    return fw::Dialog::OnCommand(id, code, control);
}

LRESULT CImportFavoritesDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgImportingLink) return OnImportingLink(wParam, lParam);
    return Default(msg, wParam, lParam);
}
