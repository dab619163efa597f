// The skin page of the property pane (dialog 232): the skins a link can wear
// (the built-in "Vessa" and every folder directly inside Skins, as the
// browser's Skins menu lists them), the chosen skin's designer comment, and a
// link to the skin download page. A skin chosen in the list redraws the
// desktop's miniature at once; it reaches the link only when the link is saved.
#pragma once

#include "HyperLink.h"

#include "fw/dialog.h"

#include <string>

class CNimbDoc;

class CSkinOptionsDlg : public fw::Dialog {
public:
    // programFolder: where Skins lies.
    CSkinOptionsDlg(CNimbDoc* document, std::string programFolder);

    // reset: no skin selected, no comment; then the labels, list and comment follow enable.
    void EnableControls(bool reset, bool enable);
    // Empties the list and fills it again, nothing selected.
    void FillSkinList();
    // Selects the skin (ignoring case) and shows its comment; an empty or
    // unknown name selects "Vessa" and leaves the comment.
    void SelectSkin(const std::string& name);
    // The selected skin's name; "vessa" for the built-in entry or none.
    std::string GetSelectedSkin() const;
    void ShowSkinComments(const std::string& name);

    const std::string& SkinsFolder() const { return skinsFolder_; }
    const CHyperLink& DownloadLink() const { return link_; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnDropDown();
    void OnCloseUp();
    void CreateDownloadLink();

    CNimbDoc* document_;
    std::string skinsFolder_;
    std::string previousSkin_;
    CHyperLink link_;
};
