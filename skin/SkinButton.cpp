#include "SkinButton.h"

#include "ErrorCodes.h"
#include "SkinFormat.h"

#include "fw/handles.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {

constexpr UINT_PTR kToolId = 1;

TOOLINFOA ToolOf(HWND button) {
    TOOLINFOA tool{};
    // The first version's size: every comctl32 accepts it, and nothing newer is used.
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = button;
    tool.uId = kToolId;
    return tool;
}

// Loads one picture into a fresh object; the failure code or 0.
ErrorCode LoadInto(std::unique_ptr<CDibBitmap>& slot, bool fromFile, UINT id, const std::string& path) {
    slot = std::make_unique<CDibBitmap>();
    if (fromFile && IsRefusedSkinBitmap(path)) return kErrSkinBitmapFile;  // a name outside the skin folder
    const HBITMAP loaded = fromFile ? slot->LoadFromFile(path) : slot->LoadFromResource(id);
    if (!loaded) return fromFile ? kErrSkinBitmapFile : kErrLoadResource;
    if (!slot->IsLoaded()) return kErrSkinBitmapUnusable;
    return kErrNone;
}

}  // namespace

void CSkinButton::WindowCloser::operator()(HWND wnd) const noexcept {
    // The tooltip may already be gone with the top-level window that owns it.
    if (::IsWindow(wnd)) ::DestroyWindow(wnd);
}

CSkinButton::CSkinButton() = default;

HCURSOR CSkinButton::LoadButtonCursor(HMODULE module) {
    if (HCURSOR own = ::LoadCursorA(module, MAKEINTRESOURCEA(kCursorResource))) return own;
    return ::LoadCursorA(nullptr, IDC_HAND);
}

CSkinButton::~CSkinButton() {
    if (HWND wnd = hwnd()) {
        KillAnimationTimer();
        const bool heldForHover = hot_ && ::GetCapture() == wnd;
        hot_ = 0;
        Unsubclass();
        if (heldForHover) ::ReleaseCapture();
    }
    hot_ = 0;
    tooltipWindow_.reset();
}

void CSkinButton::CopySkinInfo(const CSkinButton& descriptor) {
    name_ = descriptor.name_;
    rect_ = descriptor.rect_;
    tooltip_ = descriptor.tooltip_;
    bitmap1Path_ = descriptor.bitmap1Path_;
    bitmap2Path_ = descriptor.bitmap2Path_;
    layoutFlag_ = descriptor.layoutFlag_;
}

ErrorCode CSkinButton::LoadBitmaps(UINT id1, UINT id2, int frames, int framesPerSecond) {
    if (const ErrorCode code = LoadInto(bitmap1_, false, id1, {})) return code;
    if (id2 != 0) {
        if (const ErrorCode code = LoadInto(bitmap2_, false, id2, {})) return code;
    }
    SetMetrics(frames, framesPerSecond);
    return kErrNone;
}

ErrorCode CSkinButton::LoadBitmapsFromFile(const std::string& path1, const std::string& path2, int frames,
                                           int framesPerSecond) {
    if (const ErrorCode code = LoadInto(bitmap1_, true, 0, path1)) return code;
    if (!path2.empty() && !IsNullBitmap(path2)) {
        if (const ErrorCode code = LoadInto(bitmap2_, true, 0, path2)) return code;
    }
    SetMetrics(frames, framesPerSecond);
    return kErrNone;
}

void CSkinButton::SetMetrics(int frames, int framesPerSecond) {
    const bool usable = bitmap1_ && bitmap1_->IsLoaded();
    const int width = usable ? bitmap1_->Width() : 0;
    const int height = usable ? bitmap1_->Height() : 0;
    // More frames than the strip has columns would make frames 0 pixels wide.
    frames_ = std::clamp(frames, 1, std::max(1, width));
    framesPerSecond_ = framesPerSecond;
    frameWidth_ = std::max(1, width / frames_);
    rowHeight_ = std::max(1, height / 3);
    if (frameIndex_ >= frames_) frameIndex_ = 0;
    cursor_ = LoadButtonCursor(::GetModuleHandleA(nullptr));
}

UINT CSkinButton::TimerPeriod() const {
    // No speed (or a negative one) runs at the slowest pace instead of dividing by zero;
    // the fastest is the system's own timer minimum.
    if (framesPerSecond_ <= 0) return kMaxTimerPeriod;
    return std::clamp(1000u / static_cast<UINT>(framesPerSecond_), kMinTimerPeriod, kMaxTimerPeriod);
}

void CSkinButton::SetAnimation(int state) {
    HWND wnd = hwnd();
    if (state == 1) {
        if (frames_ <= 1 || !wnd) return;
        if (const UINT_PTR id = ::SetTimer(wnd, kAnimationTimer, TimerPeriod(), nullptr)) timerId_ = id;
    } else if (state == 0) {
        KillAnimationTimer();
        frameIndex_ = 0;
        if (wnd) ::InvalidateRect(wnd, nullptr, FALSE);
    }
}

void CSkinButton::KillAnimationTimer() {
    if (timerId_ && hwnd()) ::KillTimer(hwnd(), timerId_);
    timerId_ = 0;
}

void CSkinButton::OnTimer() {
    frameIndex_ = frameIndex_ + 1 >= frames_ ? 0 : frameIndex_ + 1;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    const CDibBitmap* picture = bitmap1_.get();
    int sourceX = frameIndex_ * frameWidth_ + 1;
    int sourceY = 0;
    if (item.itemState & ODS_SELECTED) {
        sourceY = 2 * rowHeight_;
    } else if (item.itemState & ODS_FOCUS) {
        sourceY = rowHeight_;
    } else if ((item.itemState & ODS_DISABLED) && bitmap2_ && bitmap2_->IsLoaded()) {
        picture = bitmap2_.get();
        sourceX = 0;
    }
    if (!item.hDC || !picture || !picture->IsLoaded()) return;
    const RECT& r = item.rcItem;
    picture->StretchDraw(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, sourceX, sourceY, frameWidth_,
                         rowHeight_);
}

