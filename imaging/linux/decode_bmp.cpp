// BMP (and its DIB and RLE spellings) read through the bounded file reader. The header
// was judged first (size, layout, memory); here the rows are unpacked into 32-bit pixels:
// palette pictures through their colour table, 16 and 32 bits through bit-field masks
// (a narrower field moved to the top bits), run-length pictures straight from their runs.
#include <algorithm>
#include <array>
#include <bit>
#include <new>
#include <vector>

#include "imaging/bmp_runs.h"
#include "imaging/byte_reader.h"
#include "imaging/picture_header.h"
#include "imaging/linux/picture_decoders.h"

namespace korvanth::imaging {

namespace {

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

// One colour channel of a packed pixel: where its bits lie and how to widen them to 8.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  static Channel Of(std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::countr_one(mask >> c.shift);
    return c;
  }
  std::uint32_t Extract(std::uint32_t packed) const {
    if (bits == 0) return 0;
    std::uint32_t v = (packed & mask) >> shift;
    return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
  }
};

struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  std::uint64_t pixelsAt = 0;
  std::array<Channel, 4> channels{};  // red, green, blue, alpha
  std::array<std::uint32_t, 256> palette{};
  std::int32_t pixelsPerMetreX = 0;
  std::int32_t pixelsPerMetreY = 0;

  bool alpha() const { return channels[3].mask != 0; }
  std::int64_t rowBytes() const { return (width * bits + 31) / 32 * 4; }
};

// Reads the headers and the colour table; false when they are cut short.
bool ReadLayout(FileReader& file, BmpLayout& layout) {
  std::vector<std::uint8_t> storage;
  if (!file.Seek(0) || !file.Read(18, storage)) return false;
  ByteReader head(storage);
  head.Skip(10);
  layout.pixelsAt = head.U32LE();
  const std::uint32_t infoSize = head.U32LE();
  if (infoSize < 12 || !file.Read(std::min<std::uint32_t>(infoSize, 124) - 4, storage))
    return false;
  ByteReader info(storage);
  std::uint32_t coloursUsed = 0;
  if (infoSize == 12) {
    layout.width = info.U16LE();
    layout.height = info.U16LE();
    info.Skip(2);
    layout.bits = info.U16LE();
  } else {
    layout.width = static_cast<std::int32_t>(info.U32LE());
    const std::int64_t height = static_cast<std::int32_t>(info.U32LE());
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    info.Skip(2);
    layout.bits = info.U16LE();
    if (infoSize >= 20) layout.compression = info.U32LE();
    if (infoSize >= 32) {
      info.Skip(4);
      layout.pixelsPerMetreX = static_cast<std::int32_t>(info.U32LE());
      layout.pixelsPerMetreY = static_cast<std::int32_t>(info.U32LE());
    }
    if (infoSize >= 36) coloursUsed = info.U32LE();
  }
  if (!info.ok()) return false;

  if (layout.compression == kBitFields) {
    // The masks end a long header, or follow a 40-byte one.
    std::array<std::uint32_t, 4> masks{};
    if (infoSize >= 52) {
      info.Seek(36);
      for (int i = 0; i < (infoSize >= 56 ? 4 : 3); ++i) masks[i] = info.U32LE();
    } else {
      if (!file.Read(12, storage)) return false;
      ByteReader extra(storage);
      for (int i = 0; i < 3; ++i) masks[i] = extra.U32LE();
    }
    if (!info.ok()) return false;
    for (int i = 0; i < 4; ++i) layout.channels[i] = Channel::Of(masks[i]);
  } else if (layout.bits == 16) {
    layout.channels = {Channel::Of(0x7C00), Channel::Of(0x03E0), Channel::Of(0x001F), Channel{}};
  } else {
    layout.channels = {Channel::Of(0xFF0000), Channel::Of(0xFF00), Channel::Of(0xFF), Channel{}};
    // A version 4 or 5 header names the alpha bits of plain 32-bit pixels too.
    if (layout.bits == 32 && infoSize >= 56) {
      info.Seek(48);
      layout.channels[3] = Channel::Of(info.U32LE());
      if (!info.ok()) return false;
    }
  }

  if (layout.bits <= 8) {
    const std::uint32_t entrySize = infoSize == 12 ? 3 : 4;
    const std::uint32_t most = 1u << layout.bits;
    const std::uint32_t count = coloursUsed == 0 || coloursUsed > most ? most : coloursUsed;
    if (!file.Seek(14 + std::uint64_t{infoSize}) || !file.Read(count * entrySize, storage))
      return false;
    ByteReader table(storage);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint32_t blue = table.U8(), green = table.U8(), red = table.U8();
      if (entrySize == 4) table.U8();
      layout.palette[i] = 0xFF000000u | red << 16 | green << 8 | blue;
    }
    for (std::uint32_t i = count; i < 256; ++i) layout.palette[i] = 0xFF000000u;
  }
  return true;
}

std::uint32_t Packed(const BmpLayout& layout, std::uint32_t value) {
  const std::uint32_t alpha = layout.alpha() ? layout.channels[3].Extract(value) : 0xFF;
  return alpha << 24 | layout.channels[0].Extract(value) << 16 |
         layout.channels[1].Extract(value) << 8 | layout.channels[2].Extract(value);
}

