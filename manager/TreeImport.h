// The tree's favorites import: the manager's import dialog, made on first use
// with the tree view as its parent, and what the manager does around it (the
// document's selection emptied before the old store goes, the tree rebuilt
// once the new one is there).
#pragma once

#include "ImportFavoritesDlg.h"

#include <windows.h>

#include <memory>
#include <string>

class CNimbDoc;
class CTreePane;

class CTreeImport final : public CImportFavoritesHost {
public:
    // parent: the tree view's window, the dialog's parent.
    CTreeImport(HWND parent, CTreePane& tree, CNimbDoc& doc, std::string programFolder);
    ~CTreeImport();
    CTreeImport(const CTreeImport&) = delete;
    CTreeImport& operator=(const CTreeImport&) = delete;

    // Shows the dialog in its choosing state.
    void Show();
    // The dialog, once made.
    CImportFavoritesDlg* Dialog() const { return dialog_.get(); }

private:
    void OnImportClearingStore() override;
    void OnImportSucceeded() override;
    void OnImportFailed(bool storeCleared) override;

    HWND parent_;
    CTreePane& tree_;
    CNimbDoc& doc_;
    std::string programFolder_;
    std::unique_ptr<CImportFavoritesDlg> dialog_;
};
