#include "NimbBrowserDlgAutoProxy.h"

#include "NimbBrowserDlg.h"

CNimbBrowserDlgAutoProxy::CNimbBrowserDlgAutoProxy(CNimbBrowserDlg* dialog) : dialog_(dialog) {
    if (dialog_) dialog_->AttachProxy(this);
}

CNimbBrowserDlgAutoProxy::~CNimbBrowserDlgAutoProxy() {
    if (CNimbBrowserDlg* dialog = std::exchange(dialog_, nullptr)) dialog->DetachProxy(this);
}

fw::ServerClassInfo NimbBrowserClassInfo() {
    return {NimbBrowserIds::kApplicationClsid, NimbBrowserIds::kProgId, NimbBrowserIds::kUserType};
}
