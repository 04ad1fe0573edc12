// An atlas's pixel work on ARGB rows: spotting empty blocks, copying a block's quarters.
#include "convert/atlas_pixels.h"

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
      for (int y = 0; y < quarter; ++y) {
        const std::uint32_t* from = picture.row(fromY + y) + fromX;
        std::uint32_t* to = atlas.row(toY + y) + toX;
        // A fully transparent pixel is stored as 0, as a drawn sheet stores it.
        for (int x = 0; x < quarter; ++x) to[x] = (from[x] >> 24) != 0 ? from[x] : 0u;
      }
    }
  }
}

}  // namespace korvanth
