// BMP (and its DIB and RLE spellings) through Qt's built-in reader, which is told the
// format so that no other reader is ever asked. Qt's messages are held back meanwhile.
#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <vector>

#include "imaging/byte_reader.h"
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

// Qt gives back a picture cut short as if it were whole; an uncompressed file must hold
// every row its header declares.
bool HoldsEveryRow(std::FILE* file, const DecodeNeeds& needs) {
  FileReader reader(file);
  std::vector<std::uint8_t> storage;
  // The file header and the fields read of the information header: an OS/2 one of 12
  // bytes holds no compression, nor does one of 16.
  if (!reader.Seek(0) || !reader.Read(std::min<std::uint64_t>(reader.size(), 34), storage))
    return false;
  ByteReader head(storage);
  head.Skip(10);
  const std::uint32_t pixelsAt = head.U32LE();
  const std::uint32_t infoSize = head.U32LE();
  head.Skip(infoSize == 12 ? 6 : 10);
  const std::uint32_t bits = head.U16LE();
  const std::uint32_t compression = infoSize >= 20 ? head.U32LE() : 0;
  if (!head.ok()) return false;
  if (compression != 0 && compression != 3) return true;  // run-length data ends itself
  // The header was judged to fit: width and height are below 2^30, bits below 2^16.
  const std::int64_t rowBytes = (needs.width * bits + 31) / 32 * 4;
  return reader.size() >= pixelsAt + static_cast<std::uint64_t>(rowBytes * needs.height);
}
}  // namespace

Gdiplus::GpStatus DecodeBmp(std::FILE* file, DecodedPicture& out) {
  const PictureHeader header = ReadPictureHeader(file);
  if (header.verdict == HeaderVerdict::TooLarge) return Gdiplus::ValueOverflow;
  if (header.verdict != HeaderVerdict::Fits) return Gdiplus::GenericError;
  if (!HoldsEveryRow(file, header.needs)) return Gdiplus::GenericError;
  std::rewind(file);

  QFile device;
  if (!device.open(file, QIODevice::ReadOnly)) return Gdiplus::Win32Error;
  QuietQt quiet;
  QImageReader reader(&device, "bmp");
  reader.setAutoDetectImageFormat(false);  // never another reader, whatever the bytes
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
