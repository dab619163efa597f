// Dialogs are windows: one binding, notifications reflected to any bound
// child (a page dialog inside a frame or inside another dialog), a quit that
// reaches every loop, and a trace for each exception stopped at a boundary.
#include "fw/com_module.h"
#include "fw/dialog.h"
#include "fw/thread.h"
#include "fw/window.h"

#include "testsupport/debug_output.h"
#include "testsupport/message_sequence.h"
#include "window_tests_res.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr UINT kThrow = WM_APP + 2;
constexpr char kFrameClass[] = "fwTestFrame";

// A page: what a frame or dialog reflects to it, and its own commands.
class PageDialog : public fw::Dialog {
public:
    PageDialog() : fw::Dialog(IDD_CHILD_PAGE) {}
    testsupport::MessageLog reflected;
    std::vector<int> commands;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == fw::kReflectedNotify) {
            reflected.Add(msg, wParam, lParam);
            return 77;
        }
        if (msg == fw::kReflectedCommand) {
            reflected.Add(msg, wParam, lParam);
            return 1;
        }
        return Default(msg, wParam, lParam);
    }
    bool OnCommand(int id, int code, HWND control) override {
        commands.push_back(id);
        return fw::Dialog::OnCommand(id, code, control);
    }
    // Enter and Esc belong to the frame around a page.
    void OnOK() override {}
    void OnCancel() override {}
};

// What reaches the parent's own handler.
class Frame : public fw::Window {
public:
    testsupport::MessageLog notifications;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NOTIFY || msg == WM_COMMAND) notifications.Add(msg, wParam, lParam);
        return Default(msg, wParam, lParam);
    }
};

class HostDialog : public fw::Dialog {
public:
    HostDialog() : fw::Dialog(IDD_TEST_DIALOG) {}
    testsupport::MessageLog notifications;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NOTIFY || (msg == WM_COMMAND && LOWORD(wParam) == 4711)) notifications.Add(msg, wParam, lParam);
        return Default(msg, wParam, lParam);
    }
};

