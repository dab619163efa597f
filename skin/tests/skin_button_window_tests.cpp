// The skin button on a real dialog: reflected drawing, the animation timer,
// mouse tracking with the hot mark and capture, the tooltip and the cursor.
#include "SkinButton.h"

#include "skin_button_test_util.h"
#include "skin_button_tests_res.h"

#include "SkinResources.h"

#include "testsupport/pump.h"
#include "testsupport/temp_program_folder.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using buttontest::ButtonDialog;
using buttontest::Canvas;
using buttontest::ItemFor;
using buttontest::MakeItem;
using buttontest::PumpUntil;
using buttontest::StripBmp;
using buttontest::StripColour;
using testsupport::TempProgramFolder;

class SkinButtonWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.CreateModeless());
        ASSERT_NE(dialog.back.hwnd(), nullptr);
        ASSERT_NE(dialog.animator.hwnd(), nullptr);
        ASSERT_TRUE(testsupport::PumpPosted()) << "what the dialog's creation left queued";
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        dir.WriteFile(name, bytes);
        return dir / name;
    }

    // What the button paints for its current state, through the button's own
    // WM_PRINTCLIENT: the control sends WM_DRAWITEM and the dialog reflects it.
    COLORREF PaintedCentre(const CSkinButton& button) {
        Canvas canvas(120, 40);
        ::SendMessageA(button.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        return canvas.At(49, 14);
    }

    // Makes the dialog the active window: the hot mark needs one.
    void Activate() {
        ::SetActiveWindow(dialog.hwnd());
        ASSERT_EQ(::GetActiveWindow(), dialog.hwnd());
    }

    static void Move(const CSkinButton& button, UINT flags, int x, int y) {
        ::SendMessageA(button.hwnd(), WM_MOUSEMOVE, flags, MAKELPARAM(x, y));
    }

    TempProgramFolder dir;
    ButtonDialog dialog;
};

// The mouse arrives over the button (and any hover capture is let go again).
void MouseComes(CSkinButton& button) {
    ::SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    if (::GetCapture() == button.hwnd()) ::ReleaseCapture();
}

TEST_F(SkinButtonWindow, AnimatorRunsItsFramesWrapsAndStopsOnFrameZero) {
    // ANIMATOR 10,10,100,30,anim.bmp,10,20,1 with a 1000 x 90 strip.
    CSkinButton& animator = dialog.animator;
    ASSERT_EQ(animator.LoadBitmapsFromFile(Write("anim.bmp", StripBmp(0, 10, 100, 30, 8)), "", 10, 20), 0);
    EXPECT_EQ(animator.Frames(), 10);
    EXPECT_EQ(animator.FrameWidth(), 100);
    EXPECT_EQ(animator.RowHeight(), 30);
    EXPECT_EQ(animator.TimerPeriod(), 50u);
    animator.SetAnimation(1);
    EXPECT_EQ(animator.TimerId(), CSkinButton::kAnimationTimer);

    // The real timer advances the frame.
    EXPECT_TRUE(PumpUntil(3000, [&] { return animator.FrameIndex() != 0; }));

    animator.SetAnimation(0);
    animator.SetAnimation(1);
    for (int tick = 1; tick <= 10; ++tick) {
        ::SendMessageA(animator.hwnd(), WM_TIMER, CSkinButton::kAnimationTimer, 0);
        const int frame = tick % 10;
        ASSERT_EQ(animator.FrameIndex(), frame) << "tick " << tick;
        ASSERT_EQ(PaintedCentre(animator), StripColour(0, frame, 0)) << "tick " << tick;
    }
    ::SendMessageA(animator.hwnd(), WM_TIMER, CSkinButton::kAnimationTimer, 0);
    ::SendMessageA(animator.hwnd(), WM_TIMER, CSkinButton::kAnimationTimer, 0);
    ASSERT_EQ(animator.FrameIndex(), 2);

    ::ValidateRect(animator.hwnd(), nullptr);
    animator.SetAnimation(0);
    EXPECT_EQ(animator.TimerId(), 0u);
    EXPECT_EQ(animator.FrameIndex(), 0);
    EXPECT_TRUE(::GetUpdateRect(animator.hwnd(), nullptr, FALSE)) << "stopping repaints the button";
    EXPECT_EQ(PaintedCentre(animator), StripColour(0, 0, 0));
    // A tick already queued when the timer was killed does not move a stopped animator.
    ::SendMessageA(animator.hwnd(), WM_TIMER, CSkinButton::kAnimationTimer, 0);
    ASSERT_TRUE(testsupport::PumpTimerTicks(animator.TimerPeriod(), 2)) << "a timer of the animator's period, set after";
    EXPECT_EQ(animator.FrameIndex(), 0);
}

