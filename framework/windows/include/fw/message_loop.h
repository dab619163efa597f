// The program's main message loop: modeless child dialogs see their keys
// first, then the program's filter (a frame's accelerators), then the
// message is dispatched; the idle step runs when the queue has emptied.
// Modal dialogs and message boxes count themselves, so code that must not
// tear windows down under one (a frame's real exit) can wait.
#pragma once

#include <windows.h>

#include <functional>

namespace fw {

// Dialogs made modeless inside other windows (property pages): the loop hands
// them their dialog keys before anything else.
void AddModelessDialog(HWND dialog);
void RemoveModelessDialog(HWND dialog);

// true: the message was consumed.
using MessageFilter = std::function<bool(MSG&)>;
using IdleStep = std::function<void()>;

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(const MessageFilter& filter, const IdleStep& idle);

// Asks the loop for an idle step after work that came from a timer, which
// calls for none by itself (the command states follow what it changed).
void RequestIdle();

// Hands the message to the modeless dialog that holds its window; true when consumed.
bool PreTranslateModeless(MSG& msg);

// How many modal dialogs and message boxes this process has open.
int ModalDepth();

// Counts one modal dialog or box for its lifetime.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace fw
