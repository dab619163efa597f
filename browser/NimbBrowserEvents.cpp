// The main window's page control: its creation, the events it sends (address
// box, title, status text, Back and Forward, secure and offline indicators,
// busy animation, windows opened by pages) and the user agent it asks for.
#include "NimbBrowserDlg.h"

#include "AppConstants.h"
#include "StringUtil.h"
#include "WindowsVersion.h"

#include <algorithm>
#include <vector>

namespace {

// DWebBrowserEvents2
constexpr DISPID kStatusTextChange = 102;
constexpr DISPID kDownloadComplete = 104;
constexpr DISPID kCommandStateChange = 105;
constexpr DISPID kDownloadBegin = 106;
constexpr DISPID kTitleChange = 113;
constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kNewWindow2 = 251;
constexpr DISPID kSetSecureLockIcon = 269;

// CommandStateChange's commands.
constexpr long kCommandForward = 1;
constexpr long kCommandBack = 2;

constexpr DISPID kAmbientUserAgent = -5513;  // DISPID_AMBIENT_USERAGENT of mshtmdid.h

constexpr char kVersion[] = "2.0";
constexpr size_t kUserAgentChars = 255;  // the text fits a 256-character buffer with its end
constexpr size_t kTypedHistoryLimit = 25;

}  // namespace

void CNimbBrowserDlg::CreateBrowser() {
    browser_.host().SetAmbientHandler([this](DISPID id, fw::Variant& value) { return OnAmbientProperty(id, value); });
    // Without the control the placeholder stays and the page commands do nothing.
    if (FAILED(browser_.CreateInPlaceOf(hwnd(), IDC_EXPLORER))) return;

    browserEvents_.On(kCommandStateChange,
                      [this](const fw::DispArgs& a) { OnCommandStateChange(a.Long(0), a.Bool(1)); });
    browserEvents_.On(kStatusTextChange, [this](const fw::DispArgs& a) { OnStatusTextChange(a.String(0)); });
    browserEvents_.On(kNewWindow2, [this](const fw::DispArgs& a) { OnNewWindow2(a); });
    browserEvents_.On(kDownloadBegin, [this](const fw::DispArgs&) { OnDownloadBegin(); });
    browserEvents_.On(kDownloadComplete, [this](const fw::DispArgs&) { OnDownloadComplete(); });
    browserEvents_.On(kBeforeNavigate2, [this](const fw::DispArgs& a) { OnBeforeNavigate2(a); });
    browserEvents_.On(kTitleChange, [this](const fw::DispArgs& a) { OnTitleChange(a.String(0)); });
    browserEvents_.On(kSetSecureLockIcon, [this](const fw::DispArgs& a) { OnSetSecureLockIcon(a.Long(0)); });
    browserEvents_.Connect(browser_.host().Control().get());
}

void CNimbBrowserDlg::OnCommandStateChange(long command, bool enable) {
    if (command == kCommandForward) forwardEnabled_ = enable;
    if (command == kCommandBack) backEnabled_ = enable;
    // Until the control reports the lock itself, the address decides.
    if (!secureIconSeen_) {
        const std::string text = ItemText(IDC_ADDRESS);
        ShowSecureIndicator(text.size() > 5 && StartsWithNoCase(text, "https"));
    }
}

void CNimbBrowserDlg::OnSetSecureLockIcon(long secureIcon) {
    secureIconSeen_ = true;
    ShowSecureIndicator(secureIcon != 0);
}

void CNimbBrowserDlg::OnStatusTextChange(const std::string& text) { SetItemText(IDC_STATUS, text); }

void CNimbBrowserDlg::OnNewWindow2(const fw::DispArgs& args) {
    CPopupBrowserDlg* popup = popups_.Open(start_.programFolder);
    const fw::ComPtr<IDispatch> application = popup ? popup->Browser().GetApplication() : nullptr;
    if (!application) {
        // No popup to take the page: no window at all rather than one outside the browser.
        args.SetBool(1, true);
        return;
    }
    // The control gets a reference of its own; ours goes with `application`.
    args.SetDispatch(0, application.get());
}

void CNimbBrowserDlg::OnDownloadBegin() {
    // The platform's connected state and the indicator follow the control.
    commands_->Shell().SetOffline(browser_.GetOffline());
    if (historyAddPending_) {
        AddToAddressHistory();
        historyAddPending_ = false;
    }
    if (!animationRunning_) {
        animationRunning_ = true;
        Button(IDC_ANIMATOR).SetAnimation(1);
    }
}

void CNimbBrowserDlg::OnDownloadComplete() {
    animationRunning_ = false;
    Button(IDC_ANIMATOR).SetAnimation(0);
}

void CNimbBrowserDlg::OnBeforeNavigate2(const fw::DispArgs& args) {
    // The name of the page being left.
    SetItemText(IDC_TITLE, browser_.GetLocationName());
    // A navigation of the whole window, not of a frame inside it.
    if (!args.String(3).empty()) return;
    addressUnedited_ = true;
    // HOME, BACK and FORWARD learn their address here: Wine's control never
    // sends the completion or title events after it, and Add Favorite
    // stores what the box shows. The window's own navigations (the start,
    // a typed address) show theirs already; a late report of one must not
    // overwrite what the user typed since.
    if (!addressFollowsNext_) return;
    addressFollowsNext_ = false;
    const std::string url = args.String(1);
    if (!url.empty() && ItemText(IDC_ADDRESS) != url) SetItemText(IDC_ADDRESS, url);
    address_ = ItemText(IDC_ADDRESS);
}

void CNimbBrowserDlg::OnTitleChange(const std::string& title) {
    if (addressUnedited_) {
        const std::string location = browser_.GetLocationURL();
        if (!EqualsNoCase(ItemText(IDC_ADDRESS), location)) {
            SetItemText(IDC_ADDRESS, location);
            ::UpdateWindow(Item(IDC_ADDRESS));
        }
    }
    pageTitle_ = title;
    const std::string caption = title + " - " + AppConstants::kProductName;
    ::SetWindowTextA(hwnd(), caption.c_str());
    SetItemText(IDC_TITLE, caption);
    address_ = ItemText(IDC_ADDRESS);
}

std::string CNimbBrowserDlg::UserAgentText() {
    int code = 0;
    std::string windows;
    GetWindowsVersion(&code, &windows);
    return std::string("Mozilla/4.0") + " (compatible; " + AppConstants::kProductName + " " + kVersion + "; " +
           windows + "; " + AppConstants::kProductName + ")";
}

bool CNimbBrowserDlg::OnAmbientProperty(DISPID id, fw::Variant& value) {
    if (id != kAmbientUserAgent) return false;
    std::wstring agent = fw::ToWide(UserAgentText());
    if (agent.size() > kUserAgentChars) agent.resize(kUserAgentChars);
    // A string of its own for every request: the control frees what it gets.
    value = fw::Variant(agent);
    return true;
}

void CNimbBrowserDlg::AddToAddressHistory() {
    std::string address = historyAddress_;
    if (!address.empty() && address.back() == '/') address.pop_back();
    if (address.empty()) return;
    std::vector<std::string> history;
    settings_.GetTypedURLs(&history);
    if (!history.empty()) {
        auto same = std::find(history.begin(), history.end(), address);
        if (same == history.end()) same = std::find(history.begin(), history.end(), address + "/");
        if (same != history.end())
            history.erase(same);
        else if (history.size() >= kTypedHistoryLimit)
            history.pop_back();  // a longer list from elsewhere is not cut, only kept from growing
    }
    history.insert(history.begin(), address);
    settings_.SetTypedURLs(history);
}
