#include "AboutDlg.h"

#include "resource.h"

CAboutDlg::CAboutDlg() : fw::Dialog(IDD_ABOUTBOX), white_(::CreateSolidBrush(RGB(255, 255, 255))) {
    picture_.LoadBitmap(IDB_ABOUT);
}

LRESULT CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd(), &ps);
            RECT frame{};
            ::GetWindowRect(Item(IDC_ABOUT_PICTURE), &frame);
            ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&frame), 2);
            if (picture_.get()) picture_.DrawTransparentBitmap(dc, frame.left, frame.top, RGB(255, 255, 255));
            ::EndPaint(hwnd(), &ps);
            return 0;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(white_.get());
        default:
            return Default(msg, wParam, lParam);
    }
}
