// The main window in a program without the built-in skin's pictures: the
// background cannot load, so there is no skin size to lay out by.
#include "browser_test_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BareBrowserWindow, LayoutWaitsForAUsableSkinSize) {
    browsertest::InProcessBrowser b("http://127.0.0.1:1/");
    CNimbBrowserDlg& dlg = *b.dlg;
    ASSERT_NE(dlg.hwnd(), nullptr);
    ASSERT_EQ(dlg.Skin().SkinWidth(), 0) << "this program has no built-in background";
    const HWND wnd = dlg.hwnd();
    const int ids[] = {IDC_EXPLORER, IDC_ADDRESS, IDC_GO, IDC_STATUS, IDC_BANNER, IDC_TITLE, IDC_BACK, IDC_CLOSE};
    auto places = [&] {
        std::vector<RECT> out;
        for (int id : ids) out.push_back(browsertest::ClientRectIn(wnd, ::GetDlgItem(wnd, id)));
        return out;
    };
    const std::vector<RECT> before = places();
    for (auto [cx, cy] : {std::pair{800, 600}, {1200, 900}}) {
        dlg.ApplyProportionalLayout(cx, cy);
        const std::vector<RECT> after = places();
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_TRUE(::EqualRect(&after[i], &before[i])) << "control " << ids[i] << " moved at " << cx;
    }
}

}  // namespace
