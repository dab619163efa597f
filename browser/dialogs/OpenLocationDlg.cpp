#include "OpenLocationDlg.h"

#include "AppConstants.h"
#include "RegSettings.h"

#include <commdlg.h>

#include <vector>

std::string FirstSelectedPath(const char* buffer, size_t size) {
    const std::string first(buffer, strnlen(buffer, size));
    const size_t next = first.size() + 1;
    if (first.empty() || next >= size || buffer[next] == '\0') return first;
    // Several files: a folder, then names.
    const std::string name(buffer + next, strnlen(buffer + next, size - next));
    if (!first.empty() && first.back() == '\\') return first + name;
    return first + "\\" + name;
}

BOOL COpenLocationDlg::OnInitDialog() {
    SetItemText(kOpenPrompt, std::string("Type the Internet address of a document or folder, and ") +
                                 AppConstants::kProductName + " will open it for you");
    FillAddressHistory();
    return TRUE;
}

void COpenLocationDlg::FillAddressHistory() {
    HWND box = Item(kOpenAddress);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> history;
    CRegSettings().GetTypedURLs(&history);
    for (const std::string& entry : history)
        ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void COpenLocationDlg::OnBrowse() {
    std::string filter = kOpenFilter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    std::vector<char> file(32 * 1024, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    if (!::GetOpenFileNameA(&ofn)) return;
    SetItemText(kOpenAddress, FirstSelectedPath(file.data(), file.size()));
}

void COpenLocationDlg::OnOK() {
    address_ = ItemText(kOpenAddress);
    EndDialog(IDOK);
}

bool COpenLocationDlg::OnCommand(int id, int code, HWND control) {
    if (id == kOpenBrowse && code == BN_CLICKED) {
        OnBrowse();
        return true;
    }
    return fw::Dialog::OnCommand(id, code, control);
}
