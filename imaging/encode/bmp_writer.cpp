// BMP writer. Pictures with alpha keep it: a BITMAPV5HEADER with BI_BITFIELDS masks, alpha
// included, which both Windows and Qt read back with the alpha intact. Pictures without
// alpha are written as plain 24-bit BMP.
#include <cmath>
#include <cstring>

#include "imaging/encode/byte_writer.h"
#include "imaging/encode/writers.h"

namespace korvanth::imaging::encode {

int DotsPerMetre(float dpi) {
  const double value = std::round(static_cast<double>(dpi) / 0.0254);
  if (!(value > 0.0)) return 0;
  return value > 1.0e9 ? 1000000000 : static_cast<int>(value);
}

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kLcsSrgb = 0x73524742;  // 'sRGB'
constexpr std::uint32_t kLcsGmImages = 4;

}  // namespace

bool WriteBmp(const PixelRows& rows, std::vector<std::uint8_t>& out) {
  if (rows.width <= 0 || rows.height <= 0) return false;
  const bool withAlpha = rows.WithAlpha();
  const std::int64_t width = rows.width;
  const std::int64_t height = rows.height;
  const std::int64_t rowBytes = withAlpha ? width * 4 : (width * 3 + 3) & ~std::int64_t{3};
  const std::int64_t imageBytes = rowBytes * height;
  const std::uint32_t headerSize = withAlpha ? kV5HeaderSize : kInfoHeaderSize;
  const std::int64_t fileBytes = kFileHeaderSize + headerSize + imageBytes;
  if (fileBytes > 0xFFFFFFFFLL) return false;

  out.clear();
  out.reserve(static_cast<std::size_t>(fileBytes));
  ByteWriter w(out);
  w.U8('B');
  w.U8('M');
  w.U32(static_cast<std::uint32_t>(fileBytes));
  w.U32(0);
  w.U32(kFileHeaderSize + headerSize);

  w.U32(headerSize);
  w.U32(static_cast<std::uint32_t>(width));
  w.U32(static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
  w.U16(1);
  w.U16(withAlpha ? 32 : 24);
  w.U32(withAlpha ? kBiBitfields : kBiRgb);
  w.U32(static_cast<std::uint32_t>(imageBytes));
  w.U32(static_cast<std::uint32_t>(DotsPerMetre(rows.dpiX)));
  w.U32(static_cast<std::uint32_t>(DotsPerMetre(rows.dpiY)));
  w.U32(0);  // colours used
  w.U32(0);  // colours important
  if (withAlpha) {
    w.U32(0x00FF0000);
    w.U32(0x0000FF00);
    w.U32(0x000000FF);
    w.U32(0xFF000000);
    w.U32(kLcsSrgb);
    w.Zeros(36);  // endpoints, unused with sRGB
    w.Zeros(12);  // gamma, unused with sRGB
    w.U32(kLcsGmImages);
    w.U32(0);  // profile data
    w.U32(0);  // profile size
    w.U32(0);  // reserved
  }

  const std::size_t pixelStart = out.size();
  out.resize(static_cast<std::size_t>(fileBytes), 0);  // row padding stays zero
  std::uint8_t* data = out.data() + pixelStart;
  for (int y = 0; y < rows.height; ++y) {
    std::uint8_t* row = data + (height - 1 - y) * rowBytes;
    const std::uint8_t* src = rows.Row(y);
    if (withAlpha) {
      std::memcpy(row, src, static_cast<std::size_t>(width) * 4);
      continue;
    }
    for (int x = 0; x < rows.width; ++x, src += rows.bytesPerPixel, row += 3) {
      row[0] = src[0];
      row[1] = src[1];
      row[2] = src[2];
    }
  }
  return true;
}

}  // namespace korvanth::imaging::encode
