// Helpers of the skin button tests: picture strips whose every frame and row
// has its own colour, a 32-bit canvas to draw on and probe, and a dialog with
// two skin buttons at known pixel places.
#pragma once

#include "SkinButton.h"

#include "fw/dialog.h"
#include "fw/handles.h"

#include <windows.h>

#include <string>

namespace buttontest {

// The colour of frame `frame`, row `row` of strip number `seed`.
COLORREF StripColour(int seed, int frame, int row);

// A .bmp strip of `frames` frames, each frameWidth x rowHeight per row, three
// rows. Columns past the last whole frame take the last frame's colour.
std::string StripBmp(int seed, int frames, int frameWidth, int rowHeight, int bpp, int extraColumns = 0);

// A 32-bit top-down section in a memory DC, filled with kSentinel.
inline constexpr COLORREF kSentinel = RGB(1, 2, 3);
class Canvas {
public:
    Canvas(int width, int height);
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

private:
    fw::Bitmap section_;
    fw::MemoryDc dc_;
    fw::SelectObjectGuard select_;
};

// A hand-built owner-draw request for the item rectangle.
DRAWITEMSTRUCT MakeItem(HWND button, HDC dc, RECT rect, UINT state);

// The size that maps an item 1:1 onto a frame: StretchDraw adds 2 pixels.
inline RECT ItemFor(int x, int y, int frameWidth, int rowHeight) {
    return RECT{x, y, x + frameWidth - 2, y + rowHeight - 2};
}

// A modeless dialog at screen 100, 100 holding BUTTON_BACK and the ANIMATOR,
// each 98 x 28 pixels (1:1 with 100 x 30 frames), shown.
class ButtonDialog : public fw::Dialog {
public:
    static constexpr POINT kOrigin{100, 100};
    static constexpr RECT kBackPlace{10, 10, 108, 38};
    static constexpr RECT kAnimatorPlace{130, 10, 228, 38};

    ButtonDialog();
    CSkinButton back;
    CSkinButton animator;

protected:
    BOOL OnInitDialog() override;
};

// Dispatches this thread's messages for up to `ms` milliseconds, or until
// done() is true; returns done()'s last value.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= ms) return done();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

}  // namespace buttontest
