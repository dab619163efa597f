// The About box: the program's picture on white, and the version line.
#pragma once

#include "HyperLink.h"

#include "fw/dialog.h"
#include "fw/handles.h"

class CAboutDlg : public fw::Dialog {
public:
    CAboutDlg();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CTransparentBitmap picture_;
    fw::Brush white_;
};
