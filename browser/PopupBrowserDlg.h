// The hidden window that receives the windows pages open. It is never shown:
// the first web address its own page is sent to starts a new browser process
// with that address as its command line, and the popup closes.
//
// A popup owns itself: it is made with new by CPopupWindows and deletes
// itself once its window is gone, whether the page closed it or its
// CPopupWindows list closed it.
#pragma once

#include "WebBrowser2.h"

#include "fw/dialog.h"
#include "fw/event_sink.h"

#include <windows.h>

#include <string>
#include <vector>

class CPopupBrowserDlg : public fw::Dialog {
public:
    static constexpr UINT kTemplateId = 152;

    CWebBrowser2& Browser() { return browser_; }
    // The event sink as the control sees it.
    IDispatch* Events() const { return events_.dispatch(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnFinalDestroy() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPopupWindows;
    explicit CPopupBrowserDlg(std::string programFolder);
    ~CPopupBrowserDlg() override;

    void OnBeforeNavigate2(const fw::DispArgs& args);

    std::string programFolder_;
    bool handedOver_ = false;  // a browser was started for this window's page
    CWebBrowser2 browser_;
    fw::EventSink events_;
};

// The popups of one main window: the last one made, and every one still open,
// which are closed when the list goes.
class CPopupWindows {
public:
    CPopupWindows() = default;
    ~CPopupWindows();
    CPopupWindows(const CPopupWindows&) = delete;
    CPopupWindows& operator=(const CPopupWindows&) = delete;

    // A new hidden popup with its control, or null when it cannot be made.
    CPopupBrowserDlg* Open(const std::string& programFolder);
    // The last popup opened while it is still open, else null.
    CPopupBrowserDlg* Last() const;
    // The popups still open.
    size_t OpenCount() const;
    void CloseAll() noexcept;

private:
    static CPopupBrowserDlg* Live(HWND wnd);
    std::vector<HWND> windows_;
};
