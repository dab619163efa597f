#include "NimbApp.h"

#include "AppConstants.h"
#include "MainFrame.h"
#include "NimbDoc.h"
#include "RegSettings.h"

#include "fw/message_loop.h"
#include "fw/msgbox.h"
#include "fw/sync.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

CNimbApp* g_app = nullptr;

// Held from before the look for a running manager until this one's frame has
// its title, so two managers started at once cannot both become the manager.
constexpr char kStartMutex[] = "VessaMgr.Start";
constexpr DWORD kStartMutexWait = 30000;

}  // namespace

bool ActivatePreviousInstance() {
    HWND wnd = ::FindWindowA(nullptr, AppConstants::kManagerTitle);
    if (!wnd) return false;
    if (!::IsWindowVisible(wnd) || ::IsIconic(wnd)) ::ShowWindow(wnd, SW_SHOWNORMAL);
    ::SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(wnd);
    ::SetActiveWindow(wnd);
    ::SetFocus(wnd);
    return true;
}

CNimbApp::CNimbApp(std::string commandLine, std::string programFolder)
    : commandLine_(std::move(commandLine)), programFolder_(std::move(programFolder)) {
    g_app = this;
    fw::SetProgramName("VessaMgr");
}

CNimbApp::~CNimbApp() {
    frame_.reset();
    document_.reset();
    if (g_app == this) g_app = nullptr;
}

CNimbApp* CNimbApp::Instance() {
    return g_app;
}

bool CNimbApp::InitInstance() {
    fw::Handle startMutex(::CreateMutexA(nullptr, FALSE, kStartMutex));
    fw::MutexGuard starting(startMutex.get(), kStartMutexWait);
    if (ActivatePreviousInstance()) return false;

    ole_.emplace();
    if (!*ole_) {
        fw::ShowMessageBox("OLE initialization failed.  Make sure that the OLE libraries are the correct version.",
                           MB_OK | MB_ICONSTOP);
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_TREEVIEW_CLASSES |
                                                        ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    if (IsRegistrationStart(commandLine_)) return RegisterClassFactories();
    UpdateRegistry();

    // The log is new before the frame is made, so what the frame reports stays in it.
    m_errorHandler.CreateLog(programFolder_);

    document_ = std::make_unique<CNimbDoc>(*this);
    document_->OnNewDocument();
    frame_ = std::make_unique<CMainFrame>(*this, *document_);
    if (!frame_->CreateMainFrame()) return false;
    frame_->InitialUpdate();
    ParseStartSwitches();
    CreateAutomationObject();
    starting.Release();

    DWORD hideProgram = 0;
    if (CRegSettings(programFolder_).GetHideProgram(&hideProgram) != 0) hideProgram = 0;
    const bool hidden = StartsHidden(hideProgram != 0, m_bShowAtStart, frame_->TrayIconShown());
    ::ShowWindow(frame_->hwnd(), hidden ? SW_HIDE : SW_SHOW);
    ::UpdateWindow(frame_->hwnd());
    ::DragAcceptFiles(frame_->hwnd(), TRUE);
    frame_->StartupDone();
    return true;
}

void CNimbApp::ParseStartSwitches() {
    const StartSwitches switches = ::ParseStartSwitches(commandLine_);
    m_strStartPath = switches.startPath;
    if (!switches.showAtStart) m_bShowAtStart = false;
}

int CNimbApp::Run() {
    CMainFrame* frame = frame_.get();
    const int code = fw::RunMessageLoop([frame](MSG& msg) { return frame && frame->PreTranslateMessage(msg); },
                                        [frame] {
                                            if (frame) frame->OnIdle();
                                        });
    // A quit that came before the frame was destroyed (a critical error's No)
    // still takes the tray icon away with the frame.
    frame_.reset();
    document_.reset();
    return code;
}

bool CNimbApp::RegisterClassFactories() {
    // Nothing is served yet: the start ends instead of idling without a window.
    return false;
}

void CNimbApp::UpdateRegistry() {}

void CNimbApp::CreateAutomationObject() {}