TEST_F(SkinButtonWindow, OneFrameNeverStartsATimer) {
    CSkinButton& animator = dialog.animator;
    for (int frames : {1, 0}) {
        ASSERT_EQ(animator.LoadBitmapsFromFile(Write("one.bmp", StripBmp(0, 1, 100, 30, 24)), "", frames, 20), 0);
        animator.SetAnimation(1);
        EXPECT_EQ(animator.TimerId(), 0u) << frames;
    }
    ASSERT_EQ(animator.LoadBitmaps(IDB_SKIN_ANIMATOR, 0, 21, 10), 0);
    animator.SetAnimation(2);
    EXPECT_EQ(animator.TimerId(), 0u) << "only 1 starts";
    animator.SetAnimation(1);
    EXPECT_EQ(animator.TimerId(), CSkinButton::kAnimationTimer);
    animator.SetAnimation(-1);
    EXPECT_EQ(animator.TimerId(), CSkinButton::kAnimationTimer) << "only 0 stops";
}

TEST_F(SkinButtonWindow, NoSpeedAnimatesAtTheSlowestPace) {
    CSkinButton& animator = dialog.animator;
    ASSERT_EQ(animator.LoadBitmapsFromFile(Write("anim.bmp", StripBmp(0, 10, 100, 30, 8)), "", 10, 0), 0);
    animator.SetAnimation(1);
    EXPECT_EQ(animator.TimerId(), CSkinButton::kAnimationTimer);
    EXPECT_EQ(animator.TimerPeriod(), CSkinButton::kMaxTimerPeriod);
    // An animator at the fastest pace, or any up to about 120 ms, would tick before these.
    ASSERT_TRUE(testsupport::PumpTimerTicks(CSkinButton::kMinTimerPeriod, 12));
    EXPECT_EQ(animator.FrameIndex(), 0);
}

TEST_F(SkinButtonWindow, DestroyingTheButtonKillsTimerAndTooltip) {
    CSkinButton& animator = dialog.animator;
    ASSERT_EQ(animator.LoadBitmaps(IDB_SKIN_ANIMATOR, 0, 21, 10), 0);
    animator.SetAnimation(1);
    animator.SetTooltipText("Working", true);
    MouseComes(animator);
    HWND tip = animator.TooltipWindow();
    ASSERT_TRUE(::IsWindow(tip));
    ASSERT_TRUE(::DestroyWindow(animator.hwnd()));
    EXPECT_EQ(animator.hwnd(), nullptr);
    EXPECT_EQ(animator.TimerId(), 0u);
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(animator.TooltipWindow(), nullptr);
}

