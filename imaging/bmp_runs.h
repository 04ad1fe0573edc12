// Run-length BMP data (RLE8, and RLE4 with two indices a byte) walked code by code: the
// one reading of the runs, for the check every loader runs before decoding and for the
// decoder that fills the rows from them.
#pragma once

#include <cstdint>

#include "imaging/byte_reader.h"

namespace korvanth::imaging {

// Walks the runs from the stream's position. `sink.Row(stored)` is told each stored row
// the runs move to (0 first, the bottom row unless the picture is stored top-down), and
// `sink.Pixel(x, index)` each palette index a run gives, x counting on past the row's
// width where a run reaches beyond it. True when the data ends itself, with the
// end-of-picture code or at the end of its last row, before the file does: runs cut
// short leave the rest of the picture unknown, so the picture is damaged.
template <typename Sink>
bool WalkBmpRuns(ByteStream& bytes, bool fourBits, std::int64_t height, Sink& sink) {
  std::int64_t x = 0;
  std::int64_t stored = 0;
  auto index = [fourBits](int byte, int i) {
    return static_cast<std::uint32_t>(!fourBits ? byte : i % 2 == 0 ? byte >> 4 : byte & 0xF);
  };
  sink.Row(0);
  while (stored < height) {
    const int count = bytes.Next();
    const int value = bytes.Next();
    if (count < 0 || value < 0) return false;
    if (count > 0) {  // `count` pixels of one byte's index (two alternating ones in RLE4)
      for (int i = 0; i < count; ++i) sink.Pixel(x++, index(value, i));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      sink.Row(++stored);
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // move right and up
      const int dx = bytes.Next();
      const int dy = bytes.Next();
      if (dx < 0 || dy < 0) return false;
      x += dx;
      stored += dy;
      sink.Row(stored);
    } else {  // `value` literal indices, padded to a whole number of 16-bit words
      const int literalBytes = fourBits ? (value + 1) / 2 : value;
      int byte = 0;
      for (int i = 0; i < value; ++i) {
        if (!fourBits || i % 2 == 0) byte = bytes.Next();
        if (byte < 0) return false;
        sink.Pixel(x++, index(byte, i));
      }
      if (literalBytes % 2 != 0 && bytes.Next() < 0) return false;
    }
  }
  return true;
}

}  // namespace korvanth::imaging
