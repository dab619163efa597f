// The desktop pane: a 420 x 320 picture of the screen with a miniature
// browser window for each link of the tree's selection, where that link's
// browser will open. Moving or sizing a miniature changes the rectangle the
// link stores; the rectangle is shown in the frame's status bar.
#pragma once

#include "DesktopGeometry.h"
#include "MiniBrowserWnd.h"
#include "NimbDoc.h"

#include "fw/form_view.h"

#include <memory>
#include <string>
#include <vector>

// Where the pane shows a miniature's screen rectangle: the frame's status bar.
class CRectStatus {
public:
    virtual ~CRectStatus() = default;
    virtual void ShowRectInStatusBar(const RECT& rc) = 0;
    virtual void ClearRectInStatusBar() = 0;
};

class CDesktopView : public fw::FormView, public CDesktopPane {
public:
    explicit CDesktopView(CRectStatus& status);
    ~CDesktopView() override;

    // CDesktopPane.
    int ShowBrowser(const CURLEntry* entry, const CURLObject* record, int show, int showRect) override;
    // The same with the entry's record read from its file.
    int ShowBrowser(const CURLEntry* entry, int show, int showRect);
    int SaveWindowRects(const CURLEntryList& selection, std::vector<CURLObject>& records) override;
    int ReloadSkin(const std::string& skin) override;

    // Hides every miniature, then destroys them.
    void DestroyBrowsers();

    void PlaceDefault(CMiniBrowserWnd& mini);
    // Shrinks the frame, never grows it, until this pane is the screen picture's size.
    void FitParentToScreenPicture();
    void PlaceAtStoredRect(CMiniBrowserWnd& mini);
    void GetScale(float* sx, float* sy) const;
    // Screen rectangle of a miniature from the view's and its window rectangles.
    void ViewToScreen(const RECT& viewRect, const RECT& miniRect, RECT* out) const;
    void ScreenToView(const RECT& rc, RECT* out) const;

    // At every repaint: the single link's rectangle into the status bar, or
    // the members of a group fixed in place and no rectangle.
    void OnDraw(HDC dc);
    void OnInitialUpdate() override;

    bool UpdateCommand(fw::CommandUI& ui) override;
    bool HandleCommand(UINT id) override;

    const std::vector<std::unique_ptr<CMiniBrowserWnd>>& Browsers() const { return browsers_; }
    bool ShowsRect() const { return showRect_; }
    CNimbDoc* Doc() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    desktop::Scale Scale() const;
    void Place(CMiniBrowserWnd& mini, const RECT& viewRect);
    // Launch from this pane (commands 32776 and 1070): DesktopLaunch.cpp.
    bool UpdateLaunch(fw::CommandUI& ui);
    void OnLaunch();

    CRectStatus& status_;
    std::vector<std::unique_ptr<CMiniBrowserWnd>> browsers_;
    bool showRect_ = true;
};
