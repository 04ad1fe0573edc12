// The entropy-coded side of JPEG, for the check that walks a picture's scans
// (jpeg_scans.cpp): Huffman tables as DHT segments define them, and the bits of a scan's
// data up to the marker that ends it.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/byte_reader.h"

namespace korvanth::imaging {

// A Huffman table as JPEG defines it (Annex C): the number of codes of each length 1-16
// and their symbols, codes given in order of length.
struct HuffmanTable {
  bool defined = false;
  std::array<std::int32_t, 17> maxCode{};  // the last code of each length, -1 for none
  std::array<std::int32_t, 17> offset{};   // code + offset[length] indexes `symbols`
  std::array<std::uint8_t, 256> symbols{};
  // The codes of up to kFastBits bits, looked up by the next kFastBits bits: length and
  // symbol (length 0: a longer code).
  static constexpr int kFastBits = 10;
  std::array<std::uint8_t, 1 << kFastBits> fastLength{};
  std::array<std::uint8_t, 1 << kFastBits> fastSymbol{};
};

struct HuffmanTables {
  std::array<HuffmanTable, 4> dc;
  std::array<HuffmanTable, 4> ac;
};

// The tables of a DHT segment's payload (false for one libjpeg refuses: more than 256
// codes, more codes of a length than it has, the all-ones code among them, a DC symbol
// above 15). With `onlyUndefined`, a table already defined is kept.
bool ReadHuffmanTables(ByteReader& segment, HuffmanTables& tables, bool onlyUndefined);

// The bits of a scan's entropy-coded data: FF 00 is a data byte FF, FF before any other
// byte a marker that ends the data.
class ScanBits {
 public:
  explicit ScanBits(ByteStream& bytes) : bytes_(bytes) {}

  bool ended() const { return ended_; }
  // The marker that ended the data; -1 for the end of the file.
  int marker() const { return marker_; }

  // Steps past `count` bits (at most 16); false when the data holds fewer.
  bool Skip(int count) {
    if (held_ < count && !Fill(count)) return false;
    held_ -= count;
    return true;
  }
  // The next `count` bits (at most 16) as a number; -1 when the data holds fewer.
  std::int32_t Get(int count) {
    if (held_ < count && !Fill(count)) return -1;
    held_ -= count;
    return static_cast<std::int32_t>((buffer_ >> held_) & ((1u << count) - 1));
  }
  // The next symbol; -1 for a code the table does not hold, or data that stops in it.
  int Decode(const HuffmanTable& table) {
    if (held_ < 16) Fill(16);
    int length = 1;
    if (held_ >= HuffmanTable::kFastBits) {
      const auto look = static_cast<std::uint32_t>(buffer_ >> (held_ - HuffmanTable::kFastBits)) &
                        ((1u << HuffmanTable::kFastBits) - 1);
      if (const int fast = table.fastLength[look]; fast > 0) {
        held_ -= fast;
        return table.fastSymbol[look];
      }
      length = HuffmanTable::kFastBits + 1;  // every shorter code is in the fast table
    }
    for (; length <= 16 && length <= held_; ++length) {
      const auto code =
          static_cast<std::int32_t>((buffer_ >> (held_ - length)) & ((1u << length) - 1));
      if (code <= table.maxCode[length]) {
        held_ -= length;
        return table.symbols[static_cast<std::size_t>(code + table.offset[length])];
      }
    }
    return -1;
  }
  // Ends the data where it stands: the bits of the last byte are padding, and anything up
  // to the next marker left over.
  void SkipToMarker() {
    held_ = 0;
    while (Load()) held_ = 0;
  }
  // Data again after a restart marker.
  void Restart() {
    held_ = 0;
    ended_ = false;
  }

 private:
  // Loads whole bytes until `count` bits are held, and then as many as the buffer takes;
  // false when the data ends first.
  bool Fill(int count) {
    while (held_ <= 56)
      if (!Load()) return held_ >= count;
    return true;
  }
  bool Load() {
    if (ended_) return false;
    int c = bytes_.Next();
    if (c == 0xFF) {
      do c = bytes_.Next();
      while (c == 0xFF);
      if (c != 0) {
        ended_ = true;
        marker_ = c;
        return false;
      }
      c = 0xFF;
    }
    if (c < 0) {
      ended_ = true;
      marker_ = -1;
      return false;
    }
    buffer_ = (buffer_ << 8) | static_cast<std::uint64_t>(c);
    held_ += 8;
    return true;
  }

  ByteStream& bytes_;
  std::uint64_t buffer_ = 0;
  int held_ = 0;
  bool ended_ = false;
  int marker_ = -1;
};

}  // namespace korvanth::imaging
