// BMP (and its DIB and RLE spellings) through Qt's built-in reader, which is told the
// format so that no other reader is ever asked. Qt's messages are held back meanwhile.
#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "imaging/picture_header.h"
#include "imaging/portable/picture_decoders.h"

namespace korvanth::imaging {

namespace {

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Qt's readers report odd data as messages on standard error; a load says nothing.
class QuietQt {
 public:
  QuietQt() : previous_(qInstallMessageHandler(DropMessage)) {}
  ~QuietQt() { qInstallMessageHandler(previous_); }
  QuietQt(const QuietQt&) = delete;
  QuietQt& operator=(const QuietQt&) = delete;

 private:
  QtMessageHandler previous_;
};

}  // namespace

Gdiplus::GpStatus DecodeBmp(std::FILE* file, DecodedPicture& out) {
  const PictureHeader header = ReadPictureHeader(file);
  if (header.verdict == HeaderVerdict::TooLarge) return Gdiplus::ValueOverflow;
  if (header.verdict != HeaderVerdict::Fits) return Gdiplus::GenericError;
  std::rewind(file);

  QFile device;
  if (!device.open(file, QIODevice::ReadOnly)) return Gdiplus::Win32Error;
  QuietQt quiet;
  QImageReader reader(&device, "bmp");
  reader.setAutoTransform(false);
  reader.setAllocationLimit(static_cast<int>(kMaxPictureBytes >> 20));
  QImage image;
  if (!reader.read(&image) || image.isNull()) return Gdiplus::GenericError;
  if (image.width() != header.needs.width || image.height() != header.needs.height)
    return Gdiplus::GenericError;

  const QImage::Format wanted =
      image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() != wanted) {
    image.convertTo(wanted);
    if (image.isNull() || image.format() != wanted) return Gdiplus::OutOfMemory;
  }
  // Pixels per metre. Without a recorded value Qt leaves its own default density, which
  // reads as "none recorded".
  const QImage fresh(1, 1, QImage::Format_Mono);
  if (image.dotsPerMeterX() != fresh.dotsPerMeterX())
    out.dpiX = DpiFromDensity(image.dotsPerMeterX(), 0.0254);
  if (image.dotsPerMeterY() != fresh.dotsPerMeterY())
    out.dpiY = DpiFromDensity(image.dotsPerMeterY(), 0.0254);
  out.pixels = std::move(image);
  return Gdiplus::Ok;
}

}  // namespace korvanth::imaging
