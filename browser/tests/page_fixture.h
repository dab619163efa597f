// The real main window in-process with its real WebBrowser control, started
// on an address where nothing listens, and settled once the control's own
// start navigations are over.
#pragma once

#include "browser_test_util.h"
#include "page_test_util.h"

#include "fw/com.h"
#include "fw/event_sink.h"

#include <exdisp.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pagetest {

class PageTest : public ::testing::Test {
protected:
    // Starts the window for a command line and waits until the control
    // shows `settledAt` with no download running.
    void Start(const std::string& commandLine, const std::string& settledAt);
    void Start() { Start(startUrl, startUrl); }

    CNimbBrowserDlg& Dlg() { return *browser->dlg; }
    IDispatch* Sink() { return Dlg().BrowserEvents(); }
    CWebBrowser2& Control() { return Dlg().Browser(); }
    // Navigates the real control and waits for the navigation's end
    // (under Wine every navigation ends in NavigateError).
    void NavigateAndWait(const std::string& address);
    bool Shown(int controlId) { return (::GetWindowLongPtrA(Dlg().Item(controlId), GWL_STYLE) & WS_VISIBLE) != 0; }

    const std::string startUrl = ClosedLoopbackUrl("/start");
    fw::OleApartment ole;  // first in, last out: the control needs it
    std::optional<browsertest::InProcessBrowser> browser;
    std::vector<std::string> navigationEnds;  // addresses of NavigateError, as the control sent them
    fw::EventSink watcher{DIID_DWebBrowserEvents2};
};

}  // namespace pagetest
