#include "testsupport/message_sequence.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace testsupport {

namespace {

struct Named {
    UINT message;
    const char* name;
};

// The messages the window tests meet; others print as numbers.
constexpr Named kNames[] = {
    {WM_NULL, "WM_NULL"},
    {WM_CREATE, "WM_CREATE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETREDRAW, "WM_SETREDRAW"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_QUIT, "WM_QUIT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_NOTIFY, "WM_NOTIFY"},
    {WM_NCCREATE, "WM_NCCREATE"},
    {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
    {WM_NCPAINT, "WM_NCPAINT"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},
    {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
    {WM_INITDIALOG, "WM_INITDIALOG"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_DRAWITEM, "WM_DRAWITEM"},
    {WM_MEASUREITEM, "WM_MEASUREITEM"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_CHAR, "WM_CHAR"},
    {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
    {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"},
    {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
    {WM_PALETTECHANGED, "WM_PALETTECHANGED"},
    {WM_QUERYNEWPALETTE, "WM_QUERYNEWPALETTE"},
};

// The notification codes the tests meet.
constexpr struct {
    UINT code;
    const char* name;
} kCodes[] = {
    {static_cast<UINT>(NM_CLICK), "NM_CLICK"},
    {static_cast<UINT>(NM_DBLCLK), "NM_DBLCLK"},
    {static_cast<UINT>(NM_RCLICK), "NM_RCLICK"},
    {static_cast<UINT>(NM_SETFOCUS), "NM_SETFOCUS"},
    {static_cast<UINT>(NM_KILLFOCUS), "NM_KILLFOCUS"},
    {static_cast<UINT>(NM_CUSTOMDRAW), "NM_CUSTOMDRAW"},
    {static_cast<UINT>(TVN_SELCHANGINGA), "TVN_SELCHANGINGA"},
    {static_cast<UINT>(TVN_SELCHANGEDA), "TVN_SELCHANGEDA"},
    {static_cast<UINT>(TVN_ITEMEXPANDINGA), "TVN_ITEMEXPANDINGA"},
    {static_cast<UINT>(TVN_ITEMEXPANDEDA), "TVN_ITEMEXPANDEDA"},
    {static_cast<UINT>(TVN_BEGINDRAGA), "TVN_BEGINDRAGA"},
    {static_cast<UINT>(TVN_BEGINRDRAGA), "TVN_BEGINRDRAGA"},
    {static_cast<UINT>(TVN_DELETEITEMA), "TVN_DELETEITEMA"},
    {static_cast<UINT>(TVN_BEGINLABELEDITA), "TVN_BEGINLABELEDITA"},
    {static_cast<UINT>(TVN_ENDLABELEDITA), "TVN_ENDLABELEDITA"},
    {static_cast<UINT>(TVN_KEYDOWN), "TVN_KEYDOWN"},
    {static_cast<UINT>(TCN_SELCHANGE), "TCN_SELCHANGE"},
    {static_cast<UINT>(TCN_SELCHANGING), "TCN_SELCHANGING"},
    {static_cast<UINT>(TCN_KEYDOWN), "TCN_KEYDOWN"},
};

std::string Describe(const LoggedMessage& m) {
    char params[64];
    std::snprintf(params, sizeof(params), "(%#llx, %#llx)", static_cast<unsigned long long>(m.wParam),
                  static_cast<unsigned long long>(m.lParam));
    return (IsNotification(m.message) ? NotificationName(m.message, m.code) : MessageName(m.message)) + params;
}

std::string Name(const ExpectedMessage& e) {
    return e.checks & kNotifyCode ? NotificationName(e.message, e.code) : MessageName(e.message);
}

std::string Name(const LoggedMessage& m) {
    return IsNotification(m.message) ? NotificationName(m.message, m.code) : MessageName(m.message);
}

// The same kind of entry: the message, and the code where the table names one.
bool SameEntry(const ExpectedMessage& want, const LoggedMessage& got) {
    return want.message == got.message && (!(want.checks & kNotifyCode) || want.code == got.code);
}

std::string List(std::span<const ExpectedMessage> expected) {
    std::string text;
    for (const ExpectedMessage& e : expected) {
        if (!text.empty()) text += ", ";
        text += Name(e);
        if (e.checks & kOptional) text += "?";
    }
    return text.empty() ? "(none)" : text;
}

std::string List(const std::vector<LoggedMessage>& logged) {
    std::string text;
    for (const LoggedMessage& m : logged) {
        if (!text.empty()) text += ", ";
        text += Name(m);
    }
    return text.empty() ? "(none)" : text;
}

}  // namespace

std::string MessageName(UINT message) {
    for (const Named& n : kNames)
        if (n.message == message) return n.name;
    if (message >= fw::kReflectBase && message < fw::kReflectBase + WM_USER)
        return "reflected " + MessageName(message - fw::kReflectBase);
    char text[32];
    if (message >= WM_APP)
        std::snprintf(text, sizeof(text), "WM_APP+%u", message - WM_APP);
    else if (message >= WM_USER)
        std::snprintf(text, sizeof(text), "WM_USER+%u", message - WM_USER);
    else
        std::snprintf(text, sizeof(text), "%#06x", message);
    return text;
}

std::string NotificationName(UINT message, UINT code) {
    std::string name = MessageName(message) + " ";
    for (const auto& c : kCodes)
        if (c.code == code) return name + c.name;
    return name + "code " + std::to_string(static_cast<int>(code));
}

bool ExpectSequence(MessageLog& log, std::span<const ExpectedMessage> expected, const std::string& context,
                    std::source_location caller) {
    const std::vector<LoggedMessage> logged = log.Entries();
    log.Clear();
    std::string fault;
    size_t e = 0;
    size_t l = 0;
    while (fault.empty() && e < expected.size() && l < logged.size()) {
        const ExpectedMessage& want = expected[e];
        const LoggedMessage& got = logged[l];
        const LoggedMessage wanted{nullptr, want.message, want.wParam, want.lParam, want.code};
        if (!SameEntry(want, got)) {
            if (want.checks & kOptional) {
                ++e;
                continue;
            }
            fault = "entry " + std::to_string(l) + ": expected " + Name(want) + ", got " + Describe(got);
        } else if ((want.checks & kWParam) && want.wParam != got.wParam) {
            fault = "entry " + std::to_string(l) + ": " + Describe(got) + ", expected wParam " + Describe(wanted);
        } else if ((want.checks & kLParam) && want.lParam != got.lParam) {
            fault = "entry " + std::to_string(l) + ": " + Describe(got) + ", expected lParam " + Describe(wanted);
        }
        ++e;
        ++l;
    }
    while (fault.empty() && e < expected.size() && (expected[e].checks & kOptional)) ++e;
    if (fault.empty() && e < expected.size()) fault = "missing " + Name(expected[e]);
    if (fault.empty() && l < logged.size()) fault = "extra " + Describe(logged[l]);
    if (fault.empty()) return true;
    ADD_FAILURE_AT(caller.file_name(), static_cast<int>(caller.line()))
        << context << ": " << fault << "\n  expected: " << List(expected) << "\n  got:      " << List(logged);
    return false;
}

MessageRecorder::MessageRecorder(HWND window, MessageLog& log, Filter keep)
    : window_(window), log_(log), keep_(std::move(keep)) {
    if (!::SetWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        ADD_FAILURE() << "cannot record the messages of window " << window_;
}

MessageRecorder::~MessageRecorder() {
    if (window_) ::RemoveWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this));
}

bool MessageRecorder::IsNoise(UINT message) {
    switch (message) {
        case WM_NCHITTEST:
        case WM_SETCURSOR:
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_MOUSEACTIVATE:
        case WM_TIMER:
        case WM_GETICON:
        case WM_GETOBJECT:
        case WM_GETTEXTLENGTH:
        case WM_DEVICECHANGE:
        case WM_IME_SETCONTEXT:
        case WM_IME_NOTIFY:
        case WM_ENTERIDLE:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_QUERYUISTATE:
        case WM_CHANGEUISTATE:
        case WM_UPDATEUISTATE:
            return true;
        default:
            return false;
    }
}

LRESULT CALLBACK MessageRecorder::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    auto* recorder = reinterpret_cast<MessageRecorder*>(self);
    if (recorder->keep_ ? recorder->keep_(msg) : !IsNoise(msg)) recorder->log_.Add(msg, wParam, lParam, wnd);
    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(wnd, Proc, id);
        recorder->window_ = nullptr;
    }
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

}  // namespace testsupport
