// Commands that start programs or act on the page as a file: new windows,
// mail and contacts, save, print, page set-up, properties, offline, import.
#include "BrowserCommands.h"

#include "NimbBrowserDlg.h"
#include "OpenLocationDlg.h"

#include "AppConstants.h"
#include "ProgramStart.h"
#include "RegSettings.h"

#include "fw/msgbox.h"

#include <shellapi.h>
#include <wininet.h>

namespace {

// ExecWB command ids (OLECMDID) and execution options.
constexpr long kSaveAs = 4;
constexpr long kPrint = 6;
constexpr long kPageSetup = 8;
constexpr long kProperties = 10;
constexpr long kPromptUser = 0;
constexpr long kDontPromptUser = 2;

constexpr INT_PTR kFileNotFound = 2;  // ShellExecute's SE_ERR_FNF

std::string BrowserMissingText() {
    const std::string exe = AppConstants::kBrowserExe;
    return "Failed to open " + exe + ". Please ensure that " + exe + " is located in the same directory as this " +
           AppConstants::kManagerTitle + " program";
}

}  // namespace

INT_PTR CShellCommands::StartBrowserProgram(const std::string& parameters) {
    return StartFolderProgram(dlg_.ProgramFolder(), AppConstants::kBrowserExe, parameters);
}

void CShellCommands::NewWindow(const std::string& address) {
    StartBrowserProgram(address);
}

void CShellCommands::StartBrowserWithFile(const std::string& path) {
    if (StartBrowserProgram(path) == kFileNotFound) fw::ShowMessageBox(BrowserMissingText(), MB_OK, dlg_.hwnd());
}

void CShellCommands::StartClient(ErrorCode (CRegSettings::*read)(std::string*)) {
    std::string command;
    CRegSettings settings;
    if ((settings.*read)(&command) != 0) command.clear();
    // A missing client is a start that fails, silently.
    const ClientCommand client = SplitClientCommand(command);
    ::ShellExecuteA(::GetDesktopWindow(), "open", client.program.c_str(),
                    client.parameters.empty() ? nullptr : client.parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void CShellCommands::NewMessage() {
    StartClient(&CRegSettings::GetMailClientCommand);
}

void CShellCommands::NewContact() {
    StartClient(&CRegSettings::GetContactsClientCommand);
}

void CShellCommands::OpenLocation() {
    COpenLocationDlg open;
    // Straight to the page: no usage hit, no history mark.
    if (open.DoModal(dlg_.hwnd()) == IDOK && !open.Address().empty()) browser_.Navigate(open.Address());
}

void CShellCommands::SaveAs() {
    browser_.ExecWB(kSaveAs, kPromptUser, nullptr, nullptr);
}

void CShellCommands::PageSetup() {
    browser_.ExecWB(kPageSetup, kPromptUser, nullptr, nullptr);
}

void CShellCommands::Print(bool prompt) {
    browser_.ExecWB(kPrint, prompt ? kPromptUser : kDontPromptUser, nullptr, nullptr);
}

void CShellCommands::Properties() {
    browser_.ExecWB(kProperties, kPromptUser, nullptr, nullptr);
}

void CShellCommands::SetOffline(bool offline) {
    dlg_.ShowOfflineIndicator(offline);
    if (offline)
        connected_->Set(INTERNET_STATE_DISCONNECTED_BY_USER, ISO_FORCE_DISCONNECTED);
    else
        connected_->Set(INTERNET_STATE_CONNECTED, 0);
    // Every download start reads the control's property back: it must agree.
    if (browser_.GetOffline() != offline) browser_.PutOffline(offline);
}

void CShellCommands::ShowImportDialog() {
    // These commands exist before the main window does: the dialog, owned by
    // that window, is made when it is first asked for.
    if (!importDialog_)
        importDialog_ =
            std::make_unique<CImportFavoritesDlg>(dlg_.hwnd(), kBrowserImportDialog, this, dlg_.ProgramFolder());
    importDialog_->Show();
}

void CShellCommands::OnImportSucceeded() {
    if (dlg_.ConnectToManager()) dlg_.RefreshNimbTree();
}
