// The manager's automation object "Nimb.Document": browsers find it in the
// running-object table and ask the manager to rebuild its tree, select a link
// and show itself. Calls come from other processes: their arguments are
// checked, and they are queued and run in order once no modal dialog or box
// is open, so none acts inside a modal loop; each returns at once.
#pragma once

#include "fw/com_object.h"
#include "fw/com_registration.h"
#include "fw/dispatch_object.h"
#include "fw/window.h"

#include <deque>
#include <functional>
#include <string>

namespace NimbAutomationIds {
// {2A29E745-84C5-11D4-A2E3-FC9B3F577F54}: the document class of the template server.
inline constexpr CLSID kDocumentClsid = {0x2a29e745, 0x84c5, 0x11d4, {0xa2, 0xe3, 0xfc, 0x9b, 0x3f, 0x57, 0x7f, 0x54}};
// {2A29E765-84C5-11D4-A2E3-FC9B3F577F54}: the automation class, the running object's key.
inline constexpr CLSID kAutomationClsid = {
    0x2a29e765, 0x84c5, 0x11d4, {0xa2, 0xe3, 0xfc, 0x9b, 0x3f, 0x57, 0x7f, 0x54}};
inline constexpr char kProgId[] = "Nimb.Document";
inline constexpr char kUserType[] = "Nimb Document";
inline constexpr DISPID kSetFocusOnLinkItem = 1;
inline constexpr DISPID kShowManager = 2;
inline constexpr DISPID kRefreshNimbTree = 3;
}  // namespace NimbAutomationIds

// What the three calls act on: the main frame and its document.
class CNimbAutomationTarget {
public:
    virtual void SetFocusOnLinkItem(const std::string& path) = 0;
    virtual void ShowManager() = 0;
    virtual void RefreshNimbTree() = 0;

protected:
    ~CNimbAutomationTarget() = default;
};

// The dispatch interface without a type library; calls go to a queue.
class CNimbAutomationDispatch final : public fw::DispatchObject {
public:
    using Enqueue = std::function<void(std::function<void(CNimbAutomationTarget&)>)>;
    // enqueue: where calls go; empty: they do nothing (an object of a
    // registration-only start, which has no frame). countsAsServerLock: the
    // object keeps a registration-only start alive while it lives.
    explicit CNimbAutomationDispatch(Enqueue enqueue, bool countsAsServerLock = false);

private:
    ~CNimbAutomationDispatch() override;

    Enqueue enqueue_;
    bool countsAsServerLock_;
};

class CNimbAutomation final : private fw::Window {
public:
    // target: the frame and document the calls act on; it outlives this object.
    explicit CNimbAutomation(CNimbAutomationTarget& target);
    ~CNimbAutomation() override;

    // Makes the hidden window the queue runs on (a message-only window, never
    // shown and never found by the manager's title).
    bool CreateHidden();
    // Enters the object in the running-object table under the automation
    // class id, strongly; true on success.
    bool RegisterActive();
    // Takes it out again (the real exit has started); later calls do nothing.
    void Revoke();

    IDispatch* Dispatch() const { return dispatch_.get(); }
    // Calls waiting for the modal dialogs to close.
    size_t Pending() const { return queue_.size(); }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Enqueue(std::function<void(CNimbAutomationTarget&)> call);
    // Runs the queue when no modal dialog or box is open, else waits for one to close.
    void RunQueue();

    CNimbAutomationTarget& target_;
    fw::ComPtr<CNimbAutomationDispatch> dispatch_;
    fw::ActiveObjectRegistration running_;
    std::deque<std::function<void(CNimbAutomationTarget&)>> queue_;
    bool revoked_ = false;
};

// The classes a start by COM serves and an ordinary start writes: the
// document's and the automation object's, in that order, so that the ProgID
// ends up naming the automation class.
fw::ServerClassInfo NimbDocumentClassInfo();
fw::ServerClassInfo NimbAutomationClassInfo();
