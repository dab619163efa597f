// The tree pane's Import command (File Import...).
#include "LeftView.h"
#include "TreeImport.h"

void CLeftView::OnImport() {
    if (!import_) import_ = std::make_unique<CTreeImport>(hwnd(), *this, doc_, programFolder_);
    import_->Show();
}

CImportFavoritesDlg* CLeftView::ImportDialog() const {
    return import_ ? import_->Dialog() : nullptr;
}
