#include "DesktopGeometry.h"

#include "LinkWindowPlace.h"

#include <algorithm>

namespace desktop {

namespace {

// Rounds to single precision even where the compiler would keep more (x87).
float Single(float value) {
    volatile float stored = value;
    return stored;
}

// Toward zero, as a C cast does; out-of-range values are held at the bounds.
int Trunc(float value) {
    if (!(value == value)) return 0;  // NaN
    const float bound = 1073741824.0f;
    return static_cast<int>(std::clamp(value, -bound, bound));
}

constexpr float kPerModelX = 1.0f / static_cast<float>(kModelWidth);
constexpr float kPerModelY = 1.0f / static_cast<float>(kModelHeight);

}  // namespace

Scale ScaleFor(int horzRes, int vertRes) {
    return Scale{Single(static_cast<float>(horzRes) * kPerModelX), Single(static_cast<float>(vertRes) * kPerModelY)};
}

RECT DefaultScreenRect(int horzRes, int vertRes) {
    return DefaultLinkWindowRect(horzRes, vertRes);
}

RECT ScreenToView(const RECT& screen, const Scale& scale) {
    auto across = [&](LONG v) { return Trunc(Single(static_cast<float>(v) / scale.sx)); };
    auto down = [&](LONG v) { return Trunc(Single(static_cast<float>(v) / scale.sy)); };
    RECT rc{across(screen.left), down(screen.top), across(screen.right), down(screen.bottom)};
    rc.left = std::clamp<LONG>(rc.left, -kMaxModelSide, kMaxModelSide);
    rc.top = std::clamp<LONG>(rc.top, -kMaxModelSide, kMaxModelSide);
    rc.right = rc.left + std::clamp<LONG>(static_cast<LONG>(rc.right) - rc.left, 0, kMaxModelSide);
    rc.bottom = rc.top + std::clamp<LONG>(static_cast<LONG>(rc.bottom) - rc.top, 0, kMaxModelSide);
    return rc;
}

RECT ViewToScreen(const RECT& view, const RECT& miniature, const Scale& scale) {
    const int dx = std::max<int>(0, miniature.left - view.left);
    const int dy = std::max<int>(0, miniature.top - view.top);
    const int width = miniature.right - miniature.left;
    const int height = miniature.bottom - miniature.top;
    return RECT{Trunc(Single(static_cast<float>(dx) * scale.sx)), Trunc(Single(static_cast<float>(dy) * scale.sy)),
                Trunc(Single(static_cast<float>(dx + width) * scale.sx)),
                Trunc(Single(static_cast<float>(dy + height) * scale.sy))};
}

RECT ViewerInImage(const RECT& viewer, int originalWidth, int originalHeight, int clientWidth, int clientHeight) {
    const float rx = Single(static_cast<float>(originalWidth) / static_cast<float>(clientWidth + 8));
    const float ry = Single(static_cast<float>(originalHeight) / static_cast<float>(clientHeight + 27));
    RECT rc{};
    rc.left = Trunc(Single(static_cast<float>(viewer.left) / rx)) + 1;
    rc.top = Trunc(Single(static_cast<float>(viewer.top) / ry));
    rc.right = Trunc(Single(static_cast<float>(viewer.right - viewer.left) / rx)) + rc.left;
    rc.bottom = Trunc(Single(static_cast<float>(viewer.bottom - viewer.top) / ry)) + rc.top + 1;
    return rc;
}

bool IsUnusableRect(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

}  // namespace desktop
