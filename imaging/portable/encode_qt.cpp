// PNG and JPEG through Qt's writers, into memory; the bitmap's rows for the others.
#include <QBuffer>
#include <QImageWriter>

#include "imaging/encode/writers.h"
#include "imaging/portable/compositing.h"
#include "imaging/portable/encoders.h"

namespace korvanth::imaging {

std::optional<encode::PixelRows> RowsOf(const PortableBitmap& bitmap) {
  const std::optional<Layout> layout = LayoutOf(bitmap.pixels.format());
  if (!layout) return std::nullopt;
  encode::PixelRows rows;
  rows.scan0 = bitmap.pixels.constBits();
  rows.stride = bitmap.pixels.bytesPerLine();
  rows.width = bitmap.pixels.width();
  rows.height = bitmap.pixels.height();
  rows.bytesPerPixel = BytesPerPixel(*layout);
  rows.hasAlpha = *layout == Layout::Argb32;
  rows.dpiX = bitmap.dpiX;
  rows.dpiY = bitmap.dpiY;
  return rows;
}

bool EncodeWithQt(PortableBitmap& bitmap, const char* format, int quality, QByteArray& out) {
  // Set on the stored pixels themselves: a copy would have to detach the whole picture.
  bitmap.pixels.setDotsPerMeterX(encode::DotsPerMetre(bitmap.dpiX));
  bitmap.pixels.setDotsPerMeterY(encode::DotsPerMetre(bitmap.dpiY));
  out.clear();
  QBuffer buffer(&out);
  if (!buffer.open(QIODevice::WriteOnly)) return false;
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  return writer.write(bitmap.pixels);
}

}  // namespace korvanth::imaging
