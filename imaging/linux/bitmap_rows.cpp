// The bitmap's rows as every writer reads them.
#include "imaging/linux/encoders.h"

namespace korvanth::imaging {

std::optional<imaging::encode::PixelRows> RowsOf(const LinuxBitmap& bitmap) {
  if (bitmap.pixels.isNull()) return std::nullopt;
  imaging::encode::PixelRows rows;
  rows.scan0 = bitmap.pixels.bits();
  rows.stride = bitmap.pixels.stride();
  rows.width = static_cast<int>(bitmap.pixels.width());
  rows.height = static_cast<int>(bitmap.pixels.height());
  rows.bytesPerPixel = bitmap.pixels.bytesPerPixel();
  rows.hasAlpha = bitmap.pixels.layout() == Layout::Argb32;
  rows.dpiX = bitmap.dpiX;
  rows.dpiY = bitmap.dpiY;
  return rows;
}

}  // namespace korvanth::imaging
