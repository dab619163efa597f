#include "DesktopView.h"

#include "ErrorCodes.h"
#include "resource.h"

#include <algorithm>

CDesktopView::CDesktopView(CRectStatus& status) : FormView(IDD_DESKTOP), status_(status) {}

CDesktopView::~CDesktopView() {
    // The miniatures are the view's children: they go while it still exists.
    browsers_.clear();
}

CNimbDoc* CDesktopView::Doc() const {
    return dynamic_cast<CNimbDoc*>(GetDocument());
}

desktop::Scale CDesktopView::Scale() const {
    fw::WindowDc dc(hwnd());
    return desktop::ScaleFor(::GetDeviceCaps(dc.get(), HORZRES), ::GetDeviceCaps(dc.get(), VERTRES));
}

void CDesktopView::GetScale(float* sx, float* sy) const {
    const desktop::Scale scale = Scale();
    *sx = scale.sx;
    *sy = scale.sy;
}

void CDesktopView::ScreenToView(const RECT& rc, RECT* out) const {
    *out = desktop::ScreenToView(rc, Scale());
}

void CDesktopView::ViewToScreen(const RECT& viewRect, const RECT& miniRect, RECT* out) const {
    *out = desktop::ViewToScreen(viewRect, miniRect, Scale());
}

int CDesktopView::ShowBrowser(const CURLEntry* entry, int show, int showRect) {
    CNimbDoc* doc = Doc();
    if (show != 1 || !entry || !doc) return ShowBrowser(entry, nullptr, show, showRect);
    std::unique_ptr<CURLObject> record;
    const int loaded = CLinkStore(doc->ProgramFolder()).LoadURLObject(*entry, &record);
    if (loaded != kErrNone) return loaded;
    return ShowBrowser(entry, record.get(), show, showRect);
}

int CDesktopView::ShowBrowser(const CURLEntry* entry, const CURLObject* record, int show, int showRect) {
    if (show != 1) {
        DestroyBrowsers();
        status_.ClearRectInStatusBar();
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return kErrNone;
    }
    if (!entry) return kErrNone;
    CNimbDoc* doc = Doc();
    if (!doc) return kErrNone;
    auto made = std::make_unique<CMiniBrowserWnd>(*this, doc->ProgramFolder());
    if (!record) return kErrLoadEmptyObject;
    const int loaded = made->MakeFor(*entry, *record);
    if (loaded != kErrNone) return loaded;
    CMiniBrowserWnd& mini = *made;
    browsers_.push_back(std::move(made));
    // An empty or inverted rectangle is no place a browser opens at.
    if (desktop::IsUnusableRect(mini.PlacementRect()))
        PlaceDefault(mini);
    else
        PlaceAtStoredRect(mini);
    showRect_ = showRect != 0;
    // The status bar follows at the repaint.
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    return kErrNone;
}

void CDesktopView::DestroyBrowsers() {
    for (const auto& mini : browsers_) ::ShowWindow(mini->hwnd(), SW_HIDE);
    browsers_.clear();
}

void CDesktopView::PlaceDefault(CMiniBrowserWnd& mini) {
    fw::WindowDc dc(hwnd());
    const RECT screen =
        desktop::DefaultScreenRect(::GetDeviceCaps(dc.get(), HORZRES), ::GetDeviceCaps(dc.get(), VERTRES));
    RECT rc{};
    ScreenToView(screen, &rc);
    Place(mini, rc);
}

void CDesktopView::PlaceAtStoredRect(CMiniBrowserWnd& mini) {
    RECT rc{};
    ScreenToView(mini.PlacementRect(), &rc);
    Place(mini, rc);
}

void CDesktopView::Place(CMiniBrowserWnd& mini, const RECT& viewRect) {
    ::MoveWindow(mini.hwnd(), viewRect.left, viewRect.top, viewRect.right - viewRect.left,
                 viewRect.bottom - viewRect.top, TRUE);
    const RECT placed = mini.WindowRect();
    mini.PrepareImage(placed.right - placed.left, placed.bottom - placed.top);
    ::ShowWindow(mini.hwnd(), SW_SHOWNA);
}

int CDesktopView::SaveWindowRects(const CURLEntryList& selection, std::vector<CURLObject>& records) {
    const RECT viewRect = WindowRect();
    for (size_t i = 0; i < selection.size() && i < records.size(); ++i) {
        const CURLEntry& entry = selection[i];
        for (const auto& mini : browsers_)
            if (mini->Entry().group != entry.group) return kErrFindChildWindow;
        CMiniBrowserWnd* own = nullptr;
        for (const auto& mini : browsers_)
            if (mini->Entry().name == entry.name) {
                own = mini.get();
                break;
            }
        // A link whose miniature could not be made keeps what it stores.
        if (!own) continue;
        RECT rc = own->WriteBackRect();
        if (own->Moved()) ViewToScreen(viewRect, own->WindowRect(), &rc);
        records[i].link.windowRect = URLRect{rc.left, rc.top, rc.right, rc.bottom};
    }
    return kErrNone;
}

int CDesktopView::ReloadSkin(const std::string& skin) {
    if (browsers_.size() != 1) return kErrNone;
    CMiniBrowserWnd& mini = *browsers_.front();
    ::ShowWindow(mini.hwnd(), SW_HIDE);
    mini.ReloadSkin(skin);
    ::ShowWindow(mini.hwnd(), SW_SHOWNA);
    return kErrNone;
}

void CDesktopView::OnDraw(HDC) {
    const RECT viewRect = WindowRect();
    for (const auto& mini : browsers_) {
        RECT rc{};
        ViewToScreen(viewRect, mini->WindowRect(), &rc);
        if (showRect_) {
            status_.ShowRectInStatusBar(rc);
        } else {
            // The members of a group stay where they are stored.
            if (::IsWindowEnabled(mini->hwnd())) ::EnableWindow(mini->hwnd(), FALSE);
            status_.ClearRectInStatusBar();
        }
    }
}

void CDesktopView::OnInitialUpdate() {
    FormView::OnInitialUpdate();
    if (CNimbDoc* doc = Doc()) doc->SetDesktopPane(this);
    FitParentToScreenPicture();
}

void CDesktopView::FitParentToScreenPicture() {
    // The form is the screen picture, 420 x 320 pixels. Its template's
    // dialog units give that only with the font it was drawn for: Wine's own
    // fonts make it 24 rows shorter, which would shrink the frame with it.
    fw::FrameWindow* frame = ParentFrame();
    if (!frame || !hwnd()) return;
    frame->RecalcLayout();
    const RECT client = ClientRect();
    const int dx = std::min(0, static_cast<int>(desktop::kModelWidth - client.right));
    const int dy = std::min(0, static_cast<int>(desktop::kModelHeight - client.bottom));
    if (dx == 0 && dy == 0) return;
    const RECT outer = frame->WindowRect();
    ::SetWindowPos(frame->hwnd(), nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CDesktopView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            fw::PaintDc dc(hwnd());
            OnDraw(dc.get());
            return 0;
        }
        case WM_DESTROY:
            if (CNimbDoc* doc = Doc(); doc && doc->DesktopPane() == this) doc->SetDesktopPane(nullptr);
            break;
        default:
            break;
    }
    return FormView::HandleMessage(msg, wParam, lParam);
}

bool CDesktopView::UpdateCommand(fw::CommandUI& ui) {
    return UpdateLaunch(ui);
}

bool CDesktopView::HandleCommand(UINT id) {
    fw::CommandUI ui(id);
    if (!UpdateLaunch(ui)) return false;
    // The state may have changed since the menu opened.
    if (ui.Enabled()) OnLaunch();
    return true;
}
