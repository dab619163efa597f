#include "TreeImport.h"

#include "LeftView.h"
#include "NimbDoc.h"

CTreeImport::CTreeImport(CLeftView& view, CNimbDoc& doc, std::string programFolder)
    : view_(view), doc_(doc), programFolder_(std::move(programFolder)) {}

CTreeImport::~CTreeImport() = default;

void CTreeImport::Show() {
    if (!dialog_)
        dialog_ = std::make_unique<CImportFavoritesDlg>(view_.hwnd(), kManagerImportDialog, this, programFolder_);
    dialog_->Show();
}

void CTreeImport::OnImportClearingStore() {
    // No selected entry may name a file that is about to go.
    doc_.ClearSelection();
}

void CTreeImport::OnImportSucceeded() {
    view_.RefreshTree();
}

void CTreeImport::OnImportFailed(bool storeCleared) {
    // A failure after the old store went leaves the tree naming deleted files.
    if (storeCleared) view_.RefreshTree();
}
