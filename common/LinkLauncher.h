// The link launcher: a hidden window whose worker threads start one browser
// process per stored link, each under that link's page font and colours, and
// put the user's page settings back afterwards.
#pragma once

#include "LinkStore.h"

#include "fw/dialog.h"
#include "fw/thread.h"

#include <windows.h>

#include <functional>
#include <string>

// The private message that tells a worker thread to start its job.
inline constexpr UINT kLaunchStartMessage = 0x8019;

// How many times the browser's launcher and the manager's poll "BrowserID".
inline constexpr int kBrowserPollLimit = 100;
inline constexpr int kManagerPollLimit = 150;
// Dialog templates of the hidden launcher window.
inline constexpr UINT kBrowserLauncherTemplate = 99;
inline constexpr UINT kManagerLauncherTemplate = 204;

// One launch request, handed to and owned by its worker thread.
struct LaunchJob {
    std::string folder;  // the program folder
    CURLEntryList entries;
    int pollLimit = kManagerPollLimit;
};

// Internet Explorer's nine page settings, in the order they are written.
struct PageSettings {
    std::string fontName;
    int fontSize = 2;
    std::string dlgBoxColors;
    std::string background;
    std::string text;
    std::string hover;
    std::string useHover;
    std::string visited;
    std::string anchor;
};

// Reads the nine values; each one that cannot be read gets its default.
int SaveBrowserSettings(PageSettings* saved);
// Writes the entry's link settings; the first failed write ends it (39).
int ApplyLinkSettings(const CLinkStore& store, const CURLEntry& entry);
// Writes the saved values back; the first failed write ends it (39).
int RestoreBrowserSettings(const PageSettings& saved);

// The page settings a link record asks for (the font size as the registry's 0 to 4).
PageSettings GetLinkPageSettings(const CURLObject& record);

// Polls "BrowserID" until it exceeds first, at most limit + 1 reads with a
// 100 ms wait between two; returns the number of reads.
int WaitForBrowserID(DWORD first, int limit, const std::function<DWORD()>& read,
                     const std::function<void(DWORD)>& sleep);

// The worker thread's body: waits for kLaunchStartMessage (a WM_QUIT first
// ends it), then launches every entry and restores the page settings.
void LaunchThreadProc(LaunchJob job);

class CLinkLauncherDlg : public fw::Dialog {
public:
    // Creates the hidden window from its template (99 for the browser, 204 for the manager).
    CLinkLauncherDlg(HWND parent, UINT templateId, int pollLimit);
    ~CLinkLauncherDlg() override;

    // Starts a worker thread for a copy of the entries and returns at once,
    // with a handle of the worker for callers that want to wait for it.
    fw::Handle Launch(const CURLEntryList& entries);
    fw::Handle Launch(const std::string& programFolder, const CURLEntryList& entries);

private:
    int pollLimit_;
    fw::Thread lastThread_;  // kept, never waited for by the launcher itself
};
