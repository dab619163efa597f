// The lower right pane: the selected link's settings on three pages behind an
// owner-drawn tab control (link, skin, and font and colour options). It moves
// values between a link record and the pages for the document, carries the
// Launch command, and Cut, Copy and Paste for the link page's edits.
//
// A page value the user did not change is never read back over the record:
// the document starts from the stored record, so what a control cannot show
// (a flag stored as 2, seconds that are not whole minutes) stays as stored.
#pragma once

#include "NimbDoc.h"
#include "FontColorOptionsDlg.h"
#include "PropertyTabCtrl.h"
#include "SkinOptionsDlg.h"
#include "URLOptionsDlg.h"

#include "fw/frame.h"
#include "fw/tab_pages.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CPropertyView : public fw::View, public CPropertyPane {
public:
    explicit CPropertyView(CNimbDoc& document);
    ~CPropertyView() override;

    // CPropertyPane
    void EnablePages(int reset, int enable, int kind, int titleEnable) override;
    int ShowLinkProperties(const CURLEntry& entry, const CURLObject& record) override;
    int SavePagesToLink(const CURLEntryList& selection, std::vector<CURLObject>& records) override;

    void FillLinkPage(const CURLObject& record, int kind);
    // true when the title was changed on the page.
    bool ReadLinkPage(CURLObject& record);
    void FillSkinPage(const CURLObject& record);
    void FillFontPage(const CURLObject& record);
    void ReadFontPage(CURLObject& record);
    void ReadSkinPage(CURLObject& record);

    // The document saves the current link and launches the selection (menu, toolbar and tree Launch).
    void Launch();
    static bool LaunchEnabled(const CNimbDoc& document);

    CURLOptionsDlg& LinkPage() const { return *linkPage_; }
    CSkinOptionsDlg& SkinPage() const { return *skinPage_; }
    CFontColorOptionsDlg& FontPage() const { return *fontPage_; }
    const CPropertyTabCtrl& TabCtrl() const { return tabs_; }
    const fw::TabPages& Pages() const { return pages_; }

    bool UpdateCommand(fw::CommandUI& ui) override;
    bool HandleCommand(UINT id) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int OnCreate();
    void BecomeActive();
    void RetitleSavedLinks();

    CNimbDoc& document_;
    CPropertyTabCtrl tabs_;
    std::unique_ptr<CURLOptionsDlg> linkPage_;
    std::unique_ptr<CSkinOptionsDlg> skinPage_;
    std::unique_ptr<CFontColorOptionsDlg> fontPage_;
    fw::TabPages pages_;
    // What the link page showed after its last fill, reset or save.
    LinkPageValues shown_;
    // The skin the skin page showed after its last fill, reset or save.
    std::string shownSkin_;
    // What the font page showed (the stored values it could show) after its last fill or save.
    FontPageValues shownFont_;
    // Links saved with a new title whose tree items still show the old one.
    std::vector<std::pair<CURLEntry, std::string>> retitled_;
};
