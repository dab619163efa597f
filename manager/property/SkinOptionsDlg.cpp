#include "SkinOptionsDlg.h"

#include "AppConstants.h"
#include "NimbDoc.h"
#include "PropertyIds.h"
#include "StringUtil.h"

#include "fw/handles.h"

#include <vector>

namespace {

constexpr char kBuiltInSkin[] = "vessa";
constexpr char kBuiltInComment[] = "This is the Default Skin.";
constexpr char kNoComment[] = "No Comments";
constexpr DWORD kCommentBuffer = 2048;
// The download link: a visible static with notification and without prefix processing.
constexpr DWORD kLinkStyle = 0x50000180;
constexpr int kLinkId = 0xFFFF;
constexpr COLORREF kLinkBlue = 0x00FF0000;

// The folders directly inside Skins; a folder named like the built-in skin could never be chosen.
std::vector<std::string> SkinFolders(const std::string& skinsFolder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    fw::FindHandle find(::FindFirstFileA((skinsFolder + "\\*").c_str(), &found));
    if (!find) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        const std::string name = found.cFileName;
        if (name == "." || name == ".." || EqualsNoCase(name, kBuiltInSkin)) continue;
        names.push_back(name);
    } while (::FindNextFileA(find.get(), &found));
    return names;
}

}  // namespace

CSkinOptionsDlg::CSkinOptionsDlg(CNimbDoc* document, std::string programFolder)
    : fw::Dialog(IDD_SKIN_OPTIONS),
      document_(document),
      skinsFolder_(std::move(programFolder) + AppConstants::kSkinsFolder) {}

BOOL CSkinOptionsDlg::OnInitDialog() {
    EnableControls(true, false);
    FillSkinList();
    CreateDownloadLink();
    return FALSE;
}

void CSkinOptionsDlg::CreateDownloadLink() {
    RECT rc{};
    ::GetWindowRect(Item(IDC_SKIN_LINK_PLACE), &rc);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    HWND link = ::CreateWindowExA(
        0, "STATIC", AppConstants::kSkinsPage, kLinkStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
        hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLinkId)), ::GetModuleHandleA(nullptr), nullptr);
    if (!link || !link_.Subclass(link)) return;
    link_.SetLink(CHyperLink::kWeb, AppConstants::kSkinsPage, "", 0);
    // Made once here: the control keeps its font for as long as it lives.
    fw::WindowDc dc(hwnd());
    if (dc) link_.CreateLinkFont(dc.get(), 8);
}

void CSkinOptionsDlg::EnableControls(bool reset, bool enable) {
    if (reset) {
        ::SendMessageA(Item(IDC_SKIN_LIST), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetItemText(IDC_SKIN_COMMENTS, "");
    }
    for (int id : {IDC_SKIN_NAME_LABEL, IDC_SKIN_COMMENTS_LABEL, IDC_SKIN_LIST, IDC_SKIN_COMMENTS})
        ::EnableWindow(Item(id), enable);
}

void CSkinOptionsDlg::FillSkinList() {
    HWND list = Item(IDC_SKIN_LIST);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AppConstants::kProductName));
    for (const std::string& name : SkinFolders(skinsFolder_))
        ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void CSkinOptionsDlg::SelectSkin(const std::string& name) {
    HWND list = Item(IDC_SKIN_LIST);
    if (!name.empty()) {
        const LRESULT found =
            ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
        if (found != CB_ERR) {
            ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
            ShowSkinComments(name);
            return;
        }
    }
    const LRESULT builtIn = ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(AppConstants::kProductName));
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(builtIn), 0);
}

std::string CSkinOptionsDlg::GetSelectedSkin() const {
    HWND list = Item(IDC_SKIN_LIST);
    const LRESULT selected = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return kBuiltInSkin;
    const LRESULT length = ::SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length <= 0) return kBuiltInSkin;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got =
        ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    // The built-in entry shows the product's name; links store the skin's.
    if (text.empty() || EqualsNoCase(text, AppConstants::kProductName)) return kBuiltInSkin;
    return text;
}

void CSkinOptionsDlg::ShowSkinComments(const std::string& name) {
    if (EqualsNoCase(name, kBuiltInSkin)) {
        SetItemText(IDC_SKIN_COMMENTS, kBuiltInComment);
        return;
    }
    std::vector<char> buffer(kCommentBuffer, '\0');
    const std::string ini = skinsFolder_ + "\\" + name + "\\Data.ini";
    ::GetPrivateProfileStringA("GENERAL", "COMMENTS", kNoComment, buffer.data(), kCommentBuffer, ini.c_str());
    SetItemText(IDC_SKIN_COMMENTS, buffer.data());
}

void CSkinOptionsDlg::OnDropDown() {
    previousSkin_ = GetSelectedSkin();
    FillSkinList();
}

void CSkinOptionsDlg::OnCloseUp() {
    // Closed without a choice: the skin it had stays.
    if (::SendMessageA(Item(IDC_SKIN_LIST), CB_GETCURSEL, 0, 0) == CB_ERR) {
        SelectSkin(previousSkin_);
        return;
    }
    const std::string skin = GetSelectedSkin();
    if (!EqualsNoCase(skin, previousSkin_)) {
        if (document_) document_->ReloadDesktopSkin(skin);
        ShowSkinComments(skin);
    }
    if (EqualsNoCase(skin, kBuiltInSkin)) SelectSkin(kBuiltInSkin);
}

bool CSkinOptionsDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_SKIN_LIST && code == CBN_DROPDOWN) {
        OnDropDown();
        return true;
    }
    if (id == IDC_SKIN_LIST && code == CBN_CLOSEUP) {
        OnCloseUp();
        return true;
    }
    return fw::Dialog::OnCommand(id, code, control);
}

LRESULT CSkinOptionsDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        if (msg == WM_CTLCOLORSTATIC) link_.CtlColorForward(dc, reinterpret_cast<HWND>(lParam), kLinkBlue);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return Default(msg, wParam, lParam);
}
