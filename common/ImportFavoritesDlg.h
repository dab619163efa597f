// The modeless favorites import dialog of both programs: asks, clears the old
// links and groups once the chosen folder was read, shows each link as it is
// stored and reports the outcome. Made once by its owner and hidden between
// uses; the import runs on the user-interface thread from start to end.
#pragma once

#include "FavoritesReader.h"
#include "ImportFavoritesIds.h"

#include "fw/dialog.h"

#include <windows.h>

#include <functional>
#include <string>

// Which program's dialog: its template, control ids and texts.
struct ImportDialogLayout {
    enum class Owner { kBrowser, kManager };
    Owner owner;
    UINT templateId;
    int progress, description, currentLink, currentFolder, import, cancel, changeFolder, path, icon;
};

inline constexpr ImportDialogLayout kBrowserImportDialog{
    ImportDialogLayout::Owner::kBrowser, IMPORT_BROWSER_TEMPLATE, IMPORT_BROWSER_PROGRESS,
    IMPORT_BROWSER_DESCRIPTION,          IMPORT_BROWSER_LINK,     IMPORT_BROWSER_FOLDER,
    IMPORT_BROWSER_IMPORT,               IMPORT_BROWSER_CANCEL,   IMPORT_BROWSER_CHANGE,
    IMPORT_BROWSER_PATH,                 IMPORT_BROWSER_ICON};
inline constexpr ImportDialogLayout kManagerImportDialog{
    ImportDialogLayout::Owner::kManager, IMPORT_MANAGER_TEMPLATE, IMPORT_MANAGER_PROGRESS,
    IMPORT_MANAGER_DESCRIPTION,          IMPORT_MANAGER_LINK,     IMPORT_MANAGER_FOLDER,
    IMPORT_MANAGER_IMPORT,               IMPORT_MANAGER_CANCEL,   IMPORT_MANAGER_CHANGE,
    IMPORT_MANAGER_PATH,                 IMPORT_MANAGER_ICON};

// What the dialog needs from the program that owns it.
class CImportFavoritesHost {
public:
    // Before the old links and groups are deleted: the manager empties its
    // document's selection, so that no selected entry names a deleted file.
    virtual void OnImportClearingStore() {}
    // After a successful import, the dialog hidden: the browser tells a
    // running manager to refresh its tree, the manager rebuilds its own.
    virtual void OnImportSucceeded() = 0;
    // After a failed import, the dialog hidden; storeCleared: the old links
    // and groups went before the failure.
    virtual void OnImportFailed(bool /*storeCleared*/) {}

protected:
    ~CImportFavoritesHost() = default;
};

class CImportFavoritesDlg final : public fw::Dialog {
public:
    // Creates the dialog at once, hidden. host may be null; programFolder:
    // the store's (empty: the running program's).
    CImportFavoritesDlg(HWND parent, const ImportDialogLayout& layout, CImportFavoritesHost* host,
                        std::string programFolder = {});

    // Shows the dialog in its choosing state, with the Favorites path of the settings.
    void Show();
    // The Import button.
    void OnImport();
    // kMsgImportingLink: the link's texts, one step of the progress bar; 1.
    LRESULT OnImportingLink(WPARAM folder, LPARAM title);
    void SetProgressRange(int* count);
    // The path edit is enabled exactly while the box is checked.
    void OnChangeFolderCheck();
    // Hides the dialog and makes the window active before Show active again.
    void OnCancel() override;

    const ImportDialogLayout& Layout() const { return layout_; }
    // Tests replace the reader's 50 ms wait per link.
    void SetLinkWait(std::function<void(DWORD)> wait) { linkWait_ = std::move(wait); }

    static constexpr char kNoPathText[] = "Enter your Internet Explorer Favorite path";

protected:
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override {}
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool ConfirmAgain();
    void ShowProgressState();
    void Finish(int result, bool storeCleared);

    ImportDialogLayout layout_;
    CImportFavoritesHost* host_;
    std::string programFolder_;
    HWND previousActive_ = nullptr;
    bool importing_ = false;
    std::function<void(DWORD)> linkWait_;
};
