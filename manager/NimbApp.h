// The manager's application object: one running instance, the start
// sequence, the start switches, the main loop and the order of the end.
#pragma once

#include "ErrorHandler.h"
#include "NimbAutomation.h"
#include "MainFrame.h"
#include "NimbDoc.h"
#include "StartSwitches.h"

#include "fw/com.h"
#include "fw/com_registration.h"
#include "fw/command.h"
#include "fw/handles.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Finds the running manager's window ("Vessa Manager", any class) and brings
// it forward: restored, shown, raised and made the foreground window. True
// when one was found.
bool ActivatePreviousInstance();

class CNimbApp : public CNimbAutomationTarget, public CFrameHost {
public:
    CNimbApp(std::string commandLine, std::string programFolder);
    ~CNimbApp() override;
    CNimbApp(const CNimbApp&) = delete;
    CNimbApp& operator=(const CNimbApp&) = delete;

    // The one application object of the process while it exists.
    static CNimbApp* Instance();

    // The start sequence; false ends the process at once.
    bool InitInstance();
    // The main loop, then the end: the frame (with the tray icon) and the document go.
    int Run();

    void ParseStartSwitches();
    const std::string& GetStartPath() const override { return m_strStartPath; }

    CErrorHandler& ErrorHandler() override { return m_errorHandler; }
    const std::string& ProgramFolder() const override { return programFolder_; }
    void ReportError(int code, const char* label) override;
    CMainFrame* MainFrame() const { return frame_.get(); }
    CNimbDoc* Document() const { return document_.get(); }

    // What the automation object's calls do (one at a time, never under a modal dialog).
    void SetFocusOnLinkItem(const std::string& path) override;
    // Shown (normal show), then restored from minimised or maximised.
    void ShowManager() override;
    void RefreshNimbTree() override;
    // The real exit has started: browsers no longer find this manager.
    void RevokeAutomation() override;
    CNimbAutomation* Automation() const { return m_pAutomation.get(); }

private:
    // A start by COM serves the document's and the automation object's
    // classes until its last object and lock go, or a grace period passes
    // with none; an ordinary start rewrites their registry entries.
    bool RegisterClassFactories();
    void UpdateRegistry();
    void CreateAutomationObject();

    std::string commandLine_;
    std::string programFolder_;
    std::string m_strStartPath;
    CErrorHandler m_errorHandler;
    bool m_bShowAtStart = true;
    std::optional<fw::OleApartment> ole_;
    std::unique_ptr<CNimbDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<CNimbAutomation> m_pAutomation;
    std::vector<std::unique_ptr<fw::ServerClass>> factories_;
};
