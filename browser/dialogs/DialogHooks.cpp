// The main window's side of the usage hit and of the default-browser question.
#include "NimbBrowserDlg.h"

#include "DefaultBrowserDlg.h"

void CNimbBrowserDlg::CheckUsageHit() {
    if (hitPending_ || hitDone_) return;
    hitPending_ = true;
    if (settings_.GetHitSent() != 0) {
        hitDone_ = true;
        return;
    }
    // Offline now: a later navigation checks again.
    if (::IsOffline(commands_->Shell().ConnectedState())) {
        hitPending_ = false;
        return;
    }
    auto window = std::make_unique<CUsageHitWnd>([this](bool sent) { OnHitDone(sent); });
    if (!window->Start()) {
        hitPending_ = false;
        return;
    }
    hitWindows_.push_back(std::move(window));
}

void CNimbBrowserDlg::OnHitDone(bool sent) {
    if (sent)
        settings_.SetHitSent();
    else
        hitPending_ = false;  // the next navigation tries again
    // The hit's window goes once its handler has returned.
    ::PostMessageA(hwnd(), kMsgHitFinished, 0, 0);
}

void CNimbBrowserDlg::ForgetFinishedHits() {
    std::erase_if(hitWindows_, [](const std::unique_ptr<CUsageHitWnd>& window) {
        // The worker only returns after its result: a short wait.
        return ::WaitForSingleObject(window->Worker(), 5000) == WAIT_OBJECT_0;
    });
}

int CNimbBrowserDlg::CountBrowserWindows() {
    browserWindowCount_ = 0;
    ::EnumWindows(EnumBrowserWindowsProc, reinterpret_cast<LPARAM>(hwnd()));
    return browserWindowCount_;
}

bool CNimbBrowserDlg::ShouldAskDefaultBrowser() {
    if (CountBrowserWindows() > 0) return false;
    DWORD check = 1;
    // A value that cannot be read counts as on.
    if (settings_.GetCheckDefaultBrowser(&check) != 0) check = 1;
    if (check == 0) return false;
    bool isDefault = false;
    // A failed test counts as not the default.
    if (settings_.IsDefaultBrowser(&isDefault) != 0) isDefault = false;
    return !isDefault;
}

void CNimbBrowserDlg::AskDefaultBrowser() {
    if (!ShouldAskDefaultBrowser()) return;
    CDefaultBrowserDlg question;
    if (question.DoModal(hwnd()) == IDOK) settings_.MakeDefaultBrowser();
}
