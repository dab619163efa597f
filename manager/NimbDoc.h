// The manager's document: the stored items behind the current tree item and
// their kind, the link being shown (written back to its file only when the
// panes changed it), and the launcher. It keeps no file of its own.
#pragma once

#include "LinkStore.h"
#include "URLObject.h"
#include "tree/TreeKinds.h"

#include "fw/frame.h"
#include "fw/handles.h"

#include <memory>
#include <string>
#include <vector>

class CNimbApp;
class CLinkLauncherDlg;
class CLeftView;

// What the document asks of the desktop pane; each call an error code.
class CDesktopPane {
public:
    virtual ~CDesktopPane() = default;
    // show 0: every miniature goes; 1: one for the entry (showRect 0: fixed, no rectangle).
    virtual int ShowBrowser(const CURLEntry* entry, int show, int showRect) = 0;
    // Writes each miniature's rectangle into the matching record; 0 or 14.
    virtual int SaveWindowRects(const CURLEntryList& selection, std::vector<CURLObject>& records) = 0;
    virtual int ReloadSkin(const std::string& skin) = 0;
};

// What the document asks of the property pane.
class CPropertyPane {
public:
    virtual ~CPropertyPane() = default;
    virtual void EnablePages(int clear, int enable, int kind, int titleEditable) = 0;
    virtual int ShowLinkProperties(const CURLEntry& entry, const std::string& text) = 0;
    // Copies the pages' values into the first record; 6 when there is none.
    virtual int SavePagesToLink(const CURLEntryList& selection, std::vector<CURLObject>& records) = 0;
};

class CNimbDoc : public fw::Document {
public:
    explicit CNimbDoc(CNimbApp& app);
    ~CNimbDoc() override;

    // The launcher's hidden window; once.
    void OnNewDocument();

    // The tree's current item changed: the link shown so far is written back
    // first, then the panes show the new selection.
    void OnTreeCtrlLClick(int kind, const CURLEntryList& entries);
    void LaunchURL();
    void SaveAndLaunch();
    void LaunchURLFromTray(const CURLEntryList& entries);
    void SaveURLObject();
    void SaveIfEditable();
    void ClearSelection() { m_selection.clear(); }
    void OnChangeURLTitle(const std::string& title);
    void ReloadDesktopSkin(const std::string& skin);
    void SetFocusOnLinkItem(const std::string& path);
    void RefreshNimbTree();
    // Before the frame goes: a launch still running may restore the page settings (bounded wait).
    void OnCloseDocument();

    // The panes, when they exist; calls to a missing one are skipped.
    void SetLeftView(CLeftView* view) { leftView_ = view; }
    void SetDesktopPane(CDesktopPane* pane) { desktop_ = pane; }
    void SetPropertyPane(CPropertyPane* pane) { property_ = pane; }
    CLeftView* GetLeftView() const { return leftView_; }
    CDesktopPane* DesktopPane() const { return desktop_; }

    const CURLEntryList& Selection() const { return m_selection; }
    int Kind() const { return m_nKind; }
    static bool SkipNextSave() { return s_bSkipNextSave; }
    CNimbApp& App() const { return app_; }
    // The worker threads of the launches so far that may still run.
    size_t RunningLaunches();

private:
    void Report(int code, const char* label);
    void ShowNimbBrowsers(const CURLEntryList& entries);
    void ShowURLProperties(const CURLEntryList& entries, int kind);
    int IsDefaultTemplate(const CURLEntry& entry, bool* result) const;
    void Launch(const CURLEntryList& entries, const char* label);

    CNimbApp& app_;
    CURLEntryList m_selection;
    std::unique_ptr<CLinkLauncherDlg> m_pLauncher;
    int m_nKind = 0;
    static bool s_bSkipNextSave;
    std::vector<fw::Handle> launches_;
    CLeftView* leftView_ = nullptr;
    CDesktopPane* desktop_ = nullptr;
    CPropertyPane* property_ = nullptr;
};
