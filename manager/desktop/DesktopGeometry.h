// The desktop pane's model of the screen: 420 x 320 model pixels for the
// whole screen, converted with single-precision factors and truncation, so a
// rectangle that goes to the model and back lands where the user saw it.
#pragma once

#include <windows.h>

namespace desktop {

inline constexpr int kModelWidth = 420;
inline constexpr int kModelHeight = 320;
// A miniature never gets larger than this in the model, nor lies further out:
// a link file's rectangle must not make the pane allocate a giant image.
inline constexpr int kMaxModelSide = 2048;

// Screen pixels per model pixel.
struct Scale {
    float sx = 1.0f;
    float sy = 1.0f;
};

// The factors for a screen of horzRes x vertRes pixels.
Scale ScaleFor(int horzRes, int vertRes);

// Where a browser opens when its link stores no usable rectangle: a tenth in
// from the top left, seven tenths of the screen in size (screen pixels; the
// browser's own rule, DefaultLinkWindowRect of common/LinkWindowPlace.h).
RECT DefaultScreenRect(int horzRes, int vertRes);

// A screen rectangle in model pixels, bounded by kMaxModelSide.
RECT ScreenToView(const RECT& screen, const Scale& scale);

// A miniature's screen rectangle from the view's and the miniature's window
// rectangles (both in screen coordinates): a miniature past the view's left
// or top edge counts as lying at the screen's edge and keeps its size.
RECT ViewToScreen(const RECT& view, const RECT& miniature, const Scale& scale);

// The viewer rectangle of a skin drawn at originalWidth x originalHeight,
// taken into an image covering a window whose client is clientWidth x
// clientHeight (the frame 4 pixels a side, the caption 19). The original
// size must be above 0.
RECT ViewerInImage(const RECT& viewer, int originalWidth, int originalHeight, int clientWidth, int clientHeight);

// A stored rectangle the browser would not open at: empty or inverted.
bool IsUnusableRect(const RECT& rc);

}  // namespace desktop
