#include "convert/atlas_pixels.h"

#include <cstring>

namespace korvanth {

bool IsBlockTransparent(const PixelRows& picture, SelectionPoint origin, PixelSize block) {
  for (int y = origin.y; y < origin.y + block.height; ++y) {
    const std::uint32_t* row = picture.row(y) + origin.x;
    for (int x = 0; x < block.width; ++x)
      if ((row[x] >> 24) != 0) return false;
  }
  return true;
}

void CopySheetQuarters(SheetLayout layout, const PixelRows& picture, SelectionPoint origin,
                       const PixelRows& atlas, SelectionPoint cell) {
  const int quarter = layout.quarterSize();
  const std::size_t rowBytes = static_cast<std::size_t>(quarter) * sizeof(std::uint32_t);
  for (const LayoutTableEntry& tile : LayoutTableFor(layout)) {
    for (const QuarterPlacement& placement : tile.quarters) {
      const int fromX = origin.x + quarter * placement.source.column;
      const int fromY = origin.y + quarter * placement.source.row;
      const int toX = cell.x + quarter * placement.destination.column;
      const int toY = cell.y + quarter * placement.destination.row;
      // Every table reads inside its block; a quarter beyond the picture would stay empty.
      if (fromX < 0 || fromY < 0 || fromX + quarter > picture.width ||
          fromY + quarter > picture.height)
        continue;
      for (int y = 0; y < quarter; ++y)
        std::memcpy(atlas.row(toY + y) + toX, picture.row(fromY + y) + fromX, rowBytes);
    }
  }
}

}  // namespace korvanth
