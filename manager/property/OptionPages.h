// The skin page (dialog 232) and the font and colour page (dialog 139). Their
// controls come with the combo control's pages; until then they fill and read
// nothing, so a link saved through the pages keeps its stored skin, font and colours.
#pragma once

#include "PropertyIds.h"
#include "URLObject.h"

#include "fw/dialog.h"

class CNimbDoc;

class CSkinOptionsDlg : public fw::Dialog {
public:
    explicit CSkinOptionsDlg(CNimbDoc* document) : fw::Dialog(IDD_SKIN_OPTIONS), document_(document) {}
    void EnableControls(bool /*reset*/, bool /*enable*/) {}
    void FillSkinPage(const CURLObject& /*record*/) {}
    void ReadSkinPage(CURLObject& /*record*/) const {}

protected:
    void OnOK() override {}
    void OnCancel() override {}

private:
    [[maybe_unused]] CNimbDoc* document_;
};

class CFontColorOptionsDlg : public fw::Dialog {
public:
    CFontColorOptionsDlg() : fw::Dialog(IDD_FONT_COLOR_OPTIONS) {}
    void EnableControls(bool /*enable*/) {}
    void FillFontPage(const CURLObject& /*record*/) {}
    void ReadFontPage(CURLObject& /*record*/) const {}

protected:
    void OnOK() override {}
    void OnCancel() override {}
};