TEST_F(SkinButtonWindow, ObjectGoingAwayLeavesAPlainLiveButton) {
    Activate();
    HWND plain = dialog.Item(IDC_TEST_PLAIN);
    {
        CSkinButton button;
        ASSERT_TRUE(button.Subclass(plain));
        ASSERT_EQ(button.LoadBitmaps(IDB_SKIN_ANIMATOR, 0, 21, 10), 0);
        button.SetAnimation(1);
        ASSERT_EQ(button.TimerId(), CSkinButton::kAnimationTimer);
        Move(button, 0, 5, 5);
        ASSERT_TRUE(button.IsHot());
        ASSERT_EQ(::GetCapture(), plain);
    }
    EXPECT_TRUE(::IsWindow(plain));
    EXPECT_EQ(fw::Window::FromHandle(plain), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr) << "the hover capture goes with the object";
    EXPECT_FALSE(::KillTimer(plain, CSkinButton::kAnimationTimer)) << "the timer is already gone";
    ::SendMessageA(plain, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // reaches no object
}

TEST_F(SkinButtonWindow, ReflectedDrawItemPaintsTheButtonsState) {
    CSkinButton& back = dialog.back;
    // BUTTON_BACK with a second bitmap.
    ASSERT_EQ(back.LoadBitmapsFromFile(Write("back.bmp", StripBmp(1, 1, 100, 30, 8)),
                                       Write("back2.bmp", StripBmp(2, 2, 50, 30, 24)), 1, 5),
              0);
    HWND wnd = back.hwnd();
    EXPECT_EQ(PaintedCentre(back), StripColour(1, 0, 0)) << "normal";
    ::SendMessageA(wnd, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(PaintedCentre(back), StripColour(1, 0, 1)) << "focused";
    ::SendMessageA(wnd, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(PaintedCentre(back), StripColour(1, 0, 2)) << "pressed and focused";
    ::SendMessageA(wnd, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(PaintedCentre(back), StripColour(1, 0, 2)) << "pressed";
    ::SendMessageA(wnd, BM_SETSTATE, FALSE, 0);
    ::EnableWindow(wnd, FALSE);
    // The second picture from column 0: its first frame (a 50-wide column) at the left,
    // its second frame from dest x 49 on.
    Canvas canvas(120, 40);
    ::SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(canvas.At(0, 14), StripColour(2, 0, 0));
    EXPECT_EQ(canvas.At(48, 14), StripColour(2, 0, 0));
    EXPECT_EQ(canvas.At(51, 14), StripColour(2, 1, 0));
    ::EnableWindow(wnd, TRUE);
    EXPECT_EQ(PaintedCentre(back), StripColour(1, 0, 0));

    // A hand-built request sent to the dialog reaches the button the same way.
    Canvas direct(200, 60);
    DRAWITEMSTRUCT item = MakeItem(wnd, direct.dc(), ItemFor(20, 10, 100, 30), ODS_SELECTED);
    ::SendMessageA(dialog.hwnd(), WM_DRAWITEM, IDC_TEST_BACK, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(direct.At(70, 24), StripColour(1, 0, 2));
}

TEST_F(SkinButtonWindow, HoverTakesTheCaptureAndLeavingReleasesIt) {
    Activate();
    CSkinButton& back = dialog.back;
    Move(back, 0, 40, 12);
    EXPECT_TRUE(back.IsHot());
    EXPECT_EQ(::GetCapture(), back.hwnd());
    ::ValidateRect(back.hwnd(), nullptr);
    Move(back, 0, 60, 20);  // still over the button
    EXPECT_TRUE(back.IsHot());
    EXPECT_EQ(::GetCapture(), back.hwnd());
    // Out over the dialog, beside the button.
    Move(back, 0, 150, 60);
    EXPECT_FALSE(back.IsHot());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(::GetUpdateRect(back.hwnd(), nullptr, FALSE)) << "leaving repaints the button";
}

TEST_F(SkinButtonWindow, PressingOutsideAndDraggingOverDoesNotMakeItHot) {
    Activate();
    CSkinButton& back = dialog.back;
    Move(back, MK_LBUTTON, 40, 12);
    EXPECT_FALSE(back.IsHot());
    EXPECT_NE(::GetCapture(), back.hwnd());
}

TEST_F(SkinButtonWindow, DraggingOutWithTheButtonDownKeepsTheCapture) {
    Activate();
    CSkinButton& back = dialog.back;
    Move(back, 0, 40, 12);
    ASSERT_TRUE(back.IsHot());
    Move(back, MK_LBUTTON, 150, 60);
    EXPECT_FALSE(back.IsHot());
    EXPECT_EQ(::GetCapture(), back.hwnd()) << "the press keeps it";
    Move(back, MK_LBUTTON, 40, 12);
    EXPECT_FALSE(back.IsHot()) << "back over it with the button still down";
    Move(back, 0, 150, 60);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(SkinButtonWindow, LosingTheCaptureClearsTheHotMark) {
    Activate();
    CSkinButton& back = dialog.back;
    Move(back, 0, 40, 12);
    ASSERT_TRUE(back.IsHot());
    HWND plain = dialog.Item(IDC_TEST_PLAIN);
    ::SetCapture(plain);
    EXPECT_FALSE(back.IsHot());
    EXPECT_EQ(::GetCapture(), plain) << "the new holder keeps it";
    ::ReleaseCapture();
}

TEST_F(SkinButtonWindow, ClickingAHotButtonKeepsItsPressAndEndsHot) {
    Activate();
    CSkinButton& back = dialog.back;
    Move(back, 0, 40, 12);
    ASSERT_TRUE(back.IsHot());
    ::SendMessageA(back.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
    EXPECT_EQ(::GetCapture(), back.hwnd());
    EXPECT_TRUE(back.IsHot()) << "the press takes the capture it already had";
    ::SendMessageA(back.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(40, 12));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(back.IsHot());
    Move(back, 0, 41, 12);
    EXPECT_TRUE(back.IsHot()) << "the next move over it makes it hot again";
    Move(back, 0, 150, 60);
    EXPECT_FALSE(back.IsHot());
}

TOOLINFOA ToolInfo(HWND tip, HWND button, char* text) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = button;
    tool.uId = 1;
    tool.lpszText = text;
    EXPECT_TRUE(::SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    return tool;
}

TEST_F(SkinButtonWindow, TooltipIsRegisteredAndFollowsTheButtonsSize) {
    CSkinButton& back = dialog.back;
    back.SetTooltipText("", true);
    EXPECT_EQ(back.TooltipWindow(), nullptr) << "no text, no tooltip";
    back.SetTooltipText("Back", true);
    EXPECT_EQ(back.TooltipWindow(), nullptr) << "the window comes with the mouse";
    MouseComes(back);
    HWND tip = back.TooltipWindow();
    ASSERT_TRUE(::IsWindow(tip));
    char className[64] = {};
    ::GetClassNameA(tip, className, sizeof(className));
    EXPECT_STREQ(className, TOOLTIPS_CLASSA);
    EXPECT_EQ(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TOOLINFOA tool = ToolInfo(tip, back.hwnd(), text);
    EXPECT_STREQ(text, "Back");
    EXPECT_EQ(tool.rect.left, 0);
    EXPECT_EQ(tool.rect.top, 0);
    EXPECT_EQ(tool.rect.right, 98);
    EXPECT_EQ(tool.rect.bottom, 28);

    back.SetTooltipText("Previous page", true);
    EXPECT_EQ(back.TooltipWindow(), tip);
    EXPECT_EQ(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1) << "one tool, its text replaced";
    ToolInfo(tip, back.hwnd(), text);
    EXPECT_STREQ(text, "Previous page");

    // The layout scales the button with the window.
    ::SetWindowPos(back.hwnd(), nullptr, 5, 5, 150, 45, SWP_NOZORDER | SWP_NOACTIVATE);
    tool = ToolInfo(tip, back.hwnd(), text);
    EXPECT_EQ(tool.rect.right, 150);
    EXPECT_EQ(tool.rect.bottom, 45);
    ::MoveWindow(back.hwnd(), 5, 5, 60, 20, TRUE);
    tool = ToolInfo(tip, back.hwnd(), text);
    EXPECT_EQ(tool.rect.right, 60);
    EXPECT_EQ(tool.rect.bottom, 20);
}

// Records what reaches the tooltip window.
struct TooltipLog {
    std::vector<MSG> relayed;
    std::vector<WPARAM> activations;
};

LRESULT CALLBACK RecordTooltip(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* log = reinterpret_cast<TooltipLog*>(data);
    if (msg == TTM_RELAYEVENT && lParam) log->relayed.push_back(*reinterpret_cast<const MSG*>(lParam));
    if (msg == TTM_ACTIVATE) log->activations.push_back(wParam);
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

TEST_F(SkinButtonWindow, MouseMessagesAreRelayedToTheTooltip) {
    CSkinButton& back = dialog.back;
    EXPECT_EQ(back.TooltipWindow(), nullptr);
    back.SetTooltipText("Back", false);
    MouseComes(back);
    HWND tip = back.TooltipWindow();
    ASSERT_NE(tip, nullptr);
    TooltipLog log;
    ASSERT_TRUE(::SetWindowSubclass(tip, RecordTooltip, 1, reinterpret_cast<DWORD_PTR>(&log)));
    back.SetTooltipText("Back", true);
    back.SetTooltipText("Back", false);
    EXPECT_EQ(log.activations, (std::vector<WPARAM>{TRUE, FALSE}));

    ::SendMessageA(back.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(7, 9));
    ::SendMessageA(back.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 9));
    ::SendMessageA(back.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(8, 9));
    ::SendMessageA(back.hwnd(), WM_KEYDOWN, VK_SPACE, 0);  // not a mouse message
    ASSERT_EQ(log.relayed.size(), 3u);
    const UINT want[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(log.relayed[i].hwnd, back.hwnd());
        EXPECT_EQ(log.relayed[i].message, want[i]);
    }
    EXPECT_EQ(log.relayed[0].lParam, MAKELPARAM(7, 9));
    ::RemoveWindowSubclass(tip, RecordTooltip, 1);
}

TEST_F(SkinButtonWindow, FirstMouseMessageMakesAnInactiveTooltip) {
    CSkinButton& back = dialog.back;
    ::SendMessageA(back.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    HWND tip = back.TooltipWindow();
    ASSERT_TRUE(::IsWindow(tip));
    EXPECT_EQ(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), dialog.hwnd()) << "a popup owned through the button's window";
}

TEST_F(SkinButtonWindow, CursorIsTheProgramsOwnOrTheHand) {
    CSkinButton& back = dialog.back;
    const HCURSOR own = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(CSkinButton::kCursorResource));
    const HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND);
    ASSERT_NE(own, nullptr);
    ASSERT_NE(own, hand);
    EXPECT_EQ(CSkinButton::LoadButtonCursor(::GetModuleHandleA("kernel32.dll")), hand);

    ::SetCursor(nullptr);
    ::SendMessageA(back.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(back.hwnd()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::GetCursor(), own) << "no cursor before the pictures are loaded";

    ASSERT_EQ(back.LoadBitmaps(IDB_SKIN_BACK, 0, 1, 5), 0);
    EXPECT_EQ(back.Cursor(), own);
    EXPECT_EQ(::SendMessageA(back.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(back.hwnd()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), own);
}

TEST_F(SkinButtonWindow, RealizingThePaletteRepaintsTheButton) {
    CSkinButton& back = dialog.back;
    back.RealizePalette();  // no picture yet: nothing to realise, no fault
    ASSERT_EQ(back.LoadBitmapsFromFile(Write("back.bmp", StripBmp(1, 1, 100, 30, 8)),
                                       Write("back2.bmp", StripBmp(2, 1, 100, 30, 8)), 1, 5),
              0);
    for (BOOL enabled : {TRUE, FALSE}) {
        ::EnableWindow(back.hwnd(), enabled);
        ::ValidateRect(back.hwnd(), nullptr);
        back.RealizePalette();
        RECT update{};
        EXPECT_TRUE(::GetUpdateRect(back.hwnd(), &update, FALSE)) << enabled;
        EXPECT_EQ(update.right, 98) << enabled;
    }
}

}  // namespace
