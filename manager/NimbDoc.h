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

class CErrorHandler;
class CLinkLauncherDlg;

// What the document asks of the application above it.
class CDocumentHost {
public:
    virtual ~CDocumentHost() = default;
    virtual const std::string& ProgramFolder() const = 0;
    // The link to select once the tree is first built; empty for none.
    virtual const std::string& GetStartPath() const = 0;
    virtual CErrorHandler& ErrorHandler() = 0;
    // The one report of an error code: nothing for 0, else the box and the log
    // line; a critical code the user answers No to ends the program.
    virtual void ReportError(int code, const char* label) = 0;
};

// What the document asks of the tree pane.
class CTreePane {
public:
    virtual ~CTreePane() = default;
    // Selects the link item of a full link file path; nothing for an empty one.
    virtual void SelectLinkByPath(const std::string& path) = 0;
    // Empties the tree and builds it again from the disk.
    virtual void RefreshTree() = 0;
    // The current item's link has a new title: its items follow; an error code.
    virtual int ChangeItemTitle(const std::string& title) = 0;
    // A link was saved with a new title: its item below Links (or the
    // template's item) and each member that names it show the title.
    virtual void RetitleLink(const CURLEntry& entry, const std::string& title) = 0;
};

// What the document asks of the desktop pane; each call an error code.
class CDesktopPane {
public:
    virtual ~CDesktopPane() = default;
    // show 0: every miniature goes; 1: one for the entry and its stored
    // record (showRect 0: fixed, no rectangle); 16 without a record.
    virtual int ShowBrowser(const CURLEntry* entry, const CURLObject* record, int show, int showRect) = 0;
    // Writes each miniature's rectangle into the matching record; 0 or 14.
    virtual int SaveWindowRects(const CURLEntryList& selection, std::vector<CURLObject>& records) = 0;
    virtual int ReloadSkin(const std::string& skin) = 0;
};

// What the document asks of the property pane.
class CPropertyPane {
public:
    virtual ~CPropertyPane() = default;
    virtual void EnablePages(int clear, int enable, int kind, int titleEditable) = 0;
    // The pages show the stored record of the selected entry.
    virtual int ShowLinkProperties(const CURLEntry& entry, const CURLObject& record) = 0;
    // Copies the pages' values into the first record; 6 when there is none.
    virtual int SavePagesToLink(const CURLEntryList& selection, std::vector<CURLObject>& records) = 0;
};

class CNimbDoc : public fw::Document {
public:
    explicit CNimbDoc(CDocumentHost& host);
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
    // The title-change notice of a save: the tree's items of the link follow.
    void OnLinkRetitled(const CURLEntry& entry, const std::string& title);
    void ReloadDesktopSkin(const std::string& skin);
    void SetFocusOnLinkItem(const std::string& path);
    void RefreshNimbTree();
    // Before the frame goes: a launch still running may restore the page settings (bounded wait).
    void OnCloseDocument();

    // The panes, when they exist; calls to a missing one are skipped.
    void SetTreePane(CTreePane* pane) { tree_ = pane; }
    void SetDesktopPane(CDesktopPane* pane) { desktop_ = pane; }
    void SetPropertyPane(CPropertyPane* pane) { property_ = pane; }
    CDesktopPane* DesktopPane() const { return desktop_; }

    const CURLEntryList& Selection() const { return m_selection; }
    int Kind() const { return m_nKind; }
    static bool SkipNextSave() { return s_bSkipNextSave; }
    const std::string& ProgramFolder() const { return host_.ProgramFolder(); }
    const std::string& GetStartPath() const { return host_.GetStartPath(); }
    CErrorHandler& ErrorHandler() const { return host_.ErrorHandler(); }
    void ReportError(int code, const char* label) const { host_.ReportError(code, label); }
    // The worker threads of the launches so far that may still run.
    size_t RunningLaunches();

private:
    // Each entry's stored record, read once for every pane; the code of a failed read.
    struct Stored {
        int code = 0;
        std::unique_ptr<CURLObject> record;
    };
    std::vector<Stored> Load(const CURLEntryList& entries) const;
    void ShowNimbBrowsers(const CURLEntryList& entries, const std::vector<Stored>& stored);
    void ShowURLProperties(const CURLEntryList& entries, const std::vector<Stored>& stored, int kind);
    void Launch(const CURLEntryList& entries, const char* label);

    CDocumentHost& host_;
    CURLEntryList m_selection;
    std::unique_ptr<CLinkLauncherDlg> m_pLauncher;
    int m_nKind = 0;
    static bool s_bSkipNextSave;
    std::vector<fw::Handle> launches_;
    CTreePane* tree_ = nullptr;
    CDesktopPane* desktop_ = nullptr;
    CPropertyPane* property_ = nullptr;
};
