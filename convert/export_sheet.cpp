// Builds a sheet in memory: a transparent 32-bit bitmap drawn quarter by quarter from a block.
#include "convert/export_sheet.h"

#include <cstdint>

namespace korvanth {

SheetBuild BuildSheet(SheetLayout layout, ImageHandle& source, SelectionPoint origin) {
  const PixelSize size = SheetSize(layout);
  const int quarter = layout.quarterSize();
  SheetBuild build;
  build.sheet = ImageHandle::FromScan0(size.width, size.height, PixelFormat32bppARGB);
  build.sheet.Record(GdipBitmapSetResolution(build.sheet.bitmap(), 96.0f, 96.0f));
  source.Record(GdipBitmapSetResolution(source.bitmap(), 96.0f, 96.0f));
  build.graphics = GraphicsHandle::FromImage(build.sheet);

  const std::int64_t pictureWidth = source.Width();
  const std::int64_t pictureHeight = source.Height();
  for (const LayoutTableEntry& tile : LayoutTableFor(layout)) {
    for (const QuarterPlacement& placement : tile.quarters) {
      // Positions in 64 bits: a quarter wholly outside the picture stays transparent
      // and is not drawn, so no position handed on can overflow.
      const std::int64_t x =
          std::int64_t{origin.x} + std::int64_t{quarter} * placement.source.column;
      const std::int64_t y = std::int64_t{origin.y} + std::int64_t{quarter} * placement.source.row;
      if (x <= -quarter || y <= -quarter || x >= pictureWidth || y >= pictureHeight) continue;
      build.graphics.Record(GdipDrawImagePointRectI(
          build.graphics.graphics(), source.image(), quarter * placement.destination.column,
          quarter * placement.destination.row, static_cast<INT>(x), static_cast<INT>(y), quarter,
          quarter, UnitPixel));
    }
  }
  return build;
}

}  // namespace korvanth
