#include "TreeImport.h"

#include "NimbDoc.h"

CTreeImport::CTreeImport(HWND parent, CTreePane& tree, CNimbDoc& doc, std::string programFolder)
    : parent_(parent), tree_(tree), doc_(doc), programFolder_(std::move(programFolder)) {}

CTreeImport::~CTreeImport() = default;

void CTreeImport::Show() {
    if (!dialog_) dialog_ = std::make_unique<CImportFavoritesDlg>(parent_, kManagerImportDialog, this, programFolder_);
    dialog_->Show();
}

void CTreeImport::OnImportClearingStore() {
    // No selected entry may name a file that is about to go.
    doc_.ClearSelection();
}

void CTreeImport::OnImportSucceeded() {
    tree_.RefreshTree();
}

void CTreeImport::OnImportFailed(bool storeCleared) {
    // A failure after the old store went leaves the tree naming deleted files.
    if (storeCleared) tree_.RefreshTree();
}
