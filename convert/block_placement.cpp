#include "convert/block_placement.h"

#include <limits>

namespace korvanth {

namespace {

// One axis in 64 bits: |cell| is at most 2^63 / 32 before the multiply would overflow.
std::optional<std::int32_t> PlaceOnAxis(std::int64_t cell, std::int32_t block,
                                        std::int32_t picture) {
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / kTileSize;
  if (cell > kLimit || cell < -kLimit) return std::nullopt;
  std::int64_t corner = cell * kTileSize;
  const std::int64_t farthest = static_cast<std::int64_t>(picture) - block;
  if (corner > farthest) corner = farthest;
  if (corner < std::numeric_limits<std::int32_t>::min() ||
      corner > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(corner);
}

}  // namespace

std::optional<SelectionPoint> PlaceBlockOnCell(std::int64_t column, std::int64_t row,
                                               PixelSize block, PixelSize picture) {
  const auto x = PlaceOnAxis(column, block.width, picture.width);
  const auto y = PlaceOnAxis(row, block.height, picture.height);
  if (!x || !y) return std::nullopt;
  return SelectionPoint{*x, *y};
}

}  // namespace korvanth
