#include "PopupBrowserDlg.h"

#include "resource.h"

#include "AppConstants.h"
#include "ProgramStart.h"
#include "StringUtil.h"

#include <exdisp.h>

#include <algorithm>

namespace {

constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kWindowClosing = 263;

}  // namespace

CPopupBrowserDlg::CPopupBrowserDlg(std::string programFolder)
    : fw::Dialog(kTemplateId), programFolder_(std::move(programFolder)), events_(DIID_DWebBrowserEvents2) {}

CPopupBrowserDlg::~CPopupBrowserDlg() = default;

BOOL CPopupBrowserDlg::OnInitDialog() {
    if (SUCCEEDED(browser_.CreateInPlaceOf(hwnd(), IDC_EXPLORER))) {
        events_.On(kBeforeNavigate2, [this](const fw::DispArgs& args) { OnBeforeNavigate2(args); });
        // A page that closes its window closes the popup; not from inside
        // the control's own event, though.
        events_.On(kWindowClosing, [this](const fw::DispArgs&) { ::PostMessageA(hwnd(), WM_CLOSE, 0, 0); });
        events_.Connect(browser_.host().Control().get());
    }
    return TRUE;
}

void CPopupBrowserDlg::OnBeforeNavigate2(const fw::DispArgs& args) {
    // Only the page of the window itself counts, and only once: a frame of
    // that page navigates with its own dispatch, and the page's own later
    // navigations (redirects, scripts) would start one browser each.
    if (handedOver_ || !fw::SameObject(args.Dispatch(0).get(), browser_.host().Control().get())) return;
    const std::string address = args.String(1);
    // Other addresses (about:blank before a script writes the page) only load here.
    if (!StartsWithNoCase(address, "http")) return;
    handedOver_ = true;
    StartFolderProgram(programFolder_, AppConstants::kBrowserExe, address);
    // The page is the new browser's: this hidden window neither loads it nor
    // stays; it closes after the control's event, not inside it.
    args.SetBool(6, true);
    ::PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT CPopupBrowserDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) events_.Disconnect();
    return Default(msg, wParam, lParam);
}

void CPopupBrowserDlg::OnFinalDestroy() {
    delete this;
}

CPopupWindows::~CPopupWindows() {
    CloseAll();
}

CPopupBrowserDlg* CPopupWindows::Live(HWND wnd) {
    if (!::IsWindow(wnd)) return nullptr;
    return dynamic_cast<CPopupBrowserDlg*>(fw::Dialog::FromHandle(wnd));
}

CPopupBrowserDlg* CPopupWindows::Open(const std::string& programFolder) {
    std::erase_if(windows_, [](HWND wnd) { return !Live(wnd); });
    auto* popup = new CPopupBrowserDlg(programFolder);
    if (!popup->CreateModeless(nullptr)) {
        delete popup;  // never bound to a window
        return nullptr;
    }
    if (!popup->Browser().host().IsCreated()) {
        ::DestroyWindow(popup->hwnd());  // the popup deletes itself
        return nullptr;
    }
    windows_.push_back(popup->hwnd());
    return popup;
}

CPopupBrowserDlg* CPopupWindows::Last() const {
    return windows_.empty() ? nullptr : Live(windows_.back());
}

size_t CPopupWindows::OpenCount() const {
    return static_cast<size_t>(std::count_if(windows_.begin(), windows_.end(), [](HWND wnd) { return Live(wnd); }));
}

void CPopupWindows::CloseAll() noexcept {
    std::vector<HWND> windows;
    windows.swap(windows_);
    for (HWND wnd : windows)
        if (Live(wnd)) ::DestroyWindow(wnd);
}
