// The main window's size when it opens: large enough to show the whole picture at 1x, up
// to 80 % of the screen's work area, never smaller than a 513 x 513 client area.
#pragma once

#include "convert/layout_format.h"

namespace korvanth {

inline constexpr int kInitialClientSize = 513;

// What the window adds around its client area, in pixels.
struct WindowFrameExtent {
  int width = 0;      // outer width minus client width
  int height = 0;     // outer height minus client height (caption and menu bar included)
  int barWidth = 0;   // the vertical scroll bar's width
  int barHeight = 0;  // the horizontal scroll bar's height
};

// The outer size for `picture` (none: 0 x 0) on a work area of `workArea`: the picture's
// own size plus the frame, plus a scroll bar across each side the 80 % cut short.
PixelSize FirstWindowSize(PixelSize picture, PixelSize workArea, const WindowFrameExtent& frame);

}  // namespace korvanth
