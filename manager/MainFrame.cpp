// The main frame's creation, bars, panes and size rules.
#include "MainFrame.h"

#include "AppConstants.h"
#include "FolderUtil.h"
#include "LeftView.h"
#include "NimbDoc.h"
#include "PaneViews.h"
#include "property/PropertyView.h"
#include "RegSettings.h"
#include "resource.h"

#include <commctrl.h>

#include <cstdio>

namespace {

constexpr char kFrameClass[] = "VessaMgr.Frame";
constexpr char kRectText[] = "L=9999, T=9999, R=9999, B=9999";
constexpr int kToolBarWidthBands = 9;

struct ButtonArt {
    UINT command;
    UINT label;
    UINT smallIcon;
    UINT largeIcon;
};

constexpr ButtonArt kButtons[] = {
    {ID_ADD_LINK, IDS_LABEL_ADDLINK, IDI_SMALL_ADDLINK, IDI_LARGE_ADDLINK},
    {ID_ADD_FOLDER, IDS_LABEL_ADDFOLDER, IDI_SMALL_ADDFOLDER, IDI_LARGE_ADDFOLDER},
    {ID_LAUNCH_BUTTON, IDS_LABEL_LAUNCH, IDI_SMALL_LAUNCH, IDI_LARGE_LAUNCH},
    {ID_EDIT_CUT, IDS_LABEL_CUT, IDI_SMALL_CUT, IDI_LARGE_CUT},
    {ID_EDIT_COPY, IDS_LABEL_COPY, IDI_SMALL_COPY, IDI_LARGE_COPY},
    {ID_EDIT_PASTE, IDS_LABEL_PASTE, IDI_SMALL_PASTE, IDI_LARGE_PASTE},
    {ID_EDIT_DELETE, IDS_LABEL_DELETE, IDI_SMALL_DELETE, IDI_LARGE_DELETE},
    {ID_HELP_GUIDE, IDS_LABEL_HELP, IDI_SMALL_HELP, IDI_LARGE_HELP},
};

std::string LoadText(UINT id) {
    char text[256] = {};
    const int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
    return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace

std::string RectPaneText(const RECT& rc) {
    char text[96];
    std::snprintf(text, sizeof(text), "L=%ld, T=%ld, R=%ld, B=%ld", static_cast<long>(rc.left),
                  static_cast<long>(rc.top), static_cast<long>(rc.right), static_cast<long>(rc.bottom));
    return text;
}

CMainFrame::CMainFrame(CFrameHost& app, CNimbDoc& document) : app_(app), document_(document) {
    SetDocument(&document);
    SetAppTarget(&app);
}

CMainFrame::~CMainFrame() {
    // The window goes while the bars' image lists and the tray window still exist.
    Destroy();
}

RECT CMainFrame::StartRect() const {
    RECT stored{};
    if (CRegSettings(app_.ProgramFolder()).LoadWindowRect(AppConstants::kManagerTitle, &stored) != 0)
        return MainFrameSize::kDefaultRect;
    // An empty or inverted rectangle cannot be a window's.
    if (stored.right <= stored.left || stored.bottom <= stored.top) return MainFrameSize::kDefaultRect;
    return stored;
}

bool CMainFrame::CreateMainFrame() {
    return CreateFrame(kFrameClass, IDR_MAINFRAME, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, StartRect());
}

int CMainFrame::OnCreate(CREATESTRUCTA*) {
    if (!OnCreateClient()) return -1;
    if (!CreateBars()) return -1;

    CRegSettings settings(app_.ProgramFolder());
    DWORD firstRun = 0;
    if (settings.GetFirstRun(&firstRun) == 0 && firstRun != 0) {
        WriteQuickStartLauncher(app_.ProgramFolder() + "\\qstlauncher.htm");
        settings.ClearFirstRun();
    }

    m_pTrayWnd = std::make_unique<CTrayWnd>(*this, app_.ProgramFolder());
    DWORD hideTray = 0;
    if (settings.GetHideToolTray(&hideTray) != 0) hideTray = 0;
    if (!hideTray) ShowTrayIcon();
    RecalcLayout();
    return 0;
}

bool CMainFrame::OnCreateClient() {
    SetText(AppConstants::kManagerTitle);
    using fw::SplitterWindow;
    if (!m_wndSplitter.CreateStatic(hwnd(), 1, 2, WS_VISIBLE, kFirstPaneId)) return false;
    SetClientWindow(m_wndSplitter.hwnd());

    const RECT rc = StartRect();
    auto tree = std::make_unique<CLeftView>(document_);
    CLeftView* treeView = tree.get();
    if (!m_wndSplitter.CreateView(0, 0, std::move(tree), SIZE{rc.right - rc.left - 439, rc.bottom}, this)) {
        m_wndSplitter.Destroy();
        return false;
    }
    treeView_ = treeView;
    document_.SetTreePane(treeView);
    if (!m_wndSplitter2.CreateStatic(m_wndSplitter.hwnd(), 2, 1, WS_VISIBLE | WS_BORDER, SplitterWindow::PaneId(0, 1)))
        return false;
    m_wndSplitter.SetColumnInfo(1, MainFrameSize::kRightColumn, 0);
    if (!m_wndSplitter2.CreateView(0, 0, std::make_unique<CDesktopView>(*this),
                                   SIZE{MainFrameSize::kRightColumn, MainFrameSize::kDesktopRow}, this) ||
        !m_wndSplitter2.CreateView(1, 0, std::make_unique<CPropertyView>(document_),
                                   SIZE{MainFrameSize::kRightColumn, MainFrameSize::kPropertyRow}, this)) {
        m_wndSplitter2.Destroy();
        return false;
    }
    return true;
}

bool CMainFrame::CreateBars() {
    if (!m_wndReBar.Create(hwnd(), RBS_BANDBORDERS, kReBarId)) return false;
    const DWORD barStyle = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS | CCS_TOP;
    if (!m_wndToolBarSmall.Create(m_wndReBar.hwnd(), barStyle, kToolBarId)) return false;
    if (!m_wndToolBarLarge.Create(m_wndReBar.hwnd(), barStyle, kToolBarId)) return false;
    if (!SetUpToolBar(m_wndToolBarSmall, false) || !SetUpToolBar(m_wndToolBarLarge, true)) return false;
    ApplyToolBarSize();
    SetTopBar(m_wndReBar.hwnd());
    AddToolBar(&m_wndToolBarSmall);
    AddToolBar(&m_wndToolBarLarge);

    if (!m_wndStatusBar.Create(hwnd(), kStatusBarId)) return false;
    std::vector<int> widths{0, m_wndStatusBar.TextWidth(kRectText)};
    for (UINT key : {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL})
        widths.push_back(m_wndStatusBar.TextWidth(LoadText(key)) + 8);
    m_wndStatusBar.SetPaneWidths(widths);
    SetStatusBar(&m_wndStatusBar);
    return true;
}

bool CMainFrame::SetUpToolBar(fw::ToolBar& bar, bool large) {
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    const int size = large ? 32 : 16;
    // Buttons and tips go to the frame, not to the rebar that holds the bar.
    ::SendMessageA(bar.hwnd(), TB_SETPARENT, reinterpret_cast<WPARAM>(hwnd()), 0);
    ::SendMessageA(bar.hwnd(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);

    fw::ImageList normal(::ImageList_LoadImageA(module, MAKEINTRESOURCEA(large ? IDB_TOOLBAR_LARGE : IDB_TOOLBAR_SMALL),
                                                size, 0, RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    fw::ImageList hot(::ImageList_Create(size, size, ILC_COLORDDB | ILC_MASK, 8, 0));
    if (!normal || !hot) return false;
    std::vector<UINT> commands;
    std::vector<std::string> labels;
    for (const ButtonArt& b : kButtons) {
        fw::Icon icon(static_cast<HICON>(
            ::LoadImageA(module, MAKEINTRESOURCEA(large ? b.largeIcon : b.smallIcon), IMAGE_ICON, size, size, 0)));
        ::ImageList_AddIcon(hot.get(), icon.get());
        commands.push_back(b.command);
        if (large) labels.push_back(LoadText(b.label));
    }
    bar.SetImageLists(std::move(normal), std::move(hot));
    if (large) {
        bar.SetButtonWidth(60, 80);
        bar.SetBitmapSize(40, 32);
    } else {
        bar.SetButtonWidth(30, 30);
        bar.SetBitmapSize(16, 16);
    }
    if (!bar.SetButtons(commands, labels)) return false;
    ::SendMessageA(bar.hwnd(), TB_AUTOSIZE, 0, 0);
    const SIZE button = bar.ButtonSize();
    return m_wndReBar.AddBand(bar.hwnd(), RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP, button, kToolBarWidthBands * button.cx,
                              kToolBarWidthBands * button.cx);
}

void CMainFrame::ApplyToolBarSize() {
    CRegSettings settings(app_.ProgramFolder());
    DWORD size = 1;
    if (settings.LoadToolBarSize(&size) != 0) {
        settings.SaveToolBarSize(1);
        size = 1;
    }
    m_wndReBar.ShowBand(0, size == 0);
    m_wndReBar.ShowBand(1, size != 0);
}

void CMainFrame::LaunchFromTray(const CURLEntryList& entries) {
    document_.LaunchURLFromTray(entries);
}

void CMainFrame::ShowRectInStatusBar(const RECT& rc) {
    m_wndStatusBar.SetText(1, RectPaneText(rc));
}

void CMainFrame::ClearRectInStatusBar() {
    m_wndStatusBar.SetText(1, "");
}

void CMainFrame::ShowTrayIcon() {
    if (!m_bTrayIconShown && m_pTrayWnd) m_bTrayIconShown = m_pTrayWnd->AddTrayIcon() == 0;
}

void CMainFrame::HideTrayIcon() {
    if (m_bTrayIconShown && m_pTrayWnd && m_pTrayWnd->DeleteTrayIcon() == 0) m_bTrayIconShown = false;
}

void CMainFrame::SetLeftPaneWidth(int width) {
    m_wndSplitter.SetColumnInfo(0, width - MainFrameSize::kRightColumn, 2);
    m_wndSplitter.RecalcLayout();
}

void CMainFrame::SetPropertyRowHeight(int height) {
    m_wndSplitter2.SetRowInfo(1, height - MainFrameSize::kDesktopRow, 2);
    m_wndSplitter2.RecalcLayout();
}

void CMainFrame::OnSizing(const RECT& proposed) {
    const int w = proposed.right - proposed.left;
    const int h = proposed.bottom - proposed.top;
    if (w > 439) SetLeftPaneWidth(w - 19);
    if (h > MainFrameSize::kDesktopRow) SetPropertyRowHeight(h);
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
    auto apply = [&] {
        if (cx > 438) SetLeftPaneWidth(cx - 11);
        if (cy > MainFrameSize::kDesktopRow) SetPropertyRowHeight(cy);
    };
    if (type == SIZE_RESTORED) {
        if (m_bWasMaximized) {
            apply();
            m_bWasMaximized = false;
        } else if (!startupDone_ && restoredSizes_ < 2) {
            ++restoredSizes_;
        } else {
            apply();
        }
    } else if (type == SIZE_MAXIMIZED) {
        SetLeftPaneWidth(cx - 11);
        SetPropertyRowHeight(cy);
        m_bWasMaximized = true;
    }
}
