#include "fw/dialog.h"
#include "fw/thread.h"
#include "fw/window.h"

#include "testsupport/message_sequence.h"
#include "window_tests_res.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

class RecordingWindow : public fw::Window {
public:
    testsupport::MessageLog seen;
    int finalDestroys = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NCCREATE || msg == WM_CREATE || msg == WM_DESTROY || msg == WM_NCDESTROY || msg == kPing)
            seen.Add(msg, wParam, lParam);
        if (msg == kPing) return 42 + static_cast<LRESULT>(wParam);
        if (msg == kThrow) throw std::runtime_error("handler failure");
        return Default(msg, wParam, lParam);
    }
    void OnFinalDestroy() override { ++finalDestroys; }
};

TEST(Window, BindsOnCreateAndUnbindsOnDestroy) {
    ASSERT_TRUE(fw::Window::RegisterClass("fwTestWindow"));
    RecordingWindow wnd;
    ASSERT_TRUE(wnd.Create("fwTestWindow", "t", WS_POPUP, 0, 0, 0, 100, 100, nullptr));
    HWND raw = wnd.hwnd();
    EXPECT_EQ(fw::Window::FromHandle(raw), &wnd);
    EXPECT_EQ(::SendMessageA(raw, kPing, 1, 0), 43);
    EXPECT_EQ(::SendMessageA(raw, kThrow, 0, 0), 0) << "an exception must stop at the window procedure";
    ASSERT_TRUE(wnd.Destroy());
    EXPECT_EQ(wnd.hwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(raw));
    static const testsupport::ExpectedMessage kLife[] = {
        {WM_NCCREATE}, {WM_CREATE}, {kPing, testsupport::kWParam, 1}, {WM_DESTROY}, {WM_NCDESTROY}};
    testsupport::ExpectSequence(wnd.seen, kLife, "a bound window's life");
    EXPECT_EQ(wnd.finalDestroys, 1);
}

TEST(Window, ObjectGoingAwayDestroysItsWindowWithoutCallingBack) {
    ASSERT_TRUE(fw::Window::RegisterClass("fwTestWindow"));
    HWND raw;
    {
        RecordingWindow wnd;
        ASSERT_TRUE(wnd.Create("fwTestWindow", "t", WS_POPUP, 0, 0, 0, 10, 10, nullptr));
        raw = wnd.hwnd();
    }
    EXPECT_FALSE(::IsWindow(raw));
}

class PingControl : public fw::Window {
public:
    int drawItems = 0;
    int finalDestroys = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kPing) return 7;
        if (msg == fw::kReflectedDrawItem) {
            ++drawItems;
            return TRUE;
        }
        return Default(msg, wParam, lParam);
    }
    void OnFinalDestroy() override { ++finalDestroys; }
};

class TestDialog : public fw::Dialog {
public:
    TestDialog() : fw::Dialog(IDD_TEST_DIALOG) {}
    PingControl ownerDraw;
    int initCalls = 0;
    int actCommands = 0;
    int controlPing = 0;
    std::string editText;
    bool autoClose = true;

protected:
    BOOL OnInitDialog() override {
        ++initCalls;
        ownerDraw.Subclass(Item(IDC_OWNERDRAW));
        controlPing = static_cast<int>(::SendMessageA(Item(IDC_OWNERDRAW), kPing, 0, 0));
        SetItemText(IDC_EDIT, "typed");
        ::ShowWindow(hwnd(), SW_SHOW);
        ::UpdateWindow(hwnd());
        if (autoClose)
            ::PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ACT, BN_CLICKED),
                           reinterpret_cast<LPARAM>(Item(IDC_ACT)));
        return TRUE;
    }
    bool OnCommand(int id, int code, HWND control) override {
        if (id == IDC_ACT) {
            ++actCommands;
            editText = ItemText(IDC_EDIT);
            ::PostMessageA(hwnd(), WM_COMMAND, IDOK, 0);
            return true;
        }
        return fw::Dialog::OnCommand(id, code, control);
    }
};

TEST(Dialog, ModalFromTemplateWithSubclassedControlAndReflection) {
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.initCalls, 1);
    EXPECT_EQ(dlg.actCommands, 1) << "a command is delivered once";
    EXPECT_EQ(dlg.controlPing, 7);
    EXPECT_EQ(dlg.editText, "typed");
    EXPECT_GE(dlg.ownerDraw.drawItems, 1) << "WM_DRAWITEM must be reflected to the button's object";
    EXPECT_EQ(dlg.ownerDraw.finalDestroys, 1);
    EXPECT_EQ(dlg.ownerDraw.hwnd(), nullptr);
    EXPECT_EQ(dlg.hwnd(), nullptr);
}

TEST(Dialog, ModelessLivesUntilDestroyed) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.CreateModeless());
    MSG msg;
    while (dlg.hwnd() && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageA(dlg.hwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    EXPECT_EQ(dlg.actCommands, 1);
    EXPECT_EQ(dlg.hwnd(), nullptr) << "IDOK destroys a modeless dialog";
}

TEST(Dialog, OwnModalLoopFiltersMessagesAndEnds) {
    {
        TestDialog dlg;
        int seen = 0;
        const INT_PTR result = dlg.RunModalLoop(nullptr, [&](MSG& msg) {
            if (msg.message == WM_APP + 7) {
                ++seen;
                return true;
            }
            if (seen == 0 && dlg.hwnd()) ::PostMessageA(dlg.hwnd(), WM_APP + 7, 0, 0);
            return false;
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_GE(seen, 1);
        EXPECT_EQ(dlg.hwnd(), nullptr) << "the window goes with the loop";
    }
    {
        TestDialog dlg;
        dlg.autoClose = false;
        ::PostQuitMessage(0);
        EXPECT_EQ(dlg.RunModalLoop(nullptr, nullptr), -1) << "a quit message ends the loop";
        EXPECT_EQ(dlg.hwnd(), nullptr);
        MSG quit;
        EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and is posted again";
    }
}

TEST(Thread, PostsReachANewThreadAtOnce) {
    for (int i = 0; i < 20; ++i) {
        UINT got = 0;
        fw::Thread thread = fw::Thread::StartWithQueue([&got] {
            MSG msg;
            if (::GetMessageA(&msg, nullptr, 0, 0) > 0) got = msg.message;
        });
        ASSERT_TRUE(thread);
        ASSERT_TRUE(thread.Post(WM_APP + 0x19)) << "attempt " << i;
        ASSERT_TRUE(thread.Join(5000));
        EXPECT_EQ(got, WM_APP + 0x19u);
    }
}

}  // namespace
