#include "ConfirmDlg.h"

#include "resource.h"

#include "fw/msgbox.h"

CConfirmDlg::CConfirmDlg(HWND parent, std::string text)
    : fw::Dialog(IDD_CONFIRM), parent_(parent), m_strText(std::move(text)) {}

BOOL CConfirmDlg::OnInitDialog() {
    SetItemText(IDC_CONFIRM_TEXT, m_strText);
    // The program's name, as on its message boxes: "Vessa Manager" is how
    // other programs find the main window, and a question must not answer to it.
    ::SetWindowTextA(hwnd(), fw::ProgramName().c_str());
    return TRUE;
}

void CConfirmDlg::RecordBox() {
    m_bDontShowAgain = ::SendMessageA(Item(IDC_DONT_SHOW_AGAIN), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CConfirmDlg::OnOK() {
    RecordBox();
    EndDialog(IDOK);
}

void CConfirmDlg::OnCancel() {
    RecordBox();
    EndDialog(IDCANCEL);
}
