// PNG and JPEG through Qt's writers, into memory.
#include <QBuffer>
#include <QImageWriter>

#include "imaging/portable/encoders.h"

namespace korvanth::imaging {

bool EncodeWithQt(PortableBitmap& bitmap, const char* format, int quality, QByteArray& out) {
  // Set on the stored pixels themselves: a copy would have to detach the whole picture.
  bitmap.pixels.setDotsPerMeterX(DotsPerMetre(bitmap.dpiX));
  bitmap.pixels.setDotsPerMeterY(DotsPerMetre(bitmap.dpiY));
  out.clear();
  QBuffer buffer(&out);
  if (!buffer.open(QIODevice::WriteOnly)) return false;
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  return writer.write(bitmap.pixels);
}

}  // namespace korvanth::imaging
