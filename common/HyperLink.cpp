#include "HyperLink.h"

#include "StringUtil.h"

#include "fw/msgbox.h"

#include <shellapi.h>

namespace {

constexpr COLORREF kLinkBlue = 0xFF0000;  // COLORREF order: blue in the high byte
constexpr int kHandCursorId = 265;

HCURSOR HandCursor() {
    if (HCURSOR own = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandCursorId))) return own;
    return ::LoadCursor(nullptr, IDC_HAND);
}

}  // namespace

void CHyperLink::SetLink(int type, const std::string& target, const std::string& subject, int helpContext) {
    type_ = type;
    target_ = target;
    subject_ = subject;
    helpContext_ = helpContext;
}

void CHyperLink::CreateLinkFont(HDC dc, int pointSize) {
    const int height = -::MulDiv(pointSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    if (!font_ || height != fontHeight_) {
        fw::Font font(::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
        if (!font) return;
        if (hwnd()) ::SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        // The control uses the font until it gets another: the old one may go only now.
        font_ = std::move(font);
        fontHeight_ = height;
    }
    ::SelectObject(dc, font_.get());
    ::SetTextColor(dc, kLinkBlue);
}

COLORREF CHyperLink::CtlColorForward(HDC dc, HWND window, COLORREF colour) const {
    if (!hwnd() || window != hwnd()) return 0;
    return ::SetTextColor(dc, colour);
}

std::string CHyperLink::BuildAddress(int type, const std::string& target, const std::string& subject) {
    switch (type) {
    case kMail: {
        std::string address = StartsWithNoCase(target, "mailto:") ? target : "mailto:" + target;
        if (!subject.empty()) address += "?subject=" + subject;
        return address;
    }
    case kWeb:
        return StartsWithNoCase(target, "http://") ? target : "http://" + target;
    case kUnchanged:
        return target;
    default:
        return {};
    }
}

bool CHyperLink::OpenAddress(const std::string& address) {
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(::GetDesktopWindow(), "open", address.c_str(), nullptr, nullptr, SW_SHOW));
    return result > 32;
}

LRESULT CHyperLink::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        ::SetCursor(HandCursor());
        return Default(msg, wParam, lParam);
    case WM_SETCURSOR:
        // Keeps the hand while over the link instead of the class cursor.
        ::SetCursor(HandCursor());
        return TRUE;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(msg, wParam, lParam);
    default:
        return Default(msg, wParam, lParam);
    }
}

LRESULT CHyperLink::OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) {
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (helpContext_ > 0) ::WinHelpA(hwnd(), nullptr, HELP_CONTEXT, static_cast<ULONG_PTR>(helpContext_));
    if (type_ == kNone) return 0;
    if (type_ != kMail && type_ != kWeb && type_ != kUnchanged) return Default(msg, wParam, lParam);

    if (OpenAddress(BuildAddress(type_, target_, subject_))) return Default(msg, wParam, lParam);
    fw::ShowMessageBox(type_ == kMail ? "We are unable to locate your default e-mail program."
                                      : "We are unable to locate your default browser.",
                       MB_OK);
    return 0;
}

bool CTransparentBitmap::LoadBitmap(UINT resourceId) {
    bitmap_.reset(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, 0)));
    return static_cast<bool>(bitmap_);
}

void CTransparentBitmap::DrawTransparentBitmap(HDC dc, int x, int y, COLORREF transparent) const {
    BITMAP info{};
    if (!bitmap_ || !::GetObjectA(bitmap_.get(), sizeof(info), &info)) return;
    POINT size{info.bmWidth, info.bmHeight};
    POINT origin{0, 0};
    ::DPtoLP(dc, &size, 1);
    ::DPtoLP(dc, &origin, 1);
    const int w = size.x;
    const int h = size.y;

    fw::MemoryDc imageDc(::CreateCompatibleDC(dc));
    fw::MemoryDc maskDc(::CreateCompatibleDC(dc));
    fw::MemoryDc clearedDc(::CreateCompatibleDC(dc));
    fw::MemoryDc resultDc(::CreateCompatibleDC(dc));
    if (!imageDc || !maskDc || !clearedDc || !resultDc) return;
    ::SetMapMode(imageDc.get(), ::GetMapMode(dc));

    fw::Bitmap mask(::CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
    fw::Bitmap cleared(::CreateCompatibleBitmap(dc, info.bmWidth, info.bmHeight));
    fw::Bitmap result(::CreateCompatibleBitmap(dc, info.bmWidth, info.bmHeight));
    if (!mask || !cleared || !result) return;

    fw::SelectObjectGuard selImage(imageDc.get(), bitmap_.get());
    fw::SelectObjectGuard selMask(maskDc.get(), mask.get());
    fw::SelectObjectGuard selCleared(clearedDc.get(), cleared.get());
    fw::SelectObjectGuard selResult(resultDc.get(), result.get());

    // Mask: white where the image has the transparent colour, black elsewhere.
    const COLORREF oldBk = ::SetBkColor(imageDc.get(), transparent);
    ::BitBlt(maskDc.get(), 0, 0, w, h, imageDc.get(), origin.x, origin.y, SRCCOPY);
    ::SetBkColor(imageDc.get(), oldBk);

    // The image with its transparent pixels black.
    ::BitBlt(clearedDc.get(), 0, 0, w, h, imageDc.get(), origin.x, origin.y, SRCCOPY);
    ::BitBlt(clearedDc.get(), 0, 0, w, h, maskDc.get(), 0, 0, 0x220326);

    // The background with the opaque pixels black, then the image over it.
    ::BitBlt(resultDc.get(), 0, 0, w, h, dc, x, y, SRCCOPY);
    ::BitBlt(resultDc.get(), 0, 0, w, h, maskDc.get(), 0, 0, SRCAND);
    ::BitBlt(resultDc.get(), 0, 0, w, h, clearedDc.get(), 0, 0, SRCINVERT);

    ::BitBlt(dc, x, y, w, h, resultDc.get(), 0, 0, SRCCOPY);
}
