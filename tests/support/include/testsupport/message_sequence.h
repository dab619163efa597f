// Message sequences, in the way of the platform's own conformance tests: a
// log records the messages a window gets, ExpectSequence compares it with a
// table and empties it. A failure names the caller's line, the context and the
// first entry that differs, then lists both sequences.
//
//   testsupport::MessageLog log;
//   ... log.Add(msg, wParam, lParam) in a handler, or a MessageRecorder on a window ...
//   static const testsupport::ExpectedMessage kCreate[] = {{WM_NCCREATE}, {WM_CREATE}};
//   testsupport::ExpectSequence(log, kCreate, "creation");
//
// Notifications match by their code too, as the control sent them or as they
// were reflected to the control's own object:
//   static const testsupport::ExpectedMessage kSelect[] = {testsupport::ReflectedNotify(TVN_SELCHANGINGA),
//                                                          testsupport::ReflectedNotify(TVN_SELCHANGEDA)};
#pragma once

#include "fw/window.h"

#include <windows.h>

#include <functional>
#include <source_location>
#include <span>
#include <string>
#include <vector>

namespace testsupport {

// What an expected entry checks beyond the message id.
enum MessageCheck : unsigned {
    kAnyParams = 0,
    kWParam = 1,    // wParam must be equal
    kLParam = 2,    // lParam must be equal
    kOptional = 4,  // may be missing from the log
    kNotifyCode = 8,  // a notification's NMHDR code must be equal
};

struct ExpectedMessage {
    UINT message;
    unsigned checks = kAnyParams;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT code = 0;  // with kNotifyCode
};

// WM_NOTIFY and its reflection to the sending control's object.
constexpr bool IsNotification(UINT message) {
    return message == WM_NOTIFY || message == fw::kReflectBase + WM_NOTIFY;
}

// A WM_NOTIFY with this code, as the parent gets it (wParam: the control's
// id, checked with kWParam)...
constexpr ExpectedMessage Notify(UINT code, unsigned checks = kAnyParams, WPARAM wParam = 0) {
    return {WM_NOTIFY, checks | kNotifyCode, wParam, 0, code};
}
// ... and as the framework reflects it to the control's own object.
constexpr ExpectedMessage ReflectedNotify(UINT code, unsigned checks = kAnyParams, WPARAM wParam = 0) {
    return {fw::kReflectBase + WM_NOTIFY, checks | kNotifyCode, wParam, 0, code};
}

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT code = 0;  // a notification's NMHDR code, read when it was logged
};

class MessageLog {
public:
    // A notification's lParam, when not null, is its NMHDR: the code is read
    // now, since the record lives only for the call.
    void Add(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, HWND window = nullptr) {
        const UINT code = IsNotification(message) && lParam ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
        entries_.push_back({window, message, wParam, lParam, code});
    }
    const std::vector<LoggedMessage>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    std::vector<LoggedMessage> entries_;
};

// A message's name for failure texts ("WM_CREATE", else its number in hex;
// "reflected WM_NOTIFY" for fw::kReflectBase + WM_NOTIFY).
std::string MessageName(UINT message);
// A notification's name with its code ("WM_NOTIFY TVN_SELCHANGEDA", else the code's number).
std::string NotificationName(UINT message, UINT code);

// Compares the log with the table, in order, then clears the log. Entries
// marked kOptional may be missing; nothing else may be missing or extra.
// Returns true when they matched.
bool ExpectSequence(MessageLog& log, std::span<const ExpectedMessage> expected, const std::string& context,
                    std::source_location caller = std::source_location::current());

// Records the messages a window gets, as a subclass, while it lives: those the
// filter keeps (by default all but the noise of mouse, cursor, timer and
// paint-cycle queries), with the window they reached. Removed when it goes
// away or when the window is destroyed.
class MessageRecorder {
public:
    using Filter = std::function<bool(UINT)>;
    MessageRecorder(HWND window, MessageLog& log, Filter keep = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    static bool IsNoise(UINT message);

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

    HWND window_;
    MessageLog& log_;
    Filter keep_;
};

}  // namespace testsupport
