// The block's corner for a cell: clamped to the picture's right and bottom, overflow-safe.
#include "convert/block_placement.h"

#include <limits>

namespace korvanth {

namespace {

// One axis in 64 bits: |cell| is at most 2^63 / cellSize before the multiply would overflow.
std::optional<std::int32_t> PlaceOnAxis(std::int64_t cell, std::int32_t block, std::int32_t picture,
                                        int cellSize) {
  if (cellSize <= 0) return std::nullopt;
  const std::int64_t limit = std::numeric_limits<std::int64_t>::max() / cellSize;
  if (cell > limit || cell < -limit) return std::nullopt;
  std::int64_t corner = cell * cellSize;
  const std::int64_t farthest = static_cast<std::int64_t>(picture) - block;
  if (corner > farthest) corner = farthest;
  if (corner < std::numeric_limits<std::int32_t>::min() ||
      corner > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(corner);
}

}  // namespace

std::optional<SelectionPoint> PlaceBlockOnCell(std::int64_t column, std::int64_t row,
                                               PixelSize block, PixelSize picture, int cellSize) {
  const auto x = PlaceOnAxis(column, block.width, picture.width, cellSize);
  const auto y = PlaceOnAxis(row, block.height, picture.height, cellSize);
  if (!x || !y) return std::nullopt;
  return SelectionPoint{*x, *y};
}

}  // namespace korvanth
