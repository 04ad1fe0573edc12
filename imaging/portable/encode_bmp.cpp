// BMP writer. 32-bit bitmaps keep their alpha: a BITMAPV5HEADER with BI_BITFIELDS masks,
// alpha included, which both Windows and Qt read back with the alpha intact. Bitmaps
// without alpha are written as plain 24-bit BMP.
#include <cmath>

#include "imaging/portable/byte_writer.h"
#include "imaging/portable/compositing.h"
#include "imaging/portable/encoders.h"

namespace korvanth::imaging {

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

bool EncodeBmp(const PortableBitmap& bitmap, QByteArray& out) {
  const QImage& pixels = bitmap.pixels;
  const std::optional<Layout> layout = LayoutOf(pixels.format());
  if (!layout) return false;
  const bool withAlpha = *layout == Layout::Argb32;
  const std::int64_t width = pixels.width();
  const std::int64_t height = pixels.height();
  const std::int64_t rowBytes = withAlpha ? width * 4 : (width * 3 + 3) & ~std::int64_t{3};
  const std::int64_t imageBytes = rowBytes * height;
  const std::uint32_t headerSize = withAlpha ? kV5HeaderSize : kInfoHeaderSize;
  const std::int64_t fileBytes = kFileHeaderSize + headerSize + imageBytes;
  if (fileBytes > 0xFFFFFFFFLL) return false;

  out.clear();
  out.reserve(static_cast<qsizetype>(fileBytes));
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
  w.U32(static_cast<std::uint32_t>(DotsPerMetre(bitmap.dpiX)));
  w.U32(static_cast<std::uint32_t>(DotsPerMetre(bitmap.dpiY)));
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

  const qsizetype pixelStart = out.size();
  out.resize(static_cast<qsizetype>(fileBytes));
  auto* data = reinterpret_cast<std::uint8_t*>(out.data()) + pixelStart;
  const Layout fileLayout = withAlpha ? Layout::Argb32 : Layout::Bgr24;
  for (std::int64_t y = 0; y < height; ++y) {
    std::uint8_t* row = data + (height - 1 - y) * rowBytes;
    ConvertRow(fileLayout, row, *layout, pixels.constScanLine(static_cast<int>(y)), width);
    // Row padding of the 24-bit form stays zero.
    for (std::int64_t i = width * BytesPerPixel(fileLayout); i < rowBytes; ++i) row[i] = 0;
  }
  return true;
}

}  // namespace korvanth::imaging
