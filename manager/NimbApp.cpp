#include "NimbApp.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "FolderUtil.h"
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
    m_pAutomation.reset();
    factories_.clear();
    frame_.reset();
    document_.reset();
    if (g_app == this) g_app = nullptr;
}

CNimbApp* CNimbApp::Instance() {
    return g_app;
}

bool CNimbApp::InitInstance() {
    // A start by COM never looks for a running manager: its client waits for
    // the class, and a window brought forward would not give it one.
    if (IsRegistrationStart(commandLine_)) {
        ole_.emplace();
        return *ole_ && RegisterClassFactories();
    }
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

    UpdateRegistry();

    // The log is new before the frame is made, so what the frame reports stays in it.
    m_errorHandler.CreateLog(programFolder_);
    // Add Folder and the group commands write into these without making them;
    // one that cannot be made is reported by the command that needs it.
    CFolderUtil(programFolder_).CreateProgramFolders();

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
    m_pAutomation.reset();
    factories_.clear();
    frame_.reset();
    document_.reset();
    return code;
}

namespace {

// A registration-only start ends this long after its start when no client
// created an object, or as soon as the last object and lock are gone.
constexpr ULONGLONG kRegistrationGraceMs = 10000;
constexpr UINT kRegistrationCheckMs = 200;
ULONGLONG g_registrationStart = 0;
bool g_servedAny = false;

void CALLBACK CheckRegistrationStart(HWND, UINT, UINT_PTR, DWORD) {
    if (fw::ServerLocks::Count() > 0) {
        g_servedAny = true;
        return;
    }
    if (g_servedAny || ::GetTickCount64() - g_registrationStart >= kRegistrationGraceMs) ::PostQuitMessage(0);
}

}  // namespace

bool CNimbApp::RegisterClassFactories() {
    // Objects made here have no frame or document to act on: their calls do nothing.
    auto idle = []() -> fw::ComPtr<IUnknown> {
        return fw::MakeCom<CNimbAutomationDispatch>(CNimbAutomationDispatch::Enqueue(), true).As<IUnknown>();
    };
    for (const fw::ServerClassInfo& info : {NimbDocumentClassInfo(), NimbAutomationClassInfo()}) {
        auto factory = std::make_unique<fw::ServerClass>(info, idle, REGCLS_SINGLEUSE);
        if (FAILED(factory->RegisterRunning())) return false;
        factories_.push_back(std::move(factory));
    }
    g_registrationStart = ::GetTickCount64();
    return ::SetTimer(nullptr, 0, kRegistrationCheckMs, CheckRegistrationStart) != 0;
}

void CNimbApp::UpdateRegistry() {
    // The document's class first, then the automation class, which takes the ProgID over.
    const std::string program = fw::RunningProgramPath();
    fw::RegisterServerClass(NimbDocumentClassInfo(), program);
    fw::RegisterServerClass(NimbAutomationClassInfo(), program);
}

void CNimbApp::CreateAutomationObject() {
    // A failure is not reported: browsers then start a manager, which brings this one forward.
    m_pAutomation = std::make_unique<CNimbAutomation>(*this);
    if (m_pAutomation->CreateHidden()) m_pAutomation->RegisterActive();
}

void CNimbApp::RevokeAutomation() {
    if (m_pAutomation) m_pAutomation->Revoke();
}

void CNimbApp::SetFocusOnLinkItem(const std::string& path) {
    if (document_) document_->SetFocusOnLinkItem(path);
}

void CNimbApp::ShowManager() {
    if (!frame_ || !frame_->hwnd()) return;
    HWND wnd = frame_->hwnd();
    ::ShowWindow(wnd, SW_SHOWNORMAL);
    if (::IsIconic(wnd) || ::IsZoomed(wnd)) ::ShowWindow(wnd, SW_RESTORE);
}

void CNimbApp::ReportError(int code, const char* label) {
    if (code != kErrNone && m_errorHandler.ReportError(code, label)) ::PostQuitMessage(0);
}

void CNimbApp::RefreshNimbTree() {
    if (document_) document_->RefreshNimbTree();
}