// One stored row of an uncompressed picture into 32-bit pixels.
void UnpackRow(const BmpLayout& layout, const std::uint8_t* in, std::uint32_t* out) {
  const std::int64_t width = layout.width;
  switch (layout.bits) {
    case 1:
    case 4:
    case 8: {
      const int bits = static_cast<int>(layout.bits);
      const int perByte = 8 / bits;
      const std::uint32_t mask = (1u << bits) - 1;
      for (std::int64_t x = 0; x < width; ++x) {
        const int shift = 8 - bits * (static_cast<int>(x % perByte) + 1);
        out[x] = layout.palette[(in[x / perByte] >> shift) & mask];
      }
      break;
    }
    case 16:
      for (std::int64_t x = 0; x < width; ++x)
        out[x] = Packed(layout, std::uint32_t{in[2 * x]} | std::uint32_t{in[2 * x + 1]} << 8);
      break;
    case 24:
      for (std::int64_t x = 0; x < width; ++x, in += 3)
        out[x] = 0xFF000000u | std::uint32_t{in[2]} << 16 | std::uint32_t{in[1]} << 8 | in[0];
      break;
    default:
      for (std::int64_t x = 0; x < width; ++x, in += 4)
        out[x] = Packed(layout, std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 |
                                    std::uint32_t{in[2]} << 16 | std::uint32_t{in[3]} << 24);
      break;
  }
}

// Stored row `stored` (bottom first unless top-down) as a picture row.
std::int64_t PictureRow(const BmpLayout& layout, std::int64_t stored) {
  return layout.topDown ? stored : layout.height - 1 - stored;
}

bool ReadPlainRows(FileReader& file, const BmpLayout& layout, std::int64_t firstRow,
                   std::int64_t endRow, PixelImage& pixels) {
  std::vector<std::uint8_t> row;
  const std::int64_t rowBytes = layout.rowBytes();
  for (std::int64_t y = firstRow; y < endRow; ++y) {
    const std::int64_t stored = PictureRow(layout, y);
    if (!file.Seek(layout.pixelsAt + static_cast<std::uint64_t>(stored * rowBytes)) ||
        !file.Read(static_cast<std::size_t>(rowBytes), row))
      return false;
    UnpackRow(layout, row.data(), reinterpret_cast<std::uint32_t*>(pixels.row(y - firstRow)));
  }
  return true;
}

// Run-length data straight into the picture rows [firstRow, endRow); pixels the runs
// never reach keep the first colour. Runs cut short by the end of the file leave the
// picture damaged (bmp_runs.h).
class RowsFromRuns {
 public:
  RowsFromRuns(const BmpLayout& layout, std::int64_t firstRow, std::int64_t endRow,
               PixelImage& pixels)
      : layout_(layout), firstRow_(firstRow), endRow_(endRow), pixels_(pixels) {}
  void Row(std::int64_t stored) {
    const std::int64_t y = stored < layout_.height ? PictureRow(layout_, stored) : -1;
    row_ = y >= firstRow_ && y < endRow_
               ? reinterpret_cast<std::uint32_t*>(pixels_.row(y - firstRow_))
               : nullptr;
  }
  void Pixel(std::int64_t x, std::uint32_t index) {
    if (row_ != nullptr && x < layout_.width) row_[x] = layout_.palette[index];
  }

 private:
  const BmpLayout& layout_;
  std::int64_t firstRow_;
  std::int64_t endRow_;
  PixelImage& pixels_;
  std::uint32_t* row_ = nullptr;
};

bool ReadRunRows(FileReader& file, const BmpLayout& layout, std::int64_t firstRow,
                 std::int64_t endRow, PixelImage& pixels) {
  FillPixels(pixels, layout.palette[0]);
  if (!file.Seek(layout.pixelsAt)) return false;
  ByteStream bytes(file);
  RowsFromRuns rows(layout, firstRow, endRow, pixels);
  return WalkBmpRuns(bytes, layout.compression == kRle4, layout.height, rows);
}

}  // namespace

Gdiplus::GpStatus DecodeBmp(std::FILE* file, DecodedPicture& out, const RowBand& asked) {
  const PictureHeader header = ReadPictureHeader(file);
  if (header.verdict == HeaderVerdict::TooLarge) return Gdiplus::ValueOverflow;
  if (header.verdict != HeaderVerdict::Fits) return Gdiplus::GenericError;
  FileReader reader(file);
  BmpLayout layout;
  if (!ReadLayout(reader, layout)) return Gdiplus::GenericError;
  if (layout.width != header.needs.width || layout.height != header.needs.height)
    return Gdiplus::GenericError;
  const bool runs = layout.compression == kRle8 || layout.compression == kRle4;
  // A plain picture must hold every row its header declares, even those not asked for.
  if (!runs && reader.size() <
                   layout.pixelsAt + static_cast<std::uint64_t>(layout.rowBytes() * layout.height))
    return Gdiplus::GenericError;

  const RowBand band = asked.ClampedTo(layout.height);
  out.pixels = AllocatePicture(layout.width, band.count, layout.alpha());
  if (out.pixels.isNull()) return Gdiplus::OutOfMemory;
  out.firstRow = band.first;
  out.pictureHeight = layout.height;
  try {
    const bool read = runs ? ReadRunRows(reader, layout, band.first, band.end(), out.pixels)
                           : ReadPlainRows(reader, layout, band.first, band.end(), out.pixels);
    if (!read) return Gdiplus::GenericError;
  } catch (const std::bad_alloc&) {
    return Gdiplus::OutOfMemory;
  }
  if (layout.pixelsPerMetreX > 0) out.dpiX = DpiFromDensity(layout.pixelsPerMetreX, 0.0254);
  if (layout.pixelsPerMetreY > 0) out.dpiY = DpiFromDensity(layout.pixelsPerMetreY, 0.0254);
  return Gdiplus::Ok;
}

}  // namespace korvanth::imaging
