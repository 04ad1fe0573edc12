// The region of a picture a block needs, clamped so it always holds the nearest pixel.
#include "imaging/picture_region.h"

#include <algorithm>

namespace korvanth::imaging {

namespace {

// [start, start + length) within [0, size), at least the one nearest position.
void ClampSpan(std::int64_t start, std::int64_t length, std::int64_t size, std::int64_t& from,
               std::int64_t& count) {
  from = std::clamp<std::int64_t>(start, 0, size - 1);
  const std::int64_t end =
      std::clamp<std::int64_t>(start + std::max<std::int64_t>(length, 0), from + 1, size);
  count = end - from;
}

}  // namespace

PixelArea RegionForBlock(std::int64_t pictureWidth, std::int64_t pictureHeight, std::int64_t x,
                         std::int64_t y, std::int64_t blockWidth, std::int64_t blockHeight) {
  PixelArea area;
  if (pictureWidth <= 0 || pictureHeight <= 0) return area;
  ClampSpan(x, blockWidth, pictureWidth, area.left, area.width);
  ClampSpan(y, blockHeight, pictureHeight, area.top, area.height);
  return area;
}

}  // namespace korvanth::imaging
