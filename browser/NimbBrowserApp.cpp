#include "NimbBrowserApp.h"

#include "AdClient.h"

#include "NimbBrowserDlg.h"
#include "NimbBrowserDlgAutoProxy.h"
#include "resource.h"

#include "AppConstants.h"
#include "LinkStore.h"
#include "RegSettings.h"
#include "SkinFile.h"
#include "StringUtil.h"

#include "fw/activex.h"
#include "fw/com.h"
#include "fw/command_line.h"
#include "fw/com_registration.h"
#include "fw/msgbox.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

StartCommand ParseStartCommand(std::string_view line) {
    if (line.empty() || fw::IsComStartSwitch(line)) return {};
    if (line.size() >= 2 && line[0] == '-' && (line[1] == 'f' || line[1] == 'F')) {
        std::string_view rest = line.substr(2);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        return {StartCommand::kLinkFile, std::string(rest)};
    }
    std::string address(line);
    if (address.front() == '"' && address.size() >= 2 && address.back() == '"')
        address = address.substr(1, address.size() - 2);
    return {StartCommand::kAddress, address};
}

CNimbBrowserApp::CNimbBrowserApp(std::string commandLine, std::string programFolder)
    : commandLine_(std::move(commandLine)), programFolder_(std::move(programFolder)) {}

CNimbBrowserApp::~CNimbBrowserApp() = default;

int CNimbBrowserApp::InitInstance() {
    fw::SetProgramName(AppConstants::kProductName);
    // The program always came with the library: without it, say where it belongs.
    if (!LoadAdClientLibrary(programFolder_)) {
        fw::ShowMessageBox(AdClientMissingText(programFolder_), MB_OK | MB_ICONSTOP);
        return 1;
    }
    fw::OleApartment ole;
    if (!ole) {
        char text[256] = {};
        ::LoadStringA(::GetModuleHandleA(nullptr), IDS_OLE_INIT_FAILED, text, sizeof(text));
        fw::ShowMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // "NimbBrowser.Application": a start by COM serves the client's object,
    // an ordinary start makes the class name this program.
    fw::ServerClass automation(
        NimbBrowserClassInfo(),
        [this]() -> fw::ComPtr<IUnknown> {
            return fw::MakeCom<CNimbBrowserDlgAutoProxy>(mainDialog_.get()).As<IUnknown>();
        },
        REGCLS_SINGLEUSE);
    if (fw::IsComStartSwitch(commandLine_))
        automation.RegisterRunning();
    else
        automation.UpdateRegistry();

    errorHandler_.CreateLog(programFolder_);
    LoadSettings();

    mainDialog_ = std::make_unique<CNimbBrowserDlg>(StartState(), errorHandler_);
    mainDialog_->RunModalLoop(nullptr, [this](MSG& msg) { return ProcessMessageFilter(msg); });
    automation.Revoke();
    if (const auto& save = mainDialog_->SaveOnClose()) SaveWindowAndSkinSize(*save);
    mainDialog_.reset();  // the page control and the proxies' connections go before the apartment
    return 0;
}

BrowserStart CNimbBrowserApp::StartState() const {
    BrowserStart start;
    start.programFolder = programFolder_;
    if (startRecord_) start.record = *startRecord_;
    start.linkFileMode = linkFileMode_;
    return start;
}

HWND CNimbBrowserApp::MainWindow() const {
    return mainDialog_ ? mainDialog_->hwnd() : nullptr;
}

void CNimbBrowserApp::LoadSettings() {
    if (!startRecord_) startRecord_ = std::make_unique<CURLObject>();
    if (commandLine_.empty())
        LoadDefaultSettings();
    else
        ParseStartCommandLine();
}

std::string CNimbBrowserApp::DefaultSkinName() {
    CRegSettings reg;
    std::string name;
    if (reg.GetDefaultSkin(&name) != kErrNone || name.empty()) {
        reg.SetDefaultSkin(AppConstants::kDefaultSkin);
        return AppConstants::kDefaultSkin;
    }
    return Lower(name);
}

void CNimbBrowserApp::LoadDefaultSettings() {
    std::string start;
    CRegSettings().GetStartPage(&start);
    startRecord_->link.address = start;
    startRecord_->link.windowRect = URLRect{};
    startRecord_->skinName = DefaultSkinName();
}

void CNimbBrowserApp::ParseStartCommandLine() {
    const StartCommand command = ParseStartCommand(commandLine_);
    switch (command.kind) {
        case StartCommand::kEmpty:
            LoadDefaultSettings();
            break;
        case StartCommand::kLinkFile:
            linkFileMode_ = true;
            LoadLinkFileSettings(command.text);
            break;
        case StartCommand::kAddress:
            startRecord_->link.address = command.text;
            startRecord_->link.windowRect = URLRect{};
            startRecord_->skinName = DefaultSkinName();
            break;
    }
}

void CNimbBrowserApp::LoadLinkFileSettings(const std::string& path) {
    CLinkStore store(programFolder_);
    CURLEntry entry;
    std::unique_ptr<CURLObject> record;
    // An unreadable link file leaves the start record as it stood.
    if (store.SplitLinkPath(path, &entry) == kErrNone && store.LoadURLObject(entry, &record) == kErrNone && record)
        startRecord_ = std::move(record);
}

bool CNimbBrowserApp::ProcessMessageFilter(MSG& msg) {
    const HWND main = MainWindow();
    if (!main || !msg.hwnd) return false;
    if (msg.hwnd != main && !::IsChild(main, msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN)
        HandleKey(static_cast<UINT>(msg.wParam));
    else if (msg.message == WM_SYSKEYDOWN)
        HandleAltKey(static_cast<UINT>(msg.wParam));
    // Keys inside the page go to the WebBrowser control first (its Tab, its accelerators).
    return fw::PreTranslateAxMessage(&msg);
}

void CNimbBrowserApp::HandleKey(UINT vk) {
    if (mainDialog_) mainDialog_->OnShortcutKey(vk, false);
}

void CNimbBrowserApp::HandleAltKey(UINT vk) {
    switch (vk) {
    case VK_F4:
        if (mainDialog_ && mainDialog_->hwnd()) SaveWindowAndSkinSize(mainDialog_->StateToSave());
        ::PostQuitMessage(0);
        break;
    default:
        if (mainDialog_) mainDialog_->OnShortcutKey(vk, true);
        break;
    }
}

void CNimbBrowserApp::SaveWindowAndSkinSize(const BrowserSave& save) {
    const RECT& rect = save.windowRect;
    CRegSettings().SaveWindowRect(AppConstants::kProductName, rect);
    // The paths were made inside Skins: a built-in skin has no Data.ini to write.
    CSkinFile(save.skin).WriteSkinSize(rect.right - rect.left, rect.bottom - rect.top);
}
