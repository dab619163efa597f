// A Yes/No question with a "Do not show this again" box; the box's state is
// kept whatever the answer.
#pragma once

#include "fw/dialog.h"

#include <string>

class CConfirmDlg : public fw::Dialog {
public:
    CConfirmDlg(HWND parent, std::string text);

    // IDOK for Yes, IDCANCEL for No or Esc.
    INT_PTR DoModal() { return fw::Dialog::DoModal(parent_); }
    bool GetDontShowAgain() const { return m_bDontShowAgain; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void RecordBox();

    HWND parent_;
    std::string m_strText;
    bool m_bDontShowAgain = false;
};
