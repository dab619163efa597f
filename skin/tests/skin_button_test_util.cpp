#include "skin_button_test_util.h"

#include "bmp_builder.h"
#include "skin_button_tests_res.h"

#include <algorithm>
#include <vector>

namespace buttontest {

COLORREF StripColour(int seed, int frame, int row) {
    return RGB(12 + frame * 23, 30 + row * 90, 20 + seed * 70);
}

std::string StripBmp(int seed, int frames, int frameWidth, int rowHeight, int bpp, int extraColumns) {
    skintest::BmpSpec spec;
    spec.width = frames * frameWidth + extraColumns;
    spec.height = rowHeight * 3;
    spec.bpp = bpp;
    if (bpp <= 8) {
        for (int frame = 0; frame < frames; ++frame)
            for (int row = 0; row < 3; ++row) spec.palette.push_back(StripColour(seed, frame, row));
        spec.colorsUsed = static_cast<uint32_t>(spec.palette.size());
    }
    return skintest::BuildBmp(spec, [&](int x, int y) -> uint32_t {
        const int frame = std::min(x / frameWidth, frames - 1);
        const int row = std::min(y / rowHeight, 2);
        return bpp <= 8 ? static_cast<uint32_t>(frame * 3 + row) : StripColour(seed, frame, row);
    });
}

Canvas::Canvas(int width, int height)
    : section_(skintest::MakeSection32(width, height, [](int, int) { return kSentinel; })),
      dc_(::CreateCompatibleDC(nullptr)),
      select_(dc_.get(), section_.get()) {}

DRAWITEMSTRUCT MakeItem(HWND button, HDC dc, RECT rect, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = button ? static_cast<UINT>(::GetDlgCtrlID(button)) : 0;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = rect;
    return item;
}

ButtonDialog::ButtonDialog() : fw::Dialog(IDD_SKIN_BUTTONS) {}

BOOL ButtonDialog::OnInitDialog() {
    back.Subclass(Item(IDC_TEST_BACK));
    animator.Subclass(Item(IDC_TEST_ANIMATOR));
    auto place = [](HWND wnd, const RECT& r) {
        ::SetWindowPos(wnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(back.hwnd(), kBackPlace);
    place(animator.hwnd(), kAnimatorPlace);
    // Not activated: Wine's X driver manages an activated window, and destroying a managed
    // window waits 2 s for a window manager that Xvfb does not have. No focus either, so
    // every button starts on its normal row; the hover tests activate the dialog themselves.
    ::SetWindowPos(hwnd(), HWND_TOP, kOrigin.x, kOrigin.y, 400, 200, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return FALSE;
}

}  // namespace buttontest
