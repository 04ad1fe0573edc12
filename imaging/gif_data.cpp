// GIF data walked as giflib reads it, every frame to the trailer (the Windows decoder
// reads every frame, ours only the first): the LZW codes of each frame must give all its
// pixels. Only the lengths of the codes' strings are kept, never the pixels.
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/picture_data.h"

namespace korvanth::imaging {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

// Skips sub-blocks (a length byte, then that many bytes) up to the empty one.
bool SkipSubBlocks(ByteStream& bytes) {
  for (;;) {
    const int size = bytes.Next();
    if (size < 0) return false;
    if (size == 0) return true;
    if (!bytes.Skip(static_cast<std::uint64_t>(size))) return false;
  }
}

// The codes of one frame, least significant bit first, across its sub-blocks.
class CodeReader {
 public:
  explicit CodeReader(ByteStream& bytes) : bytes_(bytes) {}
  // The next code of `bits` bits; -1 when the sub-blocks (or the file) end first.
  int Next(int bits) {
    while (held_ < bits) {
      if (blockLeft_ == 0) {
        blockLeft_ = bytes_.Next();
        if (blockLeft_ <= 0) return -1;
      }
      const int byte = bytes_.Next();
      if (byte < 0) return -1;
      --blockLeft_;
      buffer_ |= static_cast<std::uint32_t>(byte) << held_;
      held_ += 8;
    }
    const int code = static_cast<int>(buffer_ & ((1u << bits) - 1));
    buffer_ >>= bits;
    held_ -= bits;
    return code;
  }
  // Past the rest of the frame's sub-blocks.
  bool SkipRest() {
    return bytes_.Skip(static_cast<std::uint64_t>(blockLeft_)) && SkipSubBlocks(bytes_);
  }

 private:
  ByteStream& bytes_;
  int blockLeft_ = 0;
  std::uint32_t buffer_ = 0;
  int held_ = 0;
};

// The LZW data of a frame of `pixels` pixels, from its code size byte. The table grows
// and the code width widens as giflib's do; a code the table does not hold yet (other
// than the one it is about to), an end code before the last pixel and data that stops
// early are damage.
bool FrameIsWhole(ByteStream& bytes, std::int64_t pixels) {
  const int codeSize = bytes.Next();
  if (codeSize < 0 || codeSize > 8) return false;  // giflib refuses wider ones
  const int clear = 1 << codeSize;
  const int end = clear + 1;
  std::array<std::int32_t, kTableSize> length{};  // 0: no such code yet
  int next = 0, bits = 0, widthLimit = 0, last = -1;
  auto restart = [&] {
    for (int code = end + 1; code < kTableSize; ++code) length[code] = 0;
    next = end + 1;  // giflib's RunningCode: two past the code the next string takes
    bits = codeSize + 1;
    widthLimit = 1 << bits;
    last = -1;
  };
  restart();
  for (int code = 0; code < clear; ++code) length[code] = 1;
  CodeReader codes(bytes);
  while (pixels > 0) {
    const int code = codes.Next(bits);
    if (code < 0) return false;
    if (next < kTableSize + 1 && ++next > widthLimit && bits < kMaxCodeBits) {
      widthLimit <<= 1;
      ++bits;
    }
    if (code == end) return false;
    if (code == clear) {
      restart();
      continue;
    }
    std::int32_t size = length[code];
    if (size == 0) {
      // Only the code about to be made: the last string and its own first pixel.
      if (code != next - 2 || last < 0) return false;
      size = length[last] + 1;
    }
    if (last >= 0 && next - 2 < kTableSize && length[next - 2] == 0)
      length[next - 2] = length[last] + 1;
    last = code;
    pixels -= size;
  }
  return codes.SkipRest();
}

}  // namespace

bool GifDataIsWhole(FileReader& file) {
  if (!file.Seek(0)) return false;
  ByteStream bytes(file);
  std::vector<std::uint8_t> storage;
  if (!bytes.Read(13, storage)) return false;
  const std::uint32_t screenFlags = storage[10];
  if ((screenFlags & 0x80) != 0 && !bytes.Skip(3u << ((screenFlags & 7) + 1))) return false;
  for (;;) {
    switch (bytes.Next()) {
      case 0x3B:  // trailer
        return true;
      case 0x21:  // extension: its label, then sub-blocks
        if (bytes.Next() < 0 || !SkipSubBlocks(bytes)) return false;
        break;
      case 0x2C: {  // frame
        if (!bytes.Read(9, storage)) return false;
        ByteReader frame(storage);
        frame.Skip(4);
        const std::int64_t width = frame.U16LE();
        const std::int64_t height = frame.U16LE();
        const std::uint32_t flags = frame.U8();
        if ((flags & 0x80) != 0 && !bytes.Skip(3u << ((flags & 7) + 1))) return false;
        if (!FrameIsWhole(bytes, width * height)) return false;
        break;
      }
      default:  // the end of the file, or a record giflib does not know
        return false;
    }
  }
}

}  // namespace korvanth::imaging
