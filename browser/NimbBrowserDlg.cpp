// The main window's start-up, window behaviour (drag, size, activation,
// painting, first show) and the ways it closes.
#include "NimbBrowserDlg.h"

#include "AppConstants.h"
#include "LinkWindowPlace.h"
#include "NimbBrowserDlgAutoProxy.h"
#include "StringUtil.h"
#include "DefaultBrowserDlg.h"

#include <windowsx.h>

namespace {

constexpr int kOutline = 3;  // width and height of the dragging and sizing outlines

// The 3-pixel rim of a region: the region less its erosion by 3 pixels in each direction.
fw::Region RimOf(HRGN region) {
    fw::Region inner(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(inner.get(), region, nullptr, RGN_COPY);
    const POINT shifts[] = {{kOutline, 0}, {-kOutline, 0}, {0, kOutline}, {0, -kOutline}};
    for (const POINT& shift : shifts) {
        fw::Region moved(::CreateRectRgn(0, 0, 0, 0));
        ::CombineRgn(moved.get(), region, nullptr, RGN_COPY);
        ::OffsetRgn(moved.get(), shift.x, shift.y);
        ::CombineRgn(inner.get(), inner.get(), moved.get(), RGN_AND);
    }
    fw::Region rim(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(rim.get(), region, inner.get(), RGN_DIFF);
    return rim;
}

}  // namespace

CNimbBrowserDlg::CNimbBrowserDlg(BrowserStart start, CErrorHandler& errors)
    : fw::Dialog(IDD_NIMBBROWSER_DIALOG),
      start_(std::move(start)),
      errors_(errors),
      commands_(std::make_unique<CBrowserCommands>(browser_, *this)) {
    icon_.reset(static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
}

CNimbBrowserDlg::~CNimbBrowserDlg() {
    // Clients still holding a proxy get errors from here on, not a window gone.
    const std::vector<CNimbBrowserDlgAutoProxy*> proxies = std::move(proxies_);
    proxies_.clear();
    for (CNimbBrowserDlgAutoProxy* proxy : proxies) proxy->ForgetDialog();
    for (CNimbBrowserDlgAutoProxy* proxy : proxies) ::CoDisconnectObject(static_cast<IDispatch*>(proxy), 0);
}

void CNimbBrowserDlg::SetSkin(const std::string& skinName) {
    skinFile_ = CSkinFile(MakeSkinPaths(start_.programFolder, skinName));
}

void CNimbBrowserDlg::SwitchToBuiltInSkin() { SetSkin(AppConstants::kDefaultSkin); }

ErrorCode CNimbBrowserDlg::LoadSkinBackground() {
    return skin_.LoadSkinBackground(skinFile_, hwnd());
}

void CNimbBrowserDlg::LoadBuiltInSkin(bool placeControls) {
    // The built-in skin is complete: its steps cannot fail.
    SwitchToBuiltInSkin();
    LoadSkinBackground();
    SetupBitmapButtons(skinFile_);
    if (placeControls) SetAllControlsPlacements(skinFile_);
}

BOOL CNimbBrowserDlg::OnInitDialog() {
    // An unsafe or unknown name is the built-in skin from here on.
    SetSkin(start_.record.skinName);

    ::SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    BindButtons();
    launcher_ = std::make_unique<CLinkLauncherDlg>(hwnd(), IDD_LAUNCHER, kBrowserPollLimit, this);
    CreateAdBanner();

    if (LoadSkinBackground() != 0) SwitchToBuiltInSkin();
    FillDefaultButtonList();
    if (const ErrorCode rc = SetupBitmapButtons(skinFile_); rc != 0) {
        errors_.ReportError(rc, "CNimbBrowserDlg::OnInitDialog()::SetupBitmapButtons");
        LoadBuiltInSkin(false);
    }
    if (const ErrorCode rc = SetAllControlsPlacements(skinFile_); rc != 0) {
        errors_.ReportError(rc, "CNimbBrowserDlg::OnInitDialog()::SetAllControlsPlacements");
        LoadBuiltInSkin(true);
    }
    AskDefaultBrowser();
    if (adFlag_) StartAdClient();
    RecordControlProportions();
    ShowStartPage();
    settings_.SetCheckAssociations(false);
    SetItemText(IDC_ADDRESS, address_);
    // The page control and its first navigation cost Wine's HTML library its
    // start (about 130 ms): they wait until the window has been shown and painted.
    ::PostMessageA(hwnd(), kMsgStartNavigation, 0, 0);
    return TRUE;
}

void CNimbBrowserDlg::StartNavigation() {
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // The control takes the placeholder's place, which the layout has already set.
    CreateBrowser();
    browser_.Navigate("about:blank");
    const std::string& address = start_.record.link.address;
    browser_.Navigate(address == "http://" ? "about:blank" : address);
}

void CNimbBrowserDlg::ShowStartPage() {
    const CURLObject& record = start_.record;
    const URLRect& stored = record.link.windowRect;
    RECT rect{stored.left, stored.top, stored.right, stored.bottom};
    // An empty or inverted rectangle is no place to open at: a link storing
    // none opens where the manager's desktop pane shows it.
    if (!start_.linkFileMode) {
        rect = GetStartWindowRect();
    } else if (::IsRectEmpty(&rect)) {
        fw::WindowDc screen(nullptr);
        rect = DefaultLinkWindowRect(::GetDeviceCaps(screen.get(), HORZRES), ::GetDeviceCaps(screen.get(), VERTRES));
    }

    layoutReady_ = true;
    sizeHandled_ = false;
    ::SetWindowPos(hwnd(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // A move that keeps the size sends no WM_SIZE: lay out and shape all the same.
    if (!sizeHandled_) {
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        HandleNewSize(client.right, client.bottom);
    }

    address_ = record.link.address;
    SetItemText(IDC_ADDRESS, address_);
    ::SetWindowTextA(hwnd(), address_.c_str());
    SetItemText(IDC_TITLE, address_);
    // Internet Explorer's medium size when it has stored none.
    if (settings_.GetIEFontSizeByte(&textSizeIndex_) != 0) textSizeIndex_ = 2;
}

RECT CNimbBrowserDlg::GetStartWindowRect() {
    RECT saved{0, 0, 0, 0};
    // An inverted or empty stored rectangle counts as none.
    const bool read = settings_.LoadWindowRect(AppConstants::kProductName, &saved) == 0 && !::IsRectEmpty(&saved);
    if (!read) saved = RECT{0, 0, 0, 0};
    if (skinFile_.IsBuiltIn()) {
        if (read) return saved;
        return RECT{saved.left, saved.top, saved.left + skin_.SkinWidth(), saved.top + skin_.SkinHeight()};
    }
    RECT size{};
    int width = skin_.SkinWidth(), height = skin_.SkinHeight();
    if (skinFile_.ReadSkinSize(&size)) {
        width = size.right;
        height = size.bottom;
    }
    return RECT{saved.left, saved.top, saved.left + width, saved.top + height};
}

bool CNimbBrowserDlg::CanExit() {
    if (!HasAutomationProxy()) return true;
    ::ShowWindow(hwnd(), SW_HIDE);
    return false;
}

void CNimbBrowserDlg::OnCloseBrowser() {
    saveOnClose_ = StateToSave();
    EndDialog(IDCANCEL);
}

BrowserSave CNimbBrowserDlg::StateToSave() const {
    BrowserSave save;
    save.skin = skinFile_.Paths();
    // A minimised window's rectangle is no place to come back to.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (::IsIconic(hwnd()) && ::GetWindowPlacement(hwnd(), &placement))
        save.windowRect = placement.rcNormalPosition;
    else
        ::GetWindowRect(hwnd(), &save.windowRect);
    return save;
}

void CNimbBrowserDlg::OnCancel() {
    // Esc and a close request stop the page loading; they never close the window.
    browser_.Stop();
}

void CNimbBrowserDlg::FocusAddressBox() { ::SetFocus(Item(IDC_ADDRESS)); }

void CNimbBrowserDlg::HandleNewSize(int cx, int cy) {
    sizeHandled_ = true;
    if (cx <= 0 || cy <= 0) return;
    // The window's outer size is the client's plus the 3-pixel sizing frame on each side.
    skin_.ResizeSkinRegion(hwnd(), cx + 6, cy + 6);
    ApplyProportionalLayout(cx, cy);
}

void CNimbBrowserDlg::OnSize(UINT type, int cx, int cy) {
    if (type == SIZE_MINIMIZED || sizing_) return;
    HandleNewSize(cx, cy);
}

void CNimbBrowserDlg::OnPaint() {
    fw::PaintDc dc(hwnd());
    if (sizing_) {
        repaintDue_ = true;
        return;
    }
    skin_.Paint(dc.get());
}

void CNimbBrowserDlg::DrawDragOutline(POINT screenPoint) {
    if (!screenDc_) return;
    fw::Region region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(hwnd(), region.get()) == ERROR) {
        const RECT w = fw::ScreenRectOf(hwnd());
        region.reset(::CreateRectRgn(0, 0, w.right - w.left, w.bottom - w.top));
    }
    ::OffsetRgn(region.get(), screenPoint.x - grabOffset_.x - kOutline, screenPoint.y - grabOffset_.y - kOutline);
    // Inverted, so that drawing it twice restores the screen.
    ::InvertRgn(screenDc_->get(), RimOf(region.get()).get());
}

void CNimbBrowserDlg::DrawSizeOutline(const RECT& r) {
    if (!screenDc_) return;
    fw::Region outer(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
    ::InvertRgn(screenDc_->get(), RimOf(outer.get()).get());
}

void CNimbBrowserDlg::OnLButtonDown(POINT point) {
    screenDc_.emplace(nullptr);
    grabOffset_ = POINT{point.x + kOutline, point.y + kOutline};
    dragging_ = true;
    ::SetCapture(hwnd());
    ::ClientToScreen(hwnd(), &point);
    DrawDragOutline(point);
    lastOutline_ = point;
}

void CNimbBrowserDlg::OnMouseMove(POINT point) {
    ::ClientToScreen(hwnd(), &point);
    DrawDragOutline(lastOutline_);
    lastOutline_ = point;
    DrawDragOutline(point);
}

void CNimbBrowserDlg::OnLButtonUp(POINT point) {
    dragging_ = false;
    ::ReleaseCapture();
    DrawDragOutline(lastOutline_);
    screenDc_.reset();
    ::ClientToScreen(hwnd(), &point);
    ::SetWindowPos(hwnd(), nullptr, point.x - grabOffset_.x, point.y - grabOffset_.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(hwnd(), SW_SHOW);
}

void CNimbBrowserDlg::OnShowWindow(bool show) {
    static bool shownOnce = false;  // once per process: the launchers wait for this raise
    if (!show || shownOnce) return;
    shownOnce = true;
    DWORD id = 0;
    if (settings_.GetBrowserID(&id) == 0) settings_.SetBrowserID(id + 1);
}

LRESULT CNimbBrowserDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // the skin paints the whole client area
    case WM_NCPAINT:
        skin_.PaintFrame(hwnd());
        return 0;
    case WM_NCACTIVATE: {
        // Wine's default draws the system's sizing frame here without a
        // WM_NCPAINT (a white line along the skin's bottom edge once a popup
        // closes). Called with -1 it only notes the state; the skin paints.
        // Not through Default: the dialog manager would then run it again
        // with the original argument, after the skin's frame.
        const LRESULT result = ::DefWindowProcA(hwnd(), msg, wParam, static_cast<LPARAM>(-1));
        skin_.PaintFrame(hwnd());
        return result;
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ENTERSIZEMOVE: {
        // Only a size shows an outline; the move that the caption-less window
        // never makes needs none.
        screenDc_.emplace(nullptr);
        sizing_ = true;
        sizeOutline_ = fw::ScreenRectOf(hwnd());
        DrawSizeOutline(sizeOutline_);
        return 0;
    }
    case WM_SIZING:
        if (!sizing_) return Default(msg, wParam, lParam);
        DrawSizeOutline(sizeOutline_);
        sizeOutline_ = *reinterpret_cast<RECT*>(lParam);
        DrawSizeOutline(sizeOutline_);
        return TRUE;
    case WM_EXITSIZEMOVE:
        if (sizing_) {
            sizing_ = false;
            DrawSizeOutline(sizeOutline_);
            screenDc_.reset();
            RECT client{};
            ::GetClientRect(hwnd(), &client);
            HandleNewSize(client.right, client.bottom);
            if (repaintDue_) {
                repaintDue_ = false;
                ::InvalidateRect(hwnd(), nullptr, TRUE);
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(point);
        return 0;
    case WM_MOUSEMOVE:
        if (!dragging_) return Default(msg, wParam, lParam);
        OnMouseMove(point);
        return 0;
    case WM_LBUTTONUP:
        if (!dragging_) return Default(msg, wParam, lParam);
        OnLButtonUp(point);
        return 0;
    case WM_CAPTURECHANGED:
        if (dragging_ && reinterpret_cast<HWND>(lParam) != hwnd()) {
            // Lost the mouse mid-drag: take the outline away and stay put.
            dragging_ = false;
            DrawDragOutline(lastOutline_);
            screenDc_.reset();
        }
        return Default(msg, wParam, lParam);
    case WM_ACTIVATE:
        active_ = LOWORD(wParam) != WA_INACTIVE;
        return Default(msg, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if (!active_) {
            // The first click on an inactive window only brings it forward.
            active_ = true;
            return MA_ACTIVATEANDEAT;
        }
        return Default(msg, wParam, lParam);
    case WM_GETMINMAXINFO:
        if (adFlag_ && Item(IDC_EXPLORER) && minTrackWidth_ > 0)
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = minTrackWidth_;
        return Default(msg, wParam, lParam);
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != 0);
        return Default(msg, wParam, lParam);
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(icon_.get());
    case WM_CLOSE:
        if (!CanExit()) {
            hiddenByRefusedClose_ = true;
            return 0;
        }
        OnCancel();  // a close request only stops the page
        return 0;
    case kMsgCountBrowserWindow:
    case kMsgCountBrowserWindow2:
        ++browserWindowCount_;
        return 1;
    case kMsgHitFinished:
        ForgetFinishedHits();
        return 0;
    case kMsgStartNavigation:
        StartNavigation();
        return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
        if (LRESULT result = 0; HandlePaletteMessage(msg, wParam, &result)) return result;
        return Default(msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}
