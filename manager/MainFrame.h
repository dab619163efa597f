// The manager's main window "Vessa Manager": a rebar with a small and a
// large toolbar (one shown), a status bar, the tree pane on the left and a
// fixed right column (desktop over property pages). While the tray icon is
// shown a close only hides the window; the real exit runs on timer 50.
#pragma once

#include "MgrSplitterWnd.h"
#include "NimbDoc.h"
#include "StartupOptionsDlg.h"
#include "TrayWnd.h"
#include "desktop/DesktopView.h"

#include "fw/bars.h"
#include "fw/frame.h"

#include <memory>
#include <string>

class CLeftView;

// What the frame asks of the application: the document's host, the last
// target of the command routing, and the end of the automation object.
class CFrameHost : public fw::CommandTarget, public CDocumentHost {
public:
    // The real exit has started: browsers no longer find this manager.
    virtual void RevokeAutomation() = 0;
};

inline constexpr UINT_PTR kExitTimer = 50;
inline constexpr UINT kExitTimerPeriod = 20;

// The frame's fixed sizes and its default rectangle.
namespace MainFrameSize {
inline constexpr int kRightColumn = 420;
inline constexpr int kDesktopRow = 320;
inline constexpr int kPropertyRow = 150;
inline constexpr RECT kDefaultRect{5, 0, 795, 570};  // 790 x 570 at (5, 0)
}  // namespace MainFrameSize

class CMainFrame : public fw::FrameWindow, public CRectStatus, public CTrayHost, public CStartupHost {
public:
    CMainFrame(CFrameHost& app, CNimbDoc& document);
    ~CMainFrame() override;

    // Makes the window (hidden) with its bars, panes and tray window.
    bool CreateMainFrame();
    // The start is over: from now on every restored size applies the pane rules.
    void StartupDone() { startupDone_ = true; }

    void ShowRectInStatusBar(const RECT& rc) override;
    void ClearRectInStatusBar() override;
    void ShowTrayIcon() override;
    void HideTrayIcon() override;
    bool TrayIconShown() const override { return m_bTrayIconShown; }
    HWND FrameHwnd() const override { return hwnd(); }
    void LaunchFromTray(const CURLEntryList& entries) override;
    // Sets timer 50: the real exit follows once no modal dialog or box is open.
    void StartExit() override;

    void OnOptions() override;
    void OnAppAbout() override;
    void OnHelpGuide() override;
    void OnQuickStart();
    void OnSmallToolbar();
    void OnLargeToolbar();

    void SetLeftPaneWidth(int width);
    void SetPropertyRowHeight(int height);

    // The first-run page; 0, or 35 when it cannot be written whole.
    static int WriteQuickStartLauncher(const std::string& path);
    // The rectangle to start with: the stored one, else the default.
    RECT StartRect() const;

    const fw::ReBar& ReBar() const { return m_wndReBar; }
    const fw::ToolBar& SmallToolBar() const { return m_wndToolBarSmall; }
    const fw::ToolBar& LargeToolBar() const { return m_wndToolBarLarge; }
    const fw::StatusBar& StatusBar() const { return m_wndStatusBar; }
    const CMgrSplitterWnd& OuterSplitter() const { return m_wndSplitter; }
    const CMgrSplitterWnd& InnerSplitter() const { return m_wndSplitter2; }
    CTrayWnd* TrayWnd() const { return m_pTrayWnd.get(); }
    CLeftView* TreeView() const { return treeView_; }
    bool Exiting() const { return m_bExiting; }

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnClose() override;
    void OnDestroy() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool UpdateCommand(fw::CommandUI& ui) override;
    bool HandleCommand(UINT id) override;

private:
    bool OnCreateClient();
    bool CreateBars();
    bool SetUpToolBar(fw::ToolBar& bar, bool large);
    void ApplyToolBarSize();
    void OnSize(UINT type, int cx, int cy);
    void OnSizing(const RECT& proposed);
    void OnTimer(UINT_PTR id);
    // The framework's close: the document saves and closes, the window goes.
    void CloseFrame();
    void OpenHelpPage(const char* page);

    CFrameHost& app_;
    CNimbDoc& document_;
    CMgrSplitterWnd m_wndSplitter;
    CMgrSplitterWnd m_wndSplitter2;
    fw::StatusBar m_wndStatusBar;
    fw::ToolBar m_wndToolBarSmall;
    fw::ToolBar m_wndToolBarLarge;
    fw::ReBar m_wndReBar;
    std::unique_ptr<CTrayWnd> m_pTrayWnd;
    // The tree pane, a child of the outer splitter, while the frame exists.
    CLeftView* treeView_ = nullptr;
    bool m_bWasMaximized = false;
    bool m_bTrayIconShown = false;
    bool m_bExiting = false;
    // Restored-size notifications of the start left alone so far (at most 2):
    // the panes keep their created sizes until the start is over.
    int restoredSizes_ = 0;
    bool startupDone_ = false;
};

// The text of pane 1 for a screen rectangle.
std::string RectPaneText(const RECT& rc);