LRESULT SendNotify(HWND parent, HWND from, UINT code) {
    NMHDR header{from, static_cast<UINT_PTR>(::GetDlgCtrlID(from)), code};
    return ::SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// Notifications from the page reach the page's object, not the parent's
// handler; an unbound child's reach the parent.
void CheckReflectionToPage(HWND parent, testsupport::MessageLog& parentSaw) {
    PageDialog page;
    ASSERT_TRUE(page.CreateModeless(parent));
    ASSERT_TRUE(::GetWindowLongPtrA(page.hwnd(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(::GetParent(page.hwnd()), parent);
    EXPECT_EQ(fw::Window::FromHandle(page.hwnd()), &page) << "a dialog has the windows' one binding";
    EXPECT_EQ(fw::Dialog::FromHandle(page.hwnd()), &page);

    EXPECT_EQ(SendNotify(parent, page.hwnd(), NM_CLICK), 77);
    EXPECT_EQ(::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(4711, BN_CLICKED), reinterpret_cast<LPARAM>(page.hwnd())),
              1);
    static const testsupport::ExpectedMessage kReflected[] = {
        {fw::kReflectedNotify}, {fw::kReflectedCommand, testsupport::kWParam, MAKEWPARAM(4711, BN_CLICKED)}};
    testsupport::ExpectSequence(page.reflected, kReflected, "the page's own notifications");
    testsupport::ExpectSequence(parentSaw, {}, "a notification the page answered goes no further");

    // The page's own button talks to the page: a page works like any dialog.
    ::SendMessageA(page.Item(IDC_PAGE_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(page.commands, (std::vector<int>{IDC_PAGE_BUTTON}));

    HWND plain = ::CreateWindowExA(0, "Button", "plain", WS_CHILD, 0, 0, 10, 10, parent, reinterpret_cast<HMENU>(4711),
                                   nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    SendNotify(parent, plain, NM_CLICK);
    static const testsupport::ExpectedMessage kParents[] = {{WM_NOTIFY, testsupport::kWParam, 4711}};
    testsupport::ExpectSequence(parentSaw, kParents, "an unbound child's notification is the parent's");
    ::DestroyWindow(plain);
}

TEST(WindowHierarchy, AFrameReflectsNotificationsToAPageDialog) {
    ASSERT_TRUE(fw::Window::RegisterClass(kFrameClass));
    Frame frame;
    ASSERT_TRUE(frame.Create(kFrameClass, "frame", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 300, 200, nullptr));
    EXPECT_EQ(fw::Dialog::FromHandle(frame.hwnd()), nullptr) << "a plain window is no dialog";
    CheckReflectionToPage(frame.hwnd(), frame.notifications);
}

TEST(WindowHierarchy, ADialogReflectsNotificationsToAPageDialog) {
    HostDialog host;
    ASSERT_TRUE(host.CreateModeless());
    CheckReflectionToPage(host.hwnd(), host.notifications);
}

TEST(WindowHierarchy, ABoundWindowCannotBeBoundAgain) {
    PageDialog page;
    ASSERT_TRUE(fw::Window::RegisterClass(kFrameClass));
    Frame frame;
    ASSERT_TRUE(frame.Create(kFrameClass, "frame", WS_POPUP, 0, 0, 0, 100, 100, nullptr));
    ASSERT_TRUE(page.CreateModeless(frame.hwnd()));
    Frame other;
    EXPECT_FALSE(other.Subclass(page.hwnd())) << "a dialog's window already has its object";
    EXPECT_EQ(fw::Window::FromHandle(page.hwnd()), &page);
}

// A dialog's one handler sees WM_INITDIALOG before OnInitDialog, and its answer is the message's.
class HandlingDialog : public fw::Dialog {
public:
    HandlingDialog() : fw::Dialog(IDD_TEST_DIALOG) {}
    testsupport::MessageLog seen;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_INITDIALOG || msg == WM_APP + 9) seen.Add(msg, wParam, lParam);
        if (msg == WM_APP + 9) return 31;
        return Default(msg, wParam, lParam);
    }
    BOOL OnInitDialog() override {
        seen.Add(WM_APP + 10, 0, 0);
        return TRUE;
    }
};

TEST(WindowHierarchy, ADialogsHandlerGetsEveryMessageAndAnswersIt) {
    HandlingDialog dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    EXPECT_EQ(::SendMessageA(dlg.hwnd(), WM_APP + 9, 0, 0), 31);
    static const testsupport::ExpectedMessage kSeen[] = {{WM_INITDIALOG}, {WM_APP + 10}, {WM_APP + 9}};
    testsupport::ExpectSequence(dlg.seen, kSeen, "WM_INITDIALOG reaches the handler, then OnInitDialog by Default");
}

// A dialog whose own loop may run another inside it.
class LoopDialog : public fw::Dialog {
public:
    explicit LoopDialog(std::function<void(LoopDialog&)> onInit)
        : fw::Dialog(IDD_TEST_DIALOG), onInit_(std::move(onInit)) {}

protected:
    BOOL OnInitDialog() override {
        ::PostMessageA(hwnd(), WM_APP + 3, 0, 0);  // runs once the loop is running
        return TRUE;
    }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP + 3) {
            onInit_(*this);
            return 0;
        }
        return Default(msg, wParam, lParam);
    }

private:
    std::function<void(LoopDialog&)> onInit_;
};

TEST(WindowHierarchy, AQuitInANestedModalLoopEndsTheOuterLoopToo) {
    INT_PTR inner = 0;
    LoopDialog outer([&](LoopDialog& self) {
        LoopDialog nested([](LoopDialog&) { ::PostQuitMessage(5); });
        inner = nested.RunModalLoop(self.hwnd(), nullptr);
    });
    EXPECT_EQ(outer.RunModalLoop(nullptr, nullptr), -1) << "the outer loop must see the quit as well";
    EXPECT_EQ(inner, -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit goes on to the thread's loop";
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

class ThrowingWindow : public fw::Window {
public:
    bool throwOnFinalDestroy = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kThrow) throw std::runtime_error("handler failure");
        return Default(msg, wParam, lParam);
    }
    void OnFinalDestroy() override {
        if (throwOnFinalDestroy) throw std::logic_error("final failure");
    }
};

TEST(BoundaryTrace, AnExceptionStoppedAtAWindowProcedureLeavesALine) {
    testsupport::DebugOutputRecorder output;
    ASSERT_TRUE(fw::Window::RegisterClass(kFrameClass));
    ThrowingWindow wnd;
    ASSERT_TRUE(wnd.Create(kFrameClass, "t", WS_POPUP, 0, 0, 0, 10, 10, nullptr));
    EXPECT_EQ(::SendMessageA(wnd.hwnd(), kThrow, 0, 0), 0);
    const std::string line =
        output.LineWith({"a window procedure", "ThrowingWindow", kFrameClass, "0x8002", "handler failure"});
    EXPECT_FALSE(line.empty()) << "lines: " << ::testing::PrintToString(output.Lines());

    wnd.throwOnFinalDestroy = true;
    HWND raw = wnd.hwnd();
    ASSERT_TRUE(wnd.Destroy());
    EXPECT_FALSE(::IsWindow(raw));
    EXPECT_EQ(wnd.hwnd(), nullptr);
    EXPECT_FALSE(output.LineWith({"OnFinalDestroy", "ThrowingWindow", "final failure"}).empty())
        << "OnFinalDestroy runs inside the guard: " << ::testing::PrintToString(output.Lines());
}

class ThrowingDialog : public fw::Dialog {
public:
    ThrowingDialog() : fw::Dialog(IDD_TEST_DIALOG) {}

protected:
    bool OnCommand(int id, int code, HWND control) override {
        if (id == IDC_ACT) throw std::runtime_error("command failure");
        return fw::Dialog::OnCommand(id, code, control);
    }
};

TEST(BoundaryTrace, AnExceptionStoppedAtADialogProcedureLeavesALine) {
    testsupport::DebugOutputRecorder output;
    ThrowingDialog dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    ::SendMessageA(dlg.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ACT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dlg.Item(IDC_ACT)));
    EXPECT_FALSE(output.LineWith({"ThrowingDialog", "#32770", "0x0111", "command failure"}).empty())
        << ::testing::PrintToString(output.Lines());
    EXPECT_TRUE(::IsWindow(dlg.hwnd())) << "the dialog goes on";
}

TEST(BoundaryTrace, AnExceptionStoppedAtAThreadOrACOMMethodLeavesALine) {
    testsupport::DebugOutputRecorder output;
    fw::Thread thread = fw::Thread::StartWithQueue([] { throw std::runtime_error("worker failure"); });
    ASSERT_TRUE(thread);
    ASSERT_TRUE(thread.Join(10000));
    EXPECT_FALSE(output.LineWith({"a thread", "worker failure"}).empty()) << ::testing::PrintToString(output.Lines());

    const HRESULT hr = fw::ComGuard([]() -> HRESULT { throw std::invalid_argument("method failure"); });
    EXPECT_EQ(hr, E_UNEXPECTED);
    EXPECT_FALSE(output.LineWith({"a COM method", "BoundaryTrace", "method failure"}).empty())
        << ::testing::PrintToString(output.Lines());
}

}  // namespace
