// TIFF writer: one uncompressed strip, 8 bits a sample, RGB or RGBA with unassociated
// alpha, so translucent pixels keep their exact colour.
#include <cmath>

#include "imaging/encode/byte_writer.h"
#include "imaging/encode/writers.h"

namespace korvanth::imaging::encode {

namespace {

enum : std::uint16_t { kShort = 3, kLong = 4, kRational = 5 };

struct Entry {
  std::uint16_t tag;
  std::uint16_t type;
  std::uint32_t count;
  std::uint32_t value;  // the value itself, or an offset for data over four bytes
};

// Resolution as a rational with four decimals of a dot per inch.
void Rational(ByteWriter& w, float dpi) {
  const double scaled = std::round(static_cast<double>(dpi) * 10000.0);
  const std::uint32_t numerator =
      scaled > 4.0e9 ? 4000000000u : static_cast<std::uint32_t>(scaled > 1.0 ? scaled : 1.0);
  w.U32(numerator);
  w.U32(10000);
}

}  // namespace

bool WriteTiff(const PixelRows& rows, std::vector<std::uint8_t>& out) {
  if (rows.width <= 0 || rows.height <= 0) return false;
  const bool withAlpha = rows.WithAlpha();
  const std::uint16_t samples = withAlpha ? 4 : 3;
  const std::int64_t width = rows.width;
  const std::int64_t height = rows.height;
  const std::int64_t stripBytes = width * height * samples;

  const int entryCount = withAlpha ? 14 : 13;
  const std::uint32_t ifdOffset = 8;
  const std::uint32_t ifdBytes = 2 + 12 * entryCount + 4;
  const std::uint32_t bitsOffset = ifdOffset + ifdBytes;
  const std::uint32_t xResOffset = bitsOffset + 8;
  const std::uint32_t yResOffset = xResOffset + 8;
  const std::uint32_t dataOffset = yResOffset + 8;
  const std::int64_t fileBytes = dataOffset + stripBytes;
  if (fileBytes > 0xFFFFFFFFLL) return false;

  const Entry entries[] = {
      {256, kLong, 1, static_cast<std::uint32_t>(width)},
      {257, kLong, 1, static_cast<std::uint32_t>(height)},
      {258, kShort, samples, bitsOffset},  // BitsPerSample, 8 each
      {259, kShort, 1, 1},                 // no compression
      {262, kShort, 1, 2},                 // RGB
      {273, kLong, 1, dataOffset},
      {277, kShort, 1, samples},
      {278, kLong, 1, static_cast<std::uint32_t>(height)},
      {279, kLong, 1, static_cast<std::uint32_t>(stripBytes)},
      {282, kRational, 1, xResOffset},
      {283, kRational, 1, yResOffset},
      {284, kShort, 1, 1},  // chunky samples
      {296, kShort, 1, 2},  // resolution in inches
      {338, kShort, 1, 2},  // ExtraSamples: unassociated alpha
  };

  out.clear();
  out.reserve(static_cast<std::size_t>(fileBytes));
  ByteWriter w(out);
  w.U8('I');
  w.U8('I');
  w.U16(42);
  w.U32(ifdOffset);
  w.U16(static_cast<std::uint16_t>(entryCount));
  for (int i = 0; i < entryCount; ++i) {
    const Entry& e = entries[i];
    w.U16(e.tag);
    w.U16(e.type);
    w.U32(e.count);
    if (e.type == kShort && e.count == 1) {
      w.U16(static_cast<std::uint16_t>(e.value));  // left-justified in the field
      w.U16(0);
    } else {
      w.U32(e.value);
    }
  }
  w.U32(0);  // no further image
  for (int i = 0; i < 4; ++i) w.U16(i < samples ? 8 : 0);
  Rational(w, rows.dpiX);
  Rational(w, rows.dpiY);

  const std::size_t start = out.size();
  out.resize(static_cast<std::size_t>(fileBytes));
  std::uint8_t* dst = out.data() + start;
  for (int y = 0; y < rows.height; ++y) {
    const std::uint8_t* src = rows.Row(y);
    for (int x = 0; x < rows.width; ++x, src += rows.bytesPerPixel) {
      // Stored B,G,R(,A); TIFF wants R,G,B(,A).
      *dst++ = src[2];
      *dst++ = src[1];
      *dst++ = src[0];
      if (withAlpha) *dst++ = src[3];
    }
  }
  return true;
}

}  // namespace korvanth::imaging::encode
