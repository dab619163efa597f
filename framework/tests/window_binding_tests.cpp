// The binding of windows to objects: objects that end inside their own
// handlers, subclass chains shared with another subclasser, Unicode controls
// and windows of two threads.
#include "fw/window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <new>
#include <string>
#include <thread>

namespace {

constexpr UINT kPing = WM_APP + 21;
constexpr UINT kEndNow = WM_APP + 22;
constexpr char kClass[] = "fwBindingTest";

// Put in an ended object's storage: a call through a stale pointer lands here.
class Tripwire : public fw::Window {
public:
    static inline int calls = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        ++calls;
        return Default(msg, wParam, lParam);
    }
    void OnFinalDestroy() override { ++calls; }
};

// How an object ends itself inside one of its handlers.
enum class EndIn { kFinalDestroy, kNcDestroyHandler };

class SelfEndingWindow : public fw::Window {
public:
    explicit SelfEndingWindow(EndIn when) : when_(when) {}
    static inline int ended = 0;

    // Ends the object in place and leaves a tripwire in its storage.
    void EndInPlace() {
        void* storage = this;
        this->~SelfEndingWindow();
        ++ended;
        new (storage) Tripwire;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kEndNow) {
            ::DestroyWindow(hwnd());
            return 5;
        }
        if (msg == WM_NCDESTROY && when_ == EndIn::kNcDestroyHandler) {
            const LRESULT result = Default(msg, wParam, lParam);
            EndInPlace();
            return result;
        }
        return Default(msg, wParam, lParam);
    }
    void OnFinalDestroy() override {
        if (when_ == EndIn::kFinalDestroy) EndInPlace();
    }

private:
    EndIn when_;
};

// Room for an object and, once it has ended, the tripwire in its place.
template <class T>
union InPlace {
    InPlace() {}
    ~InPlace() {}
    T object;
    Tripwire tripwire;
};

HWND MakeEdit(HWND parent = nullptr) {
    return ::CreateWindowExW(0, L"EDIT", L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 50, 20, parent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

TEST(WindowBinding, AnObjectEndingInsideItsOwnHandlerIsNotCalledAgain) {
    ASSERT_TRUE(fw::Window::RegisterClass(kClass));
    struct Case {
        const char* name;
        EndIn when;
        bool subclassed;
    };
    const Case cases[] = {
        {"a window of ours, ended in OnFinalDestroy", EndIn::kFinalDestroy, false},
        {"a window of ours, ended in its WM_NCDESTROY handler", EndIn::kNcDestroyHandler, false},
        {"a subclassed control, ended in OnFinalDestroy", EndIn::kFinalDestroy, true},
        {"a subclassed control, ended in its WM_NCDESTROY handler", EndIn::kNcDestroyHandler, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tripwire::calls = 0;
        SelfEndingWindow::ended = 0;
        InPlace<SelfEndingWindow> storage;
        auto* wnd = new (&storage.object) SelfEndingWindow(c.when);
        if (c.subclassed) {
            HWND edit = MakeEdit();
            ASSERT_NE(edit, nullptr);
            ASSERT_TRUE(wnd->Subclass(edit));
        } else {
            ASSERT_TRUE(wnd->Create(kClass, "t", WS_POPUP, 0, 0, 0, 10, 10, nullptr));
        }
        HWND raw = wnd->hwnd();
        EXPECT_EQ(::SendMessageA(raw, kEndNow, 0, 0), 5);
        EXPECT_FALSE(::IsWindow(raw));
        EXPECT_EQ(SelfEndingWindow::ended, 1);
        EXPECT_EQ(Tripwire::calls, 0) << "a call reached the object after it ended";
        EXPECT_EQ(fw::Window::FromHandle(raw), nullptr);
        storage.tripwire.~Tripwire();
    }
}

// The control below everything: counts the pings it gets.
std::atomic<int> g_basePings{0};
WNDPROC g_editProc = nullptr;
LRESULT CALLBACK BaseProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPing) {
        ++g_basePings;
        return 100;
    }
    return ::CallWindowProcW(g_editProc, wnd, msg, wParam, lParam);
}

class PingCounter : public fw::Window {
public:
    int pings = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kPing) ++pings;
        return Default(msg, wParam, lParam);
    }
};