const CDibBitmap* CSkinButton::ShownPicture() const {
    if (hwnd() && !::IsWindowEnabled(hwnd()) && bitmap2_ && bitmap2_->IsLoaded()) return bitmap2_.get();
    return bitmap1_ && bitmap1_->IsLoaded() ? bitmap1_.get() : nullptr;
}

void CSkinButton::RealizePalette() {
    HWND wnd = hwnd();
    if (!wnd) return;
    const CDibBitmap* picture = ShownPicture();
    if (picture && picture->Palette()) {
        fw::WindowDc dc(wnd);
        if (dc) {
            if (HPALETTE previous = picture->SelectPalette(dc.get(), true)) {
                ::SelectPalette(dc.get(), previous, TRUE);
                ::RealizePalette(dc.get());
            }
        }
    }
    ::InvalidateRect(wnd, nullptr, TRUE);
}

LRESULT CSkinButton::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (!cursor_) return Default(WM_SETCURSOR, wParam, lParam);
    ::SetCursor(cursor_);
    return TRUE;
}

void CSkinButton::OnDestroy() {
    KillAnimationTimer();
    hot_ = 0;
    tooltipWindow_.reset();
}

void CSkinButton::OnMouseMove(UINT flags, POINT point) {
    HWND wnd = hwnd();
    // A press that began elsewhere does not make the button hot.
    if ((flags & MK_LBUTTON) && !hot_) return;
    HWND owner = ::GetWindow(wnd, GW_OWNER);
    if (!owner) owner = ::GetParent(wnd);
    if (::GetCapture() != wnd && ::GetActiveWindow() && owner) {
        hot_ = 1;
        ::SetCapture(wnd);
        ::InvalidateRect(wnd, nullptr, TRUE);
        return;
    }
    POINT screen = point;
    ::ClientToScreen(wnd, &screen);
    HWND under = ::WindowFromPoint(screen);
    if (!under || under == wnd) return;
    if (hot_) {
        hot_ = 0;
        ::InvalidateRect(wnd, nullptr, TRUE);
    }
    // Only our own capture is ours to release; a press keeps it for the button.
    if (!(flags & MK_LBUTTON) && ::GetCapture() == wnd) ::ReleaseCapture();
}

void CSkinButton::OnCaptureChanged(HWND gaining) {
    HWND wnd = hwnd();
    // Taking the capture again for a press is no loss of it.
    if (gaining == wnd || !hot_) return;
    // The hot mark means "holds the capture": it goes with the capture.
    hot_ = 0;
    if (::GetCapture() == wnd) ::ReleaseCapture();
    ::InvalidateRect(wnd, nullptr, TRUE);
}

void CSkinButton::EnsureTooltip() {
    if (tooltipWindow_ && ::IsWindow(tooltipWindow_.get())) return;
    HWND wnd = hwnd();
    if (!wnd) return;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    HWND tip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, wnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    tooltipWindow_.reset(tip);
    if (!tip) return;
    ::SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
    ApplyTooltipText();
}

void CSkinButton::SetTooltipText(const std::string& text, bool activate) {
    if (text.empty() || !hwnd()) return;
    tipText_ = text;
    tipActive_ = activate;
    if (tooltipWindow_) ApplyTooltipText();
}

void CSkinButton::ApplyTooltipText() {
    HWND tip = tooltipWindow_.get();
    if (!tip || tipText_.empty()) return;
    TOOLINFOA tool = ToolOf(hwnd());
    tool.lpszText = const_cast<char*>(tipText_.c_str());
    if (::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 0) {
        tool.rect = ClientRect();
        ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageA(tip, TTM_ACTIVATE, tipActive_ ? TRUE : FALSE, 0);
}

void CSkinButton::OnSize() {
    // The layout resizes buttons with the window: the tool must cover the new client area.
    HWND tip = tooltipWindow_.get();
    if (!tip || !::IsWindow(tip) || ::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 0) return;
    TOOLINFOA tool = ToolOf(hwnd());
    tool.rect = ClientRect();
    ::SendMessageA(tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CSkinButton::RelayToTooltip(UINT msg, WPARAM wParam, LPARAM lParam) {
    EnsureTooltip();
    HWND tip = tooltipWindow_.get();
    if (!tip) return;
    const DWORD pos = ::GetMessagePos();
    MSG relayed{};
    relayed.hwnd = hwnd();
    relayed.message = msg;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = static_cast<DWORD>(::GetMessageTime());
    relayed.pt = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ::SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

LRESULT CSkinButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) RelayToTooltip(msg, wParam, lParam);
    switch (msg) {
        case fw::kReflectedDrawItem:
            if (lParam) DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_SETCURSOR:
            return OnSetCursor(wParam, lParam);
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_TIMER:
            // A tick generated before the timer was killed must not move a stopped animation.
            if (wParam == kAnimationTimer && timerId_) OnTimer();
            break;
        case WM_MOUSEMOVE: {
            const LRESULT result = Default(msg, wParam, lParam);
            OnMouseMove(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return result;
        }
        case WM_CAPTURECHANGED:
            OnCaptureChanged(reinterpret_cast<HWND>(lParam));
            break;
        case WM_SIZE: {
            const LRESULT result = Default(msg, wParam, lParam);
            OnSize();
            return result;
        }
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
