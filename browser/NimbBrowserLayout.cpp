// Control placement from the skin, proportional layout as the window is
// sized, the status indicators, and changing the skin at run time.
#include "NimbBrowserDlg.h"

#include "AppConstants.h"
#include "StringUtil.h"

namespace {

constexpr int kBannerWidth = 468;
constexpr int kBannerHeight = 60;
constexpr int kRowHeight = 20;
constexpr int kIndicatorWidth = 17;

void MoveControl(HWND control, int x, int y, int width, int height) {
    ::MoveWindow(control, x, y, width, height, TRUE);
}

}  // namespace

ErrorCode CNimbBrowserDlg::SetAllControlsPlacements(const CSkinFile& skin) {
    for (CSkinButton* button : liveButtons_) {
        const RECT& r = button->Rect();
        ::SetWindowPos(button->hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        button->SetTooltipText(button->Tooltip(), true);
    }

    if (const ErrorCode rc = skin.ReadViewer(&viewerRect_); rc != 0) return rc;

    CSkinButton& go = Button(IDC_GO);
    go.SetTooltipText(go.Tooltip(), true);
    const RECT addressRect = fw::ScreenRectOf(Item(IDC_ADDRESS));
    const int addressHeight = addressRect.bottom - addressRect.top;
    RECT goClient{};
    ::GetClientRect(go.hwnd(), &goClient);
    const int goWidth = goClient.right;
    const int goHeight = goClient.bottom;

    statusHeight_ = kRowHeight;
    const int viewerWidth = viewerRect_.right - viewerRect_.left;
    MoveControl(Item(IDC_EXPLORER), viewerRect_.left, viewerRect_.top, viewerWidth,
                viewerRect_.bottom - viewerRect_.top);

    // The window width at which the viewer, scaled with the window, is 468 wide.
    const float f = static_cast<float>(kBannerWidth) / static_cast<float>(viewerWidth);
    const float right = f * static_cast<float>(skin_.SkinWidth() - viewerRect_.right);
    const float left = f * static_cast<float>(viewerRect_.left);
    minTrackWidth_ = static_cast<int>(f * static_cast<float>(viewerWidth) + right + left);

    MoveControl(Item(IDC_STATUS), viewerRect_.left, viewerRect_.bottom, viewerWidth, statusHeight_);
    MoveControl(Item(IDC_ADDRESS), viewerRect_.left, viewerRect_.top - addressHeight,
                viewerRect_.right - goWidth - viewerRect_.left, 2 * addressHeight + 100);
    MoveControl(go.hwnd(), viewerRect_.right - goWidth, viewerRect_.top - addressHeight, goWidth, goHeight);
    ::ShowWindow(go.hwnd(), SW_SHOWNOACTIVATE);

    if (const ErrorCode rc = skin.ReadTitleBar(&titleRect_); rc != 0) return rc;
    MoveControl(Item(IDC_TITLE), titleRect_.left, titleRect_.top, titleRect_.right - titleRect_.left,
                titleRect_.bottom - titleRect_.top);
    return kErrNone;
}

void CNimbBrowserDlg::RecordControlProportions() {
    const int w = skin_.SkinWidth();
    const int h = skin_.SkinHeight();
    if (w <= 0 || h <= 0) return;
    const float fx = 100.0f / static_cast<float>(w);
    const float fy = 100.0f / static_cast<float>(h);
    viewerProportion_ = {static_cast<float>(viewerRect_.left) * fx, static_cast<float>(viewerRect_.top) * fy,
                         static_cast<float>(viewerRect_.right - viewerRect_.left) * fx,
                         static_cast<float>(viewerRect_.bottom - viewerRect_.top) * fy};
    // Positions relative to the window's own corner, wherever the window lies.
    const RECT window = fw::ScreenRectOf(hwnd());
    for (size_t i = 0; i < kProportionedControls.size(); ++i) {
        const RECT r = fw::ScreenRectOf(Item(kProportionedControls[i]));
        proportions_[i] = {static_cast<float>(r.left - window.left) * fx, static_cast<float>(r.top - window.top) * fy,
                           static_cast<float>(r.right - r.left) * fx, static_cast<float>(r.bottom - r.top) * fy};
    }
}

const CNimbBrowserDlg::Proportion& CNimbBrowserDlg::ControlProportion(int controlId) const {
    for (size_t i = 0; i < kProportionedControls.size(); ++i)
        if (kProportionedControls[i] == controlId) return proportions_[i];
    return viewerProportion_;
}

void CNimbBrowserDlg::ApplyProportionalLayout(int cx, int cy) {
    if (!layoutReady_ || skin_.SkinWidth() <= 0 || skin_.SkinHeight() <= 0) return;
    // Every control moves in one batch: one pass over the window system.
    defer_ = ::BeginDeferWindowPos(40);
    RECT row{};
    PlaceAddressRow(cx, cy, &row);
    PlaceViewer(cx, cy, row);
    PlaceAdBanner(row);
    PlaceStatusRow();
    PlaceTitleBar(cx, cy);
    PlaceSkinButtons(cx, cy);
    // Drawing waits until every control stands in its new place.
    const bool freeze = ::IsWindowVisible(hwnd()) != FALSE;
    if (freeze) ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    if (defer_) ::EndDeferWindowPos(defer_);
    defer_ = nullptr;
    if (freeze) {
        ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    ::UpdateWindow(Item(IDC_BANNER));
    if (layoutCount_++ > 0) RedrawLayout();
}

void CNimbBrowserDlg::Place(HWND control, int x, int y, int width, int height) {
    if (defer_) {
        if (HDWP next = ::DeferWindowPos(defer_, control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE)) {
            defer_ = next;
            return;
        }
        defer_ = nullptr;  // the batch failed and is gone: move one by one from here
    }
    MoveControl(control, x, y, width, height);
}

void CNimbBrowserDlg::PlaceAddressRow(int cx, int cy, RECT* row) {
    const float fcx = static_cast<float>(cx);
    const float fcy = static_cast<float>(cy);
    const int top = static_cast<int>(viewerProportion_.y * 0.01f * fcy) + kBannerHeight;
    const int left = static_cast<int>(fcx * (viewerProportion_.x * 0.01f));
    HWND go = Item(IDC_GO);
    RECT goRect = fw::ScreenRectOf(go);
    const int goWidth = goRect.right - goRect.left;
    const int goHeight = goRect.bottom - goRect.top;
    const int goLeft = static_cast<int>(static_cast<float>(left) + fcx * (viewerProportion_.width * 0.01f)) - goWidth;
    Place(Item(IDC_ADDRESS), left, top, goLeft - 1 - left, kRowHeight);
    Place(go, goLeft, top, goWidth, goHeight);
    *row = RECT{left, top, goLeft - 1, top + kRowHeight};
}

void CNimbBrowserDlg::PlaceViewer(int cx, int cy, const RECT& row) {
    const int left = row.left;
    const int top = row.top + kRowHeight;
    const int right = static_cast<int>(viewerProportion_.width * 0.01f * static_cast<float>(cx) + static_cast<float>(left));
    const int bottom = static_cast<int>(static_cast<float>(top) + viewerProportion_.height * 0.01f * static_cast<float>(cy) -
                                        static_cast<float>(kRowHeight) - static_cast<float>(kBannerHeight)) -
                       kRowHeight;
    viewerRect_ = RECT{left, top, right, bottom};
    Place(Item(IDC_EXPLORER), left, top, right - left, bottom - top);
}

void CNimbBrowserDlg::PlaceAdBanner(const RECT& row) {
    if (!banner_.hwnd()) return;  // no banner: its place stays empty
    const int viewerWidth = viewerRect_.right - viewerRect_.left;
    HWND banner = Item(IDC_BANNER);
    Place(banner, row.left + (viewerWidth - kBannerWidth) / 2, row.top - kBannerHeight - 2, kBannerWidth,
          kBannerHeight);
}

void CNimbBrowserDlg::PlaceStatusRow() {
    const int l = viewerRect_.left, r = viewerRect_.right, b = viewerRect_.bottom;
    Place(Item(IDC_STATUS), l, b, r - l - 2 * kIndicatorWidth, kRowHeight);
    offlineCell_ = RECT{r - 2 * kIndicatorWidth, b, r - kIndicatorWidth, b + kRowHeight};
    secureCell_ = RECT{r - kIndicatorWidth, b, r, b + kRowHeight};
    HWND shown = Item(offline_ ? IDC_OFFLINE_PICTURE : IDC_ONLINE_PICTURE);
    ::ShowWindow(Item(offline_ ? IDC_ONLINE_PICTURE : IDC_OFFLINE_PICTURE), SW_HIDE);
    ::ShowWindow(shown, SW_SHOWNOACTIVATE);
    Place(shown, r - 2 * kIndicatorWidth, b, kIndicatorWidth, kRowHeight);
    Place(Item(secure_ ? IDC_SECURE_PICTURE : IDC_NOTSECURE_PICTURE), r - kIndicatorWidth, b, kIndicatorWidth,
                kRowHeight);
}

void CNimbBrowserDlg::PlaceTitleBar(int cx, int cy) {
    const Proportion& p = ControlProportion(IDC_TITLE);
    HWND title = Item(IDC_TITLE);
    const RECT current = fw::ScreenRectOf(title);
    const int left = static_cast<int>(static_cast<float>(cx) * (p.x * 0.01f));
    const int top = static_cast<int>(static_cast<float>(cy) * (p.y * 0.01f));
    const int width = static_cast<int>(static_cast<float>(cx) * (p.width * 0.01f) + static_cast<float>(left)) - left;
    Place(title, left, top, width, current.bottom - current.top);
}

void CNimbBrowserDlg::PlaceSkinButtons(int cx, int cy) {
    for (size_t i = 1; i < kProportionedControls.size(); ++i) {
        const int id = kProportionedControls[i];
        const Proportion& p = proportions_[i];
        const bool scaled = Button(id).LayoutFlag() == 1;
        PlaceControlScaled(cx, cy, Item(id), p.x, p.y, scaled ? p.width : 0.0f, scaled ? p.height : 0.0f);
    }
}

void CNimbBrowserDlg::PlaceControlScaled(int cx, int cy, HWND control, float x, float y, float w, float h) {
    const int left = static_cast<int>(x * 0.01f * static_cast<float>(cx));
    const int top = static_cast<int>(y * 0.01f * static_cast<float>(cy));
    int width, height;
    if (w != 0.0f && h != 0.0f) {
        width = static_cast<int>(static_cast<float>(cx) * w * 0.01f + static_cast<float>(left)) - left;
        height = static_cast<int>(static_cast<float>(cy) * h * 0.01f + static_cast<float>(top)) - top;
    } else {
        const RECT r = fw::ScreenRectOf(control);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    Place(control, left, top, width, height);
}

void CNimbBrowserDlg::RedrawLayout() {
    for (size_t i = 1; i < kProportionedControls.size(); ++i)
        ::RedrawWindow(Item(kProportionedControls[i]), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CNimbBrowserDlg::ShowIndicator(int hiddenId, int shownId, const RECT& cell) {
    ::ShowWindow(Item(hiddenId), SW_HIDE);
    HWND shown = Item(shownId);
    MoveControl(shown, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top);
    ::ShowWindow(shown, SW_SHOWNOACTIVATE);
    ::RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CNimbBrowserDlg::ShowOfflineIndicator(bool offline) {
    offline_ = offline;
    ShowIndicator(offline ? IDC_ONLINE_PICTURE : IDC_OFFLINE_PICTURE,
                  offline ? IDC_OFFLINE_PICTURE : IDC_ONLINE_PICTURE, offlineCell_);
}

void CNimbBrowserDlg::ShowSecureIndicator(bool secure) {
    secure_ = secure;
    ShowIndicator(secure ? IDC_NOTSECURE_PICTURE : IDC_SECURE_PICTURE,
                  secure ? IDC_SECURE_PICTURE : IDC_NOTSECURE_PICTURE, secureCell_);
}

void CNimbBrowserDlg::ChangeSkin(const std::string& skinName) {
    if (EqualsNoCase(skinName, skinFile_.Name())) return;
    SetSkin(skinName);
    if (LoadSkinBackground() != 0) SwitchToBuiltInSkin();

    FillDefaultButtonList();
    if (const ErrorCode rc = SetupBitmapButtons(skinFile_); rc != 0) {
        errors_.ReportError(rc, "CNimbBrowserDlg::OnInitDialog()");
        LoadBuiltInSkin(false);
    }

    // The window stays where it is, drawing frozen while the controls move:
    // proportions are measured from the window's own corner, so it need not
    // go to the screen origin, and hiding a shown window costs Wine seconds.
    const bool visible = ::IsWindowVisible(hwnd()) != FALSE;
    if (visible) ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    if (const ErrorCode rc = SetAllControlsPlacements(skinFile_); rc != 0) {
        if (visible) ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
        errors_.ReportError(rc, "CNimbBrowserDlg::OnInitDialog()");
        if (visible) ::SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
        LoadBuiltInSkin(true);
    }
    if (adFlag_) StartAdClient();
    RecordControlProportions();

    // The new skin is laid out for the window's current client size.
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    HandleNewSize(client.right, client.bottom);
    if (visible) {
        ::SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}