// The other subclasser: comctl32's subclass or a plain swap of the procedure.
int g_otherPings = 0;
WNDPROC g_otherPrevious = nullptr;
LRESULT CALLBACK OtherSwapProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPing) ++g_otherPings;
    return ::CallWindowProcW(g_otherPrevious, wnd, msg, wParam, lParam);
}
LRESULT CALLBACK OtherComctlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == kPing) ++g_otherPings;
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

enum class Other { kComctl, kSwap };

void AddOther(HWND wnd, Other other) {
    if (other == Other::kComctl) {
        ASSERT_TRUE(::SetWindowSubclass(wnd, OtherComctlProc, 7, 0));
    } else {
        g_otherPrevious = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OtherSwapProc)));
        ASSERT_NE(g_otherPrevious, nullptr);
    }
}

void RemoveOther(HWND wnd, Other other) {
    if (other == Other::kComctl)
        ::RemoveWindowSubclass(wnd, OtherComctlProc, 7);
    else
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_otherPrevious));
}

TEST(WindowBinding, AnotherSubclasserAboveOursLosesNoMessageWhicheverGoesFirst) {
    struct Case {
        const char* name;
        Other other;
        bool oursFirst;
    };
    const Case cases[] = {
        {"comctl32's subclass above, ours removed first", Other::kComctl, true},
        {"comctl32's subclass above, it is removed first", Other::kComctl, false},
        {"a swapped procedure above, ours removed first", Other::kSwap, true},
        {"a swapped procedure above, it is removed first", Other::kSwap, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit();
        ASSERT_NE(edit, nullptr);
        g_editProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BaseProc)));
        g_basePings = 0;
        g_otherPings = 0;
        Tripwire::calls = 0;
        InPlace<PingCounter> storage;
        new (&storage.object) PingCounter;
        ASSERT_TRUE(storage.object.Subclass(edit));
        AddOther(edit, c.other);

        EXPECT_EQ(::SendMessageW(edit, kPing, 0, 0), 100);
        EXPECT_EQ(g_basePings, 1);
        EXPECT_EQ(storage.object.pings, 1);
        EXPECT_EQ(g_otherPings, 1);

        auto endOurs = [&] {
            EXPECT_EQ(storage.object.pings, c.oursFirst ? 2 : 3);
            storage.object.~PingCounter();  // lets go of the window
            new (&storage.tripwire) Tripwire;
        };
        if (c.oursFirst) {
            ::SendMessageW(edit, kPing, 0, 0);
            endOurs();
            EXPECT_EQ(::SendMessageW(edit, kPing, 0, 0), 100);
            EXPECT_EQ(g_otherPings, 3) << "our going cut the other subclasser out";
            RemoveOther(edit, c.other);
        } else {
            RemoveOther(edit, c.other);
            EXPECT_EQ(::SendMessageW(edit, kPing, 0, 0), 100);
            ::SendMessageW(edit, kPing, 0, 0);
            endOurs();
            EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(BaseProc))
                << "ours was on top: its going puts the previous procedure back";
        }
        EXPECT_EQ(::SendMessageW(edit, kPing, 0, 0), 100);
        EXPECT_EQ(g_basePings, 4) << "every message reaches the control exactly once";
        EXPECT_EQ(g_otherPings, c.oursFirst ? 3 : 1);
        EXPECT_EQ(Tripwire::calls, 0) << "a message reached our object after it let go";
        EXPECT_EQ(fw::Window::FromHandle(edit), nullptr);

        // A new object binds again through what is left in the chain.
        PingCounter again;
        ASSERT_TRUE(again.Subclass(edit));
        EXPECT_EQ(::SendMessageW(edit, kPing, 0, 0), 100);
        EXPECT_EQ(again.pings, 1);
        EXPECT_EQ(g_basePings, 5);
        again.Unsubclass();
        EXPECT_TRUE(::DestroyWindow(edit));
        EXPECT_EQ(Tripwire::calls, 0);
        storage.tripwire.~Tripwire();
    }
}

class TextCounter : public fw::Window {
public:
    int setTexts = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SETTEXT) ++setTexts;
        return Default(msg, wParam, lParam);
    }
};

