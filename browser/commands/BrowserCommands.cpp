// The command holder, the page's document commands, the connected state,
// and the edit and tools commands.
#include "BrowserCommands.h"

#include "RegSettings.h"

#include <docobj.h>
#include <wininet.h>

namespace {

// The page's own command group: find, view source, Internet options.
constexpr GUID kDocCommandGroup = {0xED016940, 0xBD5B, 0x11CF, {0xBA, 0x4E, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x16}};

// ExecWB command ids (OLECMDID) and execution options.
constexpr long kSelectAll = 17;
constexpr long kPromptUser = 0;

class CInternetConnectedState : public CConnectedState {
public:
    bool Query(DWORD* state) override {
        DWORD size = sizeof(*state);
        return ::InternetQueryOptionA(nullptr, INTERNET_OPTION_CONNECTED_STATE, state, &size) && size == sizeof(*state);
    }
    bool Set(DWORD state, DWORD flags) override {
        INTERNET_CONNECTED_INFO info{state, flags};
        return ::InternetSetOptionA(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof(info)) != FALSE;
    }
};

}  // namespace

std::unique_ptr<CConnectedState> MakeInternetConnectedState() {
    return std::make_unique<CInternetConnectedState>();
}

bool IsOffline(CConnectedState& state) {
    DWORD value = 0;
    return !state.Query(&value) || value != INTERNET_STATE_CONNECTED;
}

std::vector<std::string> GetAddressHistory(CRegSettings& settings) {
    std::vector<std::string> history;
    settings.GetTypedURLs(&history);
    return history;
}

ClientCommand SplitClientCommand(const std::string& command) {
    if (!command.empty() && command.front() == '"') {
        const size_t close = command.find('"', 1);
        if (close != std::string::npos) return {command.substr(0, close + 1), command.substr(close + 1)};
    }
    return {command, {}};
}

CBrowserCommands::CBrowserCommands(CWebBrowser2& browser, CNimbBrowserDlg& dlg)
    : browser_(browser), shell_(browser, dlg), edit_(*this, browser), navigate_(browser), tools_(*this) {}

bool CBrowserCommands::ExecDocCommand(DWORD command) {
    const fw::ComPtr<IDispatch> document = browser_.GetDocument();
    if (!document) return false;
    const auto target = document.As<IOleCommandTarget>();
    if (!target) return false;
    return SUCCEEDED(target->Exec(&kDocCommandGroup, command, kPromptUser, nullptr, nullptr));
}

void CEditCommands::SelectAll() {
    browser_.ExecWB(kSelectAll, kPromptUser, nullptr, nullptr);
}

void CEditCommands::ViewSource() {
    holder_.ExecDocCommand(CBrowserCommands::kDocViewSource);
}

void CEditCommands::Find() {
    holder_.ExecDocCommand(CBrowserCommands::kDocFind);
}

bool CEditCommands::SimulateControlKey(char letter) {
    HWND holder = browser_.hwnd();
    // Focus given to a window in the background would bring it forward: ask first.
    if (!holder || ::GetForegroundWindow() != ::GetAncestor(holder, GA_ROOT)) return false;
    ::SetFocus(holder);
    const HWND focus = ::GetFocus();
    if (!focus || (focus != holder && !::IsChild(holder, focus))) return false;
    const BYTE key = static_cast<BYTE>(letter);
    ::keybd_event(VK_CONTROL, 0, 0, 0);
    ::keybd_event(key, 0, 0, 0);
    ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    ::keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    return true;
}

void CToolsCommands::InternetOptions() {
    holder_.ExecDocCommand(CBrowserCommands::kDocInternetOptions);
}
