// Commands as the frame routes them: a menu item, accelerator or toolbar
// button names a command id; each target in the routing order (active view,
// document, frame, application) may claim it. A command no target claims, or
// one whose claimer disables it, never runs.
#pragma once

#include <windows.h>

namespace fw {

// The state of one command, as its claimer sets it for a menu item, a
// toolbar button or an accelerator.
class CommandUI {
public:
    explicit CommandUI(UINT id) : id_(id) {}
    UINT Id() const noexcept { return id_; }
    void Enable(bool on = true) noexcept { enabled_ = on; }
    void SetCheck(bool on = true) noexcept { checked_ = on; }
    bool Enabled() const noexcept { return enabled_; }
    bool Checked() const noexcept { return checked_; }

private:
    UINT id_;
    bool enabled_ = true;
    bool checked_ = false;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // Claims the command (true) and sets its state; a claimed command starts enabled.
    virtual bool UpdateCommand(CommandUI&) { return false; }
    // Runs a command this target claimed; true when it ran.
    virtual bool HandleCommand(UINT) { return false; }
};

}  // namespace fw