TEST(WindowBinding, ASubclassedUnicodeControlKeepsItsText) {
    // None of these is in the ANSI code page.
    const wchar_t kText[] = L"\u041f\u0440\u0438\u0432\u0435\u0442 \u2603 \u03a9\u03bc\u03ad\u03b3\u03b1";
    HWND edit = MakeEdit();
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(::IsWindowUnicode(edit));
    TextCounter ours;
    ASSERT_TRUE(ours.Subclass(edit));
    EXPECT_TRUE(::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText)));
    wchar_t got[64] = {};
    EXPECT_EQ(::SendMessageW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(got)),
              static_cast<LRESULT>(std::wcslen(kText)));
    EXPECT_EQ(std::wstring(got), std::wstring(kText));
    EXPECT_EQ(ours.setTexts, 1);
    ours.Unsubclass();
    EXPECT_TRUE(::IsWindowUnicode(edit));
    ::DestroyWindow(edit);
}

TEST(WindowBinding, ASubclassedWindowStillAsksForTheNotificationsOfItsCharacterSet) {
    // Controls made in it later ask it which notifications to send.
    struct Case {
        const char* name;
        bool unicode;
        LRESULT format;
    };
    const Case cases[] = {{"an ANSI window", false, NFR_ANSI}, {"a Unicode window", true, NFR_UNICODE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND wnd = c.unicode ? MakeEdit()
                             : ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                                 ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(wnd, nullptr);
        ASSERT_EQ(::IsWindowUnicode(wnd) != FALSE, c.unicode);
        TextCounter ours;
        ASSERT_TRUE(ours.Subclass(wnd));
        EXPECT_EQ(::SendMessageA(wnd, WM_NOTIFYFORMAT, 0, NF_QUERY), c.format);
        ours.Unsubclass();
        EXPECT_EQ(::IsWindowUnicode(wnd) != FALSE, c.unicode) << "the previous procedure is back";
        ::DestroyWindow(wnd);
    }
}

class AnsweringWindow : public fw::Window {
public:
    explicit AnsweringWindow(LRESULT answer) : answer_(answer) {}

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kPing) return answer_;
        return Default(msg, wParam, lParam);
    }

private:
    LRESULT answer_;
};

// Makes, checks and ends windows as fast as it can; counts what went wrong.
int Churn(int rounds, LRESULT base, const std::atomic<bool>* stop) {
    int wrong = 0;
    for (int i = 0; i < rounds && !(stop && *stop); ++i) {
        AnsweringWindow wnd(base + i);
        if (!wnd.Create(kClass, "", WS_POPUP, 0, 0, 0, 10, 10, nullptr)) {
            ++wrong;
            continue;
        }
        if (fw::Window::FromHandle(wnd.hwnd()) != &wnd) ++wrong;
        if (::SendMessageA(wnd.hwnd(), kPing, 0, 0) != base + i) ++wrong;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    return wrong;
}

TEST(WindowBinding, WindowsOfTwoThreadsAreBoundAtOnce) {
    ASSERT_TRUE(fw::Window::RegisterClass(kClass));
    std::atomic<HWND> otherLasting{nullptr};
    std::atomic<AnsweringWindow*> otherObject{nullptr};
    std::atomic<bool> mainDone{false};
    int otherWrong = 0;
    std::thread other([&] {
        AnsweringWindow lasting(777);
        if (!lasting.Create(kClass, "", WS_POPUP, 0, 0, 0, 10, 10, nullptr)) return;
        otherObject = &lasting;
        otherLasting = lasting.hwnd();
        otherWrong = Churn(100000, 1000000, &mainDone);
        // Answers the main thread's last sends until it is done.
        MSG msg;
        while (!mainDone) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        }
    });
    while (!otherLasting) std::this_thread::yield();
    int mainWrong = 0;
    for (int i = 0; i < 10; ++i) {
        mainWrong += Churn(10, 2000 + i * 100, nullptr);
        if (fw::Window::FromHandle(otherLasting) != otherObject) ++mainWrong;
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutA(otherLasting, kPing, 0, 0, SMTO_NORMAL, 10000, &answer) || answer != 777)
            ++mainWrong;
    }
    mainDone = true;
    other.join();
    EXPECT_EQ(mainWrong, 0) << "the main thread's windows, and its look at the other thread's";
    EXPECT_EQ(otherWrong, 0) << "the other thread's windows";
}

}  // namespace
