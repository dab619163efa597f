// The window of the ad vendor's banner control: created by the vendor's
// class id and handed its initial data (extent, product name, application
// key) before it is activated. The control fetches and shows its ads by
// itself; the browser calls nothing on it.
#pragma once

#include "fw/activex.h"
#include "fw/com.h"

#include <windows.h>

class CFlexActive2 : public fw::AxWindow {
public:
    static const CLSID& ClassId();
    // The banner's initial data, in the control's own persisted form.
    static fw::ComPtr<IStream> InitialData();

    HRESULT Create(const char* windowName, DWORD style, const RECT& rect, HWND parent, UINT id);
    // The control in the place of a dialog's placeholder control id.
    HRESULT CreateInPlaceOf(HWND dialog, int id);
};
