// GIF89a writer: one image with a global palette, a graphic control extension naming the
// transparent index when there is one, LZW image data in sub-blocks.
#include <algorithm>
#include <new>

#include "imaging/encode/byte_writer.h"
#include "imaging/encode/gif_palette.h"
#include "imaging/encode/lzw.h"
#include "imaging/encode/writers.h"

namespace korvanth::imaging::encode {

namespace {

// The palette's size as a power of two, 2^bits with 1 <= bits <= 8.
int PaletteBits(std::size_t colours) {
  int bits = 1;
  while ((std::size_t{1} << bits) < colours) ++bits;
  return bits;
}

void WriteFile(int width, int height, const IndexedPicture& picture,
               std::vector<std::uint8_t>& out) {
  const int bits = PaletteBits(picture.colours.size());
  out.clear();
  ByteWriter w(out);
  for (char c : {'G', 'I', 'F', '8', '9', 'a'}) w.U8(static_cast<std::uint8_t>(c));
  w.U16(static_cast<std::uint16_t>(width));
  w.U16(static_cast<std::uint16_t>(height));
  // Global palette present, 8 bits of colour resolution, palette size.
  w.U8(static_cast<std::uint8_t>(0x80 | 7 << 4 | (bits - 1)));
  w.U8(0);  // background index
  w.U8(0);  // pixel aspect ratio: none given
  for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
    const std::uint32_t rgb = i < picture.colours.size() ? picture.colours[i] : 0;
    w.U8(static_cast<std::uint8_t>(rgb >> 16));
    w.U8(static_cast<std::uint8_t>(rgb >> 8));
    w.U8(static_cast<std::uint8_t>(rgb));
  }
  if (picture.transparent >= 0) {
    w.U8(0x21);  // extension
    w.U8(0xF9);  // graphic control
    w.U8(4);
    w.U8(0x01);  // no disposal given, no user input, transparent index present
    w.U16(0);    // no delay
    w.U8(static_cast<std::uint8_t>(picture.transparent));
    w.U8(0);
  }
  w.U8(0x2C);  // image descriptor
  w.U16(0);
  w.U16(0);
  w.U16(static_cast<std::uint16_t>(width));
  w.U16(static_cast<std::uint16_t>(height));
  w.U8(0);  // no local palette, not interlaced

  const int minCodeSize = std::max(2, bits);
  w.U8(static_cast<std::uint8_t>(minCodeSize));
  // The codes take at most 12 bits an index, with a clear code every 4000 or so; reserved
  // whole, and the file beside them once their size is known, neither grows by copying.
  std::vector<std::uint8_t> codes;
  const std::size_t count = picture.indices.size();
  codes.reserve(count / 2 * 3 + count / 1024 + 16);
  LzwCompress(picture.indices.data(), count, minCodeSize, codes);
  out.reserve(out.size() + codes.size() + codes.size() / 255 + 4);
  for (std::size_t at = 0; at < codes.size(); at += 255) {
    const std::size_t length = std::min<std::size_t>(255, codes.size() - at);
    w.U8(static_cast<std::uint8_t>(length));
    out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
               codes.begin() + static_cast<std::ptrdiff_t>(at + length));
  }
  w.U8(0);     // end of the image data
  w.U8(0x3B);  // trailer
}

}  // namespace

bool WriteGif(const PixelRows& rows, std::vector<std::uint8_t>& out) {
  // The logical screen holds 16-bit sizes.
  if (rows.width <= 0 || rows.height <= 0 || rows.width > 0xFFFF || rows.height > 0xFFFF)
    return false;
  try {
    IndexedPicture picture;
    if (!ExactPalette(rows, picture)) QuantizedPalette(rows, picture);
    WriteFile(rows.width, rows.height, picture, out);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace korvanth::imaging::encode
