#include "AboutDlg.h"

#include "AppConstants.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

}  // namespace

CBrowserAboutDlg::CBrowserAboutDlg() : fw::Dialog(kAboutTemplate) {
    logo_.LoadBitmap(kAboutLogo);
}

BOOL CBrowserAboutDlg::OnInitDialog() {
    white_.reset(::CreateSolidBrush(kWhite));
    home_.Subclass(Item(kAboutHomeLink));
    home_.SetLink(CHyperLink::kWeb, AppConstants::kHomePage, "", 0);
    mail_.Subclass(Item(kAboutMailLink));
    mail_.SetLink(CHyperLink::kMail, AppConstants::kSupportMail, "", 0);
    return TRUE;
}

void CBrowserAboutDlg::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd(), &paint);
    RECT frame{};
    ::GetWindowRect(Item(kAboutLogoFrame), &frame);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&frame), 2);
    if (logo_.get()) logo_.DrawTransparentBitmap(dc, frame.left, frame.top, kWhite);
    // The links keep their font for as long as the dialog paints them.
    home_.CreateLinkFont(dc, 8);
    mail_.CreateLinkFont(dc, 8);
    ::EndPaint(hwnd(), &paint);
}

LRESULT CBrowserAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            if (!white_) break;
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (msg != WM_CTLCOLORDLG) ::SetBkMode(dc, TRANSPARENT);
            if (msg == WM_CTLCOLORSTATIC) {
                home_.CtlColorForward(dc, reinterpret_cast<HWND>(lParam), kLinkBlue);
                mail_.CtlColorForward(dc, reinterpret_cast<HWND>(lParam), kLinkBlue);
            }
            return reinterpret_cast<LRESULT>(white_.get());
        }
        default:
            break;
    }
    return Default(msg, wParam, lParam);
}
