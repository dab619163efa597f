// The link launcher: a hidden window whose worker threads start one browser
// process per stored link, each under that link's page font and colours, and
// put the user's page settings back afterwards.
#pragma once

#include "ErrorCodes.h"

#include "FavoritesHost.h"
#include "FolderUtil.h"
#include "LinkStore.h"
#include "LinksMenu.h"

#include "fw/dialog.h"
#include "fw/handles.h"
#include "fw/thread.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The private message that tells a worker thread to start its job.
inline constexpr UINT kLaunchStartMessage = 0x8019;

// How many times the browser's launcher and the manager's poll "BrowserID".
inline constexpr int kBrowserPollLimit = 100;
inline constexpr int kManagerPollLimit = 150;
// Dialog templates of the hidden launcher window.
inline constexpr UINT kBrowserLauncherTemplate = 99;
inline constexpr UINT kManagerLauncherTemplate = 204;

// The browser's favorites popup: the menu resource whose first popup it
// fills, its placeholder item, its own commands and the icons of its items.
inline constexpr UINT kFavoritesMenuResource = 135;
inline constexpr UINT kFavoritesPlaceholderId = 31032;
inline constexpr UINT kOpenManagerId = 31033;
inline constexpr UINT kAddFavoriteId = 31034;
inline constexpr UINT kLinkIconResource = 155;
inline constexpr UINT kFolderIconResource = 153;
inline constexpr UINT kGroupIconResource = 154;

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
ErrorCode SaveBrowserSettings(PageSettings* saved);
// Writes the entry's link settings; the first failed write ends it (39).
ErrorCode ApplyLinkSettings(const CLinkStore& store, const CURLEntry& entry);
// Writes the saved values back; the first failed write ends it (39).
ErrorCode RestoreBrowserSettings(const PageSettings& saved);

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
    // Creates the hidden window from its template (99 for the browser, 204 for
    // the manager). The browser's launcher also carries the favorites commands
    // for its main window, the host.
    CLinkLauncherDlg(HWND parent, UINT templateId, int pollLimit, CFavoritesHost* host = nullptr);
    ~CLinkLauncherDlg() override;

    // --- The browser's favorites (LinkLauncherFavorites.cpp) ---
    // Works below another program folder than the running program's (tests).
    void UseProgramFolder(const std::string& folder);
    const std::string& ProgramFolder() const { return programFolder_; }

    // Builds the popup of the manager commands, links and groups and tracks
    // it under the button (screen coordinates); returns when it closes. The
    // chosen command arrives afterwards and is resolved against ItemPaths().
    void ShowFavoritesMenu(const RECT& buttonRect);
    // Opens the link of item id here (or in a browser of its own when the
    // link asks for one), or starts a browser per member of a group item.
    void LaunchFavorite(int id);
    // Stores the page as a new link at the top of Links, then tells the
    // running manager or starts it with the link selected.
    void AddFavorite(const std::string& address, const std::string& title, const RECT& rect);
    void OpenManager();
    // Starts VessaMgr.exe from the program folder with the parameters.
    void StartManager(const std::string& parameters);
    // The link files a group lists, as full paths; only lines that name a
    // file below Links count.
    void ExpandGroup(const std::string& groupPath, std::vector<std::string>* out) const;
    // The link's separate-browser flag and web address; nonzero when the
    // link cannot be read.
    ErrorCode IsSeparateBrowser(const CURLEntry& entry, bool* separate) const;
    ErrorCode GetLinkURL(const CURLEntry& entry, std::string* address) const;

    const std::vector<std::string>& ItemPaths() const { return itemPaths_; }
    int LastLinkId() const { return lastLinkId_; }

    // Starts a worker thread for a copy of the entries and returns at once,
    // with a handle of the worker for callers that want to wait for it.
    fw::Handle Launch(const CURLEntryList& entries);
    fw::Handle Launch(const std::string& programFolder, const CURLEntryList& entries);

protected:
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMeasureItem(MEASUREITEMSTRUCT* item);

    int pollLimit_;
    fw::Thread lastThread_;  // kept, never waited for by the launcher itself

    CFavoritesHost* host_;  // not owned; null in the manager
    std::string programFolder_;
    std::array<fw::Icon, 3> icons_;  // link, folder, group
    std::unique_ptr<CLinksMenu> linksMenu_;
    std::vector<std::string> itemPaths_;  // item 50001 + i has path i
    // The last popup's menu objects; their handles went with the resource.
    std::unique_ptr<COwnerDrawMenu> popup_;
    MenuList ownedMenus_;
    int nextId_ = kFirstLinkItemId - 1;
    int lastLinkId_ = kFirstLinkItemId - 1;
};
