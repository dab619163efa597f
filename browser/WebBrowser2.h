// The page viewer: Internet Explorer's WebBrowser control hosted in a child
// window of ours, called by dispatch id through its automation interface.
//
// The dialogs create it in the place of their template's control 1000, so
// the dialog's layout moves the real control.
#pragma once

#include "fw/activex.h"
#include "fw/com.h"

#include <windows.h>

#include <functional>
#include <string>

class CWebBrowser2 : public fw::AxWindow {
public:
    // One call made on the control: its dispatch id, ExecWB's command and
    // option, and what the control answered. Wine's control refuses most
    // calls without a trace (no history, no zoom), so the calls are what
    // tests can see.
    struct Call {
        DISPID id = 0;
        long command = 0;
        long option = 0;
        HRESULT hr = S_OK;
    };
    void SetCallObserver(std::function<void(const Call&)> observer) { observer_ = std::move(observer); }

    // {8856F961-340A-11D0-A96B-00C04FD705A2}
    static const CLSID kClassId;

    // Dispatch ids of the control's IWebBrowser2 members used here.
    static constexpr DISPID kGoBack = 100;
    static constexpr DISPID kGoForward = 101;
    static constexpr DISPID kGoHome = 102;
    static constexpr DISPID kNavigate = 104;
    static constexpr DISPID kRefresh = -550;
    static constexpr DISPID kStop = 106;
    static constexpr DISPID kApplication = 200;
    static constexpr DISPID kDocument = 203;
    static constexpr DISPID kLocationName = 210;
    static constexpr DISPID kLocationURL = 211;
    static constexpr DISPID kExecWB = 502;
    static constexpr DISPID kOffline = 550;

    // The control by its class id in rect (parent client coordinates).
    HRESULT Create(HWND parent, const RECT& rect, UINT id);
    // The control in the place of a dialog's placeholder control id.
    HRESULT CreateInPlaceOf(HWND dialog, int id);

    HRESULT GoBack();
    HRESULT GoForward();
    HRESULT GoHome();
    // The optional flags, frame name, post data and headers are left out.
    HRESULT Navigate(const std::string& address);
    HRESULT Refresh();
    HRESULT Stop();
    // New references for the caller; empty when the control has none.
    fw::ComPtr<IDispatch> GetApplication() const;
    fw::ComPtr<IDispatch> GetDocument() const;
    std::string GetLocationName() const;
    std::string GetLocationURL() const;
    // input and output may be null (left out of the call).
    HRESULT ExecWB(long command, long option, VARIANT* input, VARIANT* output);
    bool GetOffline() const;
    HRESULT PutOffline(bool offline);

private:
    HRESULT Observed(HRESULT hr, DISPID id, long command = 0, long option = 0) const;

    std::function<void(const Call&)> observer_;
};
