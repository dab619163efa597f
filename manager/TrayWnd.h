// The hidden window behind the manager's notification-area icon. The frame
// decides when the icon is added and removed; a left click on the icon opens
// the stored links and groups (a choice launches it), a right click the
// command menu. Each choice acts once.
#pragma once

#include "LinkStore.h"
#include "LinksMenu.h"

#include "fw/dialog.h"
#include "fw/handles.h"
#include "fw/tray_icon.h"

#include <memory>
#include <string>
#include <vector>

// What the tray window asks of the frame it belongs to.
class CTrayHost {
public:
    virtual ~CTrayHost() = default;
    virtual HWND FrameHwnd() const = 0;
    virtual bool TrayIconShown() const = 0;
    virtual void OnHelpGuide() = 0;
    virtual void OnAppAbout() = 0;
    virtual void OnOptions() = 0;
    // The real exit, once no modal dialog or box is open.
    virtual void StartExit() = 0;
    // Launches a links-popup choice through the document.
    virtual void LaunchFromTray(const CURLEntryList& entries) = 0;
};

inline constexpr UINT kTrayIconId = 214;
inline constexpr UINT kTrayNotifyMessage = 0x8010;

// The command menu's ids.
namespace TrayCommand {
inline constexpr UINT kLaunchBrowser = 113;
inline constexpr UINT kToggleMain = 108;
inline constexpr UINT kOptions = 32787;
inline constexpr UINT kHelp = 110;
inline constexpr UINT kAbout = 109;
inline constexpr UINT kExit = 111;
}  // namespace TrayCommand

inline constexpr char kNoGroupItemText[] = "There is no group item to launch";
// The box when the browser is not beside the manager (the tray's and the frame's Launch Browser).
inline constexpr char kBrowserMissingText[] =
    "Failed to open Vessa.exe. Please ensure that Vessa.exe is located in the same directory as this Vessa "
    "Manager program";

class CTrayWnd : public fw::Dialog {
public:
    // Makes the hidden window (never shown) and the links popup's builder.
    CTrayWnd(CTrayHost& frame, std::string programFolder);
    ~CTrayWnd() override;

    // 0, or 36 when icon 128 cannot be loaded.
    int LoadTrayIcon();
    // 0, or 37 when the system refuses the icon.
    int AddTrayIcon();
    // 0, or 76 when the system refuses to remove it.
    int DeleteTrayIcon();

    // The links popup built afresh (the last build's menus freed first); the
    // handle stays valid until the next build.
    HMENU BuildFolderMenu();
    // The command menu: "Hide" or "Show" by the frame's visibility.
    fw::Menu BuildCommandMenu() const;
    // The full paths behind the last links popup's items, in id order.
    const std::vector<std::string>& Paths() const { return m_paths; }
    int LastLinkId() const { return m_nLastLinkId; }

    // The entry of a link file below the program folder's Links, at the front
    // of list; nothing for any other path.
    static void CollectLink(const std::string& programFolder, const std::string& path, CURLEntryList* list);
    // The members of a group file, each at the front of list (so the last
    // line comes first); lines that name no link below Links are left out.
    static void CollectGroupLinks(const std::string& programFolder, const std::string& groupPath, CURLEntryList* list);

    void OnTrayCommand(UINT id);
    void LaunchBrowser();
    void ToggleMainWindow();
    void OnExit();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override {}
    void OnCancel() override {}

    void ShowFolderMenu();
    void ShowCommandMenu();

private:
    void OnTrayNotify(WPARAM id, LPARAM mouse);
    // While a modal dialog or box is open: brings it forward; true then.
    bool BringModalForward() const;
    void TrackMenu(HMENU menu);
    void LaunchItem(int id);

    CTrayHost& m_pFrame;
    fw::Icon itemIcons_[3];  // link, folder, group: the builder's, kept here
    std::unique_ptr<CLinksMenu> m_pLinksMenu;
    int m_nNextId = 0;
    std::vector<std::string> m_paths;
    int m_nLastLinkId = 0;
    std::string m_strProgramFolder;
    fw::Icon m_hIcon;
    fw::TrayIcon icon_;
    UINT taskbarCreated_ = 0;
    // The last links popup: the objects over its menus, then the loaded
    // resource that holds them (destroyed first; the objects own no handle).
    std::unique_ptr<COwnerDrawMenu> popup_;
    MenuList ownedMenus_;
    fw::Menu loaded_;
};
