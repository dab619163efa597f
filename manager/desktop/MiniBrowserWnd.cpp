#include "MiniBrowserWnd.h"

#include "ErrorCodes.h"

#include <windowsx.h>

namespace {

const HCURSOR& SizeAllCursor() {
    static const HCURSOR cursor = ::LoadCursor(nullptr, IDC_SIZEALL);
    return cursor;
}

}  // namespace

CMiniBrowserWnd::CMiniBrowserWnd(fw::View& view, std::string programFolder)
    : view_(view), programFolder_(std::move(programFolder)) {
    RegisterClass(kClassName, kClassStyle, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                  ::LoadIcon(nullptr, IDI_APPLICATION), SizeAllCursor());
}

CMiniBrowserWnd::~CMiniBrowserWnd() {
    // The window goes first, then the image leaves the memory DC before either is deleted.
    Destroy();
    if (memDc_ && previousBitmap_) ::SelectObject(memDc_.get(), previousBitmap_);
}

int CMiniBrowserWnd::MakeFor(const CURLEntry& entry, const CURLObject& record) {
    const URLRect& stored = record.link.windowRect;
    placement_ = RECT{stored.left, stored.top, stored.right, stored.bottom};
    writeBack_ = placement_;
    skin_ = record.skinName;
    if (!Create(kClassName, kTitle, kStyle, WS_EX_TRANSPARENT, 0, 0, 0, 0, view_.hwnd(), 0)) return kErrChildBrowser;
    ::ShowWindow(hwnd(), SW_HIDE);
    entry_ = entry;
    return kErrNone;
}

void CMiniBrowserWnd::PrepareImage(int width, int height) {
    sourceWidth_ = drawnWidth_ = width;
    sourceHeight_ = drawnHeight_ = height;
    UseImage(LoadSkinBitmap(skin_, width, height));
}

void CMiniBrowserWnd::ReloadSkin(const std::string& skin) {
    const RECT client = ClientRect();
    sourceWidth_ = drawnWidth_ = client.right + kExtraWidth;
    sourceHeight_ = drawnHeight_ = client.bottom + kExtraHeight;
    UseImage(LoadSkinBitmap(skin, sourceWidth_, sourceHeight_));
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CMiniBrowserWnd::UseImage(fw::Bitmap image) {
    if (!memDc_) {
        fw::WindowDc wnd(hwnd());
        memDc_.reset(::CreateCompatibleDC(wnd.get()));
        if (!memDc_) return;
    }
    if (!image) return;
    HGDIOBJ before = ::SelectObject(memDc_.get(), image.get());
    // The first selection gives the DC's own bitmap, kept for the end.
    if (!previousBitmap_) previousBitmap_ = before;
    image_ = std::move(image);  // the image selected before is deleted now that it is out
    BuildSkinMask(memDc_.get());
}

LRESULT CMiniBrowserWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SIZING: {
            const LRESULT result = Default(msg, wParam, lParam);
            const RECT* proposed = reinterpret_cast<const RECT*>(lParam);
            drawnWidth_ = proposed->right - proposed->left;
            drawnHeight_ = proposed->bottom - proposed->top;
            ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE | RDW_NOINTERNALPAINT);
            return result;
        }
        case WM_NCLBUTTONDOWN:
            OnNcLButtonDown(wParam, lParam);
            return 0;
        case WM_NCHITTEST: {
            const LRESULT hit = Default(msg, wParam, lParam);
            // The whole client area drags the window.
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_SIZE: {
            const LRESULT result = Default(msg, wParam, lParam);
            drawnWidth_ = GET_X_LPARAM(lParam) + kExtraWidth;
            drawnHeight_ = GET_Y_LPARAM(lParam) + kExtraHeight;
            ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            return result;
        }
        case WM_NCMOUSEMOVE:
            if (wParam == HTCAPTION) ::SetCursor(SizeAllCursor());
            return Default(msg, wParam, lParam);
        default:
            return Default(msg, wParam, lParam);
    }
}

void CMiniBrowserWnd::OnPaint() {
    fw::PaintDc dc(hwnd());
    if (!memDc_) return;
    ::SetStretchBltMode(dc.get(), COLORONCOLOR);
    // The image covers the whole window: the frame and caption hide its edges.
    ::StretchBlt(dc.get(), -kFrame, -(kFrame + kCaption), drawnWidth_, drawnHeight_, memDc_.get(), 0, 0, sourceWidth_,
                 sourceHeight_, SRCCOPY);
}

void CMiniBrowserWnd::OnNcLButtonDown(WPARAM hit, LPARAM point) {
    if (fw::FrameWindow* frame = view_.ParentFrame()) frame->SetActiveView(&view_);
    if (hit == HTCAPTION) ::SetCursor(SizeAllCursor());
    const RECT before = WindowRect();
    // The system's move or size loop: it returns once the button is up.
    Default(WM_NCLBUTTONDOWN, hit, point);
    if (!hwnd()) return;
    const RECT after = WindowRect();
    // Only a real move or size counts: a click must not change what the link stores.
    if (!::EqualRect(&before, &after)) moved_ = true;
}
