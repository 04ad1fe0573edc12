// JPEG's DHT segments read into Huffman tables with fast lookups, refused as libjpeg would.
#include "imaging/jpeg_entropy.h"

namespace korvanth::imaging {

namespace {

// One table of a DHT segment, its class and number already read.
bool ReadTable(ByteReader& segment, bool dc, HuffmanTable& table) {
  std::array<std::uint32_t, 17> counts{};
  std::uint32_t total = 0;
  for (int length = 1; length <= 16; ++length) total += counts[length] = segment.U8();
  if (!segment.ok() || total > 256) return false;
  const std::span<const std::uint8_t> symbols = segment.Bytes(total);
  if (!segment.ok()) return false;
  table = HuffmanTable{};
  std::int32_t code = 0;
  std::int32_t index = 0;
  for (int length = 1; length <= 16; ++length) {
    table.offset[length] = index - code;
    for (std::uint32_t i = 0; i < counts[length]; ++i, ++code, ++index) {
      if (code >= (1 << length) - 1 || (dc && symbols[index] > 15)) return false;
      table.symbols[index] = symbols[index];
      if (length <= HuffmanTable::kFastBits) {
        const int spread = HuffmanTable::kFastBits - length;
        for (int fill = 0; fill < (1 << spread); ++fill) {
          table.fastLength[(code << spread) | fill] = static_cast<std::uint8_t>(length);
          table.fastSymbol[(code << spread) | fill] = symbols[index];
        }
      }
    }
    table.maxCode[length] = counts[length] > 0 ? code - 1 : -1;
    code <<= 1;
  }
  table.defined = true;
  return true;
}

}  // namespace

bool ReadHuffmanTables(ByteReader& segment, HuffmanTables& tables, bool onlyUndefined) {
  while (segment.remaining() > 0) {
    const std::uint32_t which = segment.U8();
    if ((which >> 4) > 1 || (which & 15) > 3) return false;
    const bool dc = (which >> 4) == 0;
    HuffmanTable& slot = (dc ? tables.dc : tables.ac)[which & 15];
    HuffmanTable read;
    if (!ReadTable(segment, dc, read)) return false;
    if (!onlyUndefined || !slot.defined) slot = read;
  }
  return true;
}

}  // namespace korvanth::imaging
