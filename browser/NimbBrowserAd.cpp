// The ad banner in its place on the main window, and the ad client's start.
#include "NimbBrowserDlg.h"

#include "AdClient.h"

void CNimbBrowserDlg::CreateAdBanner() {
    // A banner that cannot be made leaves its place empty, and the layout
    // passes it by; the start goes on without it.
    if (FAILED(banner_.CreateInPlaceOf(hwnd(), IDC_BANNER))) ::DestroyWindow(Item(IDC_BANNER));
}

BOOL CNimbBrowserDlg::StartAdClient() {
    // A failed configuration leaves the ad client as it was; the browser goes on all the same.
    ConfigureAdClient();
    return TRUE;
}
