#include "NimbAutomation.h"

#include "fw/message_loop.h"

namespace {

constexpr char kQueueClass[] = "VessaMgrAutomation";
constexpr UINT kMsgRunQueue = WM_APP + 1;
constexpr UINT_PTR kModalWaitTimer = 1;
constexpr UINT kModalWaitPeriod = 100;

}  // namespace

CNimbAutomationDispatch::CNimbAutomationDispatch(Enqueue enqueue, bool countsAsServerLock)
    : enqueue_(std::move(enqueue)), countsAsServerLock_(countsAsServerLock) {
    if (countsAsServerLock_) fw::ServerLocks::Lock();
    using Call = std::function<void(CNimbAutomationTarget&)>;
    AddMethod(NimbAutomationIds::kSetFocusOnLinkItem, L"SetFocusOnLinkItem", 1,
              [this](const fw::DispArgs& args, fw::Variant*) {
                  std::string path;
                  if (const HRESULT hr = args.StringArgument(0, &path); FAILED(hr)) return hr;
                  // An empty path names no link.
                  if (!path.empty() && enqueue_)
                      enqueue_(Call([path](CNimbAutomationTarget& t) { t.SetFocusOnLinkItem(path); }));
                  return S_OK;
              });
    AddMethod(NimbAutomationIds::kShowManager, L"ShowManager", 0, [this](const fw::DispArgs&, fw::Variant*) {
        if (enqueue_) enqueue_(Call([](CNimbAutomationTarget& t) { t.ShowManager(); }));
        return S_OK;
    });
    AddMethod(NimbAutomationIds::kRefreshNimbTree, L"RefreshNimbTree", 0, [this](const fw::DispArgs&, fw::Variant*) {
        if (enqueue_) enqueue_(Call([](CNimbAutomationTarget& t) { t.RefreshNimbTree(); }));
        return S_OK;
    });
}

CNimbAutomationDispatch::~CNimbAutomationDispatch() {
    if (countsAsServerLock_) fw::ServerLocks::Unlock();
}

CNimbAutomation::CNimbAutomation(CNimbAutomationTarget& target)
    : target_(target),
      dispatch_(fw::MakeCom<CNimbAutomationDispatch>(
          [this](std::function<void(CNimbAutomationTarget&)> call) { Enqueue(std::move(call)); })) {}

CNimbAutomation::~CNimbAutomation() {
    Revoke();
    Destroy();
}

bool CNimbAutomation::CreateHidden() {
    if (hwnd()) return true;
    if (!RegisterClass(kQueueClass, 0)) return false;
    return Create(kQueueClass, "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
}

bool CNimbAutomation::RegisterActive() {
    if (!dispatch_ || revoked_) return false;
    return SUCCEEDED(running_.Register(static_cast<IDispatch*>(dispatch_.get()), NimbAutomationIds::kAutomationClsid));
}

void CNimbAutomation::Revoke() {
    revoked_ = true;
    queue_.clear();
    running_.Revoke();
    // Browsers that still hold the object get an error from their next call.
    if (dispatch_) ::CoDisconnectObject(static_cast<IDispatch*>(dispatch_.get()), 0);
}

void CNimbAutomation::Enqueue(std::function<void(CNimbAutomationTarget&)> call) {
    if (revoked_ || !hwnd()) return;
    queue_.push_back(std::move(call));
    ::PostMessageA(hwnd(), kMsgRunQueue, 0, 0);
}

void CNimbAutomation::RunQueue() {
    if (queue_.empty()) return;
    if (fw::ModalDepth() > 0) {
        ::SetTimer(hwnd(), kModalWaitTimer, kModalWaitPeriod, nullptr);
        return;
    }
    ::KillTimer(hwnd(), kModalWaitTimer);
    // A call may open a dialog (and so take calls in): each waits its turn.
    while (!queue_.empty() && fw::ModalDepth() == 0 && !revoked_) {
        auto call = std::move(queue_.front());
        queue_.pop_front();
        call(target_);
    }
    if (!queue_.empty()) ::SetTimer(hwnd(), kModalWaitTimer, kModalWaitPeriod, nullptr);
}

LRESULT CNimbAutomation::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgRunQueue || (msg == WM_TIMER && wParam == kModalWaitTimer)) {
        RunQueue();
        return 0;
    }
    return Default(msg, wParam, lParam);
}

fw::ServerClassInfo NimbDocumentClassInfo() {
    return {NimbAutomationIds::kDocumentClsid, NimbAutomationIds::kProgId, NimbAutomationIds::kUserType};
}

fw::ServerClassInfo NimbAutomationClassInfo() {
    return {NimbAutomationIds::kAutomationClsid, NimbAutomationIds::kProgId, NimbAutomationIds::kUserType};
}
