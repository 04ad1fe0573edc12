// PNG and JPEG through Qt's writers, into memory; the bitmap's rows for the others.
#include <QBuffer>
#include <QImageWriter>

#include "imaging/encode/writers.h"
#include "imaging/portable/compositing.h"
#include "imaging/portable/encoders.h"

namespace korvanth::imaging {

std::optional<encode::PixelRows> RowsOf(const PortableBitmap& bitmap) {
  if (bitmap.pixels.isNull()) return std::nullopt;
  encode::PixelRows rows;
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

bool EncodeWithQt(PortableBitmap& bitmap, const char* format, int quality, QByteArray& out) {
  const PixelImage& pixels = bitmap.pixels;
  const QImage::Format qtFormat = pixels.layout() == Layout::Argb32  ? QImage::Format_ARGB32
                                  : pixels.layout() == Layout::Rgb32 ? QImage::Format_RGB32
                                                                     : QImage::Format_BGR888;
  QImage image(pixels.bits(), static_cast<int>(pixels.width()), static_cast<int>(pixels.height()),
               pixels.stride(), qtFormat);
  image.setDotsPerMeterX(encode::DotsPerMetre(bitmap.dpiX));
  image.setDotsPerMeterY(encode::DotsPerMetre(bitmap.dpiY));
  out.clear();
  QBuffer buffer(&out);
  if (!buffer.open(QIODevice::WriteOnly)) return false;
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  return writer.write(image);
}

}  // namespace korvanth::imaging
