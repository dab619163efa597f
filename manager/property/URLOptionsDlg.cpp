#include "URLOptionsDlg.h"

#include "NimbDoc.h"
#include "PropertyIds.h"

#include <commctrl.h>

#include <charconv>

namespace {

// Posted by the title edit's loss of focus; runs after the message that moved the focus.
constexpr UINT kTitleChanged = WM_APP + 0x21;

constexpr int kDefaultMinutes = 5;
constexpr int kSpinMin = 1, kSpinMax = 32767;

bool IsPageEdit(int id) {
    return id == IDC_LINK_TITLE || id == IDC_LINK_ADDRESS || id == IDC_LINK_COMMENTS;
}

}  // namespace

CURLOptionsDlg::CURLOptionsDlg(CNimbDoc* document) : fw::Dialog(IDD_LINK_OPTIONS), document_(document) {}

BOOL CURLOptionsDlg::OnInitDialog() {
    EnableControls(true, false);
    ::SendMessageA(Item(IDC_REFRESH_SPIN), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_REFRESH_MINUTES)), 0);
    ::SendMessageA(Item(IDC_REFRESH_SPIN), UDM_SETRANGE32, kSpinMin, kSpinMax);
    // The buddy's text stays as the page set it.
    SetItemText(IDC_REFRESH_MINUTES, std::to_string(kDefaultMinutes));
    return FALSE;
}

std::string CURLOptionsDlg::GetTitle() const {
    return ItemText(IDC_LINK_TITLE);
}
void CURLOptionsDlg::SetTitle(const std::string& title) {
    SetItemText(IDC_LINK_TITLE, title);
}
std::string CURLOptionsDlg::GetAddress() const {
    return ItemText(IDC_LINK_ADDRESS);
}
void CURLOptionsDlg::SetAddress(const std::string& address) {
    SetItemText(IDC_LINK_ADDRESS, address);
}
std::string CURLOptionsDlg::GetComments() const {
    return ItemText(IDC_LINK_COMMENTS);
}
void CURLOptionsDlg::SetComments(const std::string& comments) {
    SetItemText(IDC_LINK_COMMENTS, comments);
}

void CURLOptionsDlg::SetSeparateBrowser(bool flag, bool allowed) {
    ::CheckDlgButton(hwnd(), IDC_SEPARATE_BROWSER, flag ? BST_CHECKED : BST_UNCHECKED);
    if (!allowed) ::EnableWindow(Item(IDC_SEPARATE_BROWSER), FALSE);
}

bool CURLOptionsDlg::GetSeparateBrowser() const {
    return ::IsDlgButtonChecked(hwnd(), IDC_SEPARATE_BROWSER) == BST_CHECKED;
}

void CURLOptionsDlg::SetRefresh(bool flag, unsigned minutes) {
    if (flag) ::CheckDlgButton(hwnd(), IDC_REFRESH_ON, BST_CHECKED);
    ApplyRefreshRule();
    SetItemText(IDC_REFRESH_MINUTES, std::to_string(minutes));
}

bool CURLOptionsDlg::GetRefresh(unsigned* minutes) const {
    const std::string text = ItemText(IDC_REFRESH_MINUTES);
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (minutes) *minutes = value;
    return ::IsDlgButtonChecked(hwnd(), IDC_REFRESH_ON) == BST_CHECKED;
}

void CURLOptionsDlg::ApplyRefreshRule() {
    const BOOL on = ::IsDlgButtonChecked(hwnd(), IDC_REFRESH_ON) == BST_CHECKED;
    ::EnableWindow(Item(IDC_REFRESH_MINUTES), on);
    ::EnableWindow(Item(IDC_REFRESH_SPIN), on);
}

void CURLOptionsDlg::EnableControls(bool reset, bool enable) {
    if (reset) {
        ::CheckDlgButton(hwnd(), IDC_SEPARATE_BROWSER, BST_UNCHECKED);
        ::CheckDlgButton(hwnd(), IDC_REFRESH_ON, BST_UNCHECKED);
        SetComments("");
        SetTitle("");
        SetAddress("");
        SetItemText(IDC_REFRESH_MINUTES, std::to_string(kDefaultMinutes));
        ValuesReplaced();
    }
    for (int id :
         {IDC_SEPARATE_BROWSER, IDC_REFRESH_ON, IDC_LINK_COMMENTS, IDC_REFRESH_MINUTES, IDC_LINK_ADDRESS,
          IDC_LINK_TITLE, IDC_TITLE_LABEL, IDC_ADDRESS_LABEL, IDC_COMMENTS_LABEL, IDC_REFRESH_LABEL, IDC_MINUTES_LABEL})
        ::EnableWindow(Item(id), enable);
}

void CURLOptionsDlg::EnableAddress(bool titleEnable) {
    ::EnableWindow(Item(IDC_LINK_TITLE), titleEnable);
    ::EnableWindow(Item(IDC_LINK_ADDRESS), FALSE);
}

bool CURLOptionsDlg::HasSelection() const {
    HWND edit = FocusedEdit();
    if (!edit) return false;
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

LinkPageValues CURLOptionsDlg::Values() const {
    LinkPageValues v;
    v.title = GetTitle();
    v.address = GetAddress();
    v.comments = GetComments();
    v.separateBrowser = GetSeparateBrowser();
    v.refresh = ::IsDlgButtonChecked(hwnd(), IDC_REFRESH_ON) == BST_CHECKED;
    v.minutes = ItemText(IDC_REFRESH_MINUTES);
    return v;
}

bool CURLOptionsDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_REFRESH_ON && code == BN_CLICKED) {
        ApplyRefreshRule();
        return true;
    }
    if (IsPageEdit(id) && code == EN_SETFOCUS) {
        focusedEdit_ = id;
        if (id == IDC_LINK_TITLE) {
            previousTitle_ = GetTitle();
            focusGeneration_ = generation_;
        }
        if (onEditFocus_) onEditFocus_();
        return true;
    }
    if (IsPageEdit(id) && code == EN_KILLFOCUS) {
        focusedEdit_ = 0;
        if (id == IDC_LINK_TITLE) OnTitleKillFocus();
        return true;
    }
    return fw::Dialog::OnCommand(id, code, control);
}

void CURLOptionsDlg::OnTitleKillFocus() {
    // Values filled in while the edit had the focus were not typed: nothing to tell.
    if (focusGeneration_ != generation_) return;
    const std::string title = GetTitle();
    if (title == previousTitle_) return;
    previousTitle_ = title;
    pendingTitle_ = title;
    pendingGeneration_ = generation_;
    ::PostMessageA(hwnd(), kTitleChanged, 0, 0);
}

LRESULT CURLOptionsDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTitleChanged) {
        // A selection that moved since wrote the title with its own save.
        if (document_ && pendingGeneration_ == generation_) document_->OnChangeURLTitle(pendingTitle_);
        return 0;
    }
    return Default(msg, wParam, lParam);
}

void CURLOptionsDlg::OnOK() {
    // Enter walks title, address, comments; the page never closes.
    HWND focus = ::GetFocus();
    if (focus == Item(IDC_LINK_TITLE))
        ::SetFocus(Item(IDC_LINK_ADDRESS));
    else if (focus == Item(IDC_LINK_ADDRESS))
        ::SetFocus(Item(IDC_LINK_COMMENTS));
}
