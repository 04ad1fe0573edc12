// The window's first size: the picture at 1x plus frame and bars, within 80 % of the screen.
#include "app/first_window_size.h"

#include <algorithm>
#include <cstdint>

namespace korvanth {

PixelSize FirstWindowSize(PixelSize picture, PixelSize workArea, const WindowFrameExtent& frame) {
  const auto share = [](int side) { return static_cast<int>(std::int64_t{side} * 8 / 10); };
  const int roomWidth = share(workArea.width) - frame.width;
  const int roomHeight = share(workArea.height) - frame.height;
  int width = picture.width;
  int height = picture.height;
  // A bar takes room from the other side, which may then need its own bar in turn.
  bool horizontalBar = false;
  bool verticalBar = false;
  for (int pass = 0; pass < 2; ++pass) {
    if (!horizontalBar && width > roomWidth) {
      horizontalBar = true;
      height += frame.barHeight;
    }
    if (!verticalBar && height > roomHeight) {
      verticalBar = true;
      width += frame.barWidth;
    }
  }
  const int clientWidth = std::max(std::min(width, roomWidth), kInitialClientSize);
  const int clientHeight = std::max(std::min(height, roomHeight), kInitialClientSize);
  return {clientWidth + frame.width, clientHeight + frame.height};
}

}  // namespace korvanth
