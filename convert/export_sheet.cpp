#include "convert/export_sheet.h"

#include <cstdint>

namespace korvanth {

SheetBuild BuildSheet(LayoutFormat format, ImageHandle& source, SelectionPoint origin) {
  const PixelSize size = SheetSize(format);
  SheetBuild build;
  build.sheet = ImageHandle::FromScan0(size.width, size.height, PixelFormat32bppARGB);
  build.sheet.Record(GdipBitmapSetResolution(build.sheet.bitmap(), 96.0f, 96.0f));
  source.Record(GdipBitmapSetResolution(source.bitmap(), 96.0f, 96.0f));
  build.graphics = GraphicsHandle::FromImage(build.sheet);

  const std::int64_t pictureWidth = source.Width();
  const std::int64_t pictureHeight = source.Height();
  for (const LayoutTableEntry& tile : LayoutTableFor(format)) {
    for (const QuarterPlacement& quarter : tile.quarters) {
      // Positions in 64 bits: a quarter wholly outside the picture stays transparent
      // and is not drawn, so no position handed on can overflow.
      const std::int64_t x = std::int64_t{origin.x} + kQuarterSize * quarter.source.column;
      const std::int64_t y = std::int64_t{origin.y} + kQuarterSize * quarter.source.row;
      if (x <= -kQuarterSize || y <= -kQuarterSize || x >= pictureWidth || y >= pictureHeight)
        continue;
      build.graphics.Record(GdipDrawImagePointRectI(
          build.graphics.graphics(), source.image(), kQuarterSize * quarter.destination.column,
          kQuarterSize * quarter.destination.row, static_cast<INT>(x), static_cast<INT>(y),
          kQuarterSize, kQuarterSize, UnitPixel));
    }
  }
  return build;
}

}  // namespace korvanth
