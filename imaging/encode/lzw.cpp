// GIF's LZW coder: variable-width codes packed LSB first, the table reset at 4096.
#include "imaging/encode/lzw.h"

#include <array>
#include <memory>

namespace korvanth::imaging::encode {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr std::uint32_t kCodeLimit = 1u << kMaxCodeBits;  // 4096 codes in all

// Packs codes of varying width, least significant bit first.
class BitPacker {
 public:
  explicit BitPacker(std::vector<std::uint8_t>& out) : out_(out) {}
  void Put(std::uint32_t code, int width) {
    bits_ |= static_cast<std::uint64_t>(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(bits_));
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  void Flush() {
    if (count_ > 0) out_.push_back(static_cast<std::uint8_t>(bits_));
    bits_ = 0;
    count_ = 0;
  }

 private:
  std::vector<std::uint8_t>& out_;
  std::uint64_t bits_ = 0;
  int count_ = 0;
};

// (prefix code, next index) -> code, open addressing; a string is only ever added once.
class CodeTable {
 public:
  CodeTable() : slots_(new std::uint32_t[kSlots]) { Clear(); }
  void Clear() {
    for (std::size_t i = 0; i < kSlots; ++i) slots_[i] = kEmpty;
  }
  // The code of the string, or -1.
  int Find(std::uint32_t key) const {
    for (std::size_t slot = Hash(key);; slot = (slot + 1) & (kSlots - 1)) {
      const std::uint32_t entry = slots_[slot];
      if (entry == kEmpty) return -1;
      if (entry >> kMaxCodeBits == key) return static_cast<int>(entry & (kCodeLimit - 1));
    }
  }
  void Add(std::uint32_t key, std::uint32_t code) {
    std::size_t slot = Hash(key);
    while (slots_[slot] != kEmpty) slot = (slot + 1) & (kSlots - 1);
    slots_[slot] = key << kMaxCodeBits | code;
  }

 private:
  // Four times the codes: the probes stay short.
  static constexpr std::size_t kSlots = 4 * kCodeLimit;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // key 2^20 - 1 is never made
  static std::size_t Hash(std::uint32_t key) { return (key * 2654435761u) >> 18; }
  std::unique_ptr<std::uint32_t[]> slots_;
};

}  // namespace

void LzwCompress(const std::uint8_t* indices, std::size_t count, int minCodeSize,
                 std::vector<std::uint8_t>& out) {
  const std::uint32_t clear = 1u << minCodeSize;
  const std::uint32_t end = clear + 1;
  BitPacker packer(out);
  CodeTable table;
  int width = minCodeSize + 1;
  std::uint32_t last = end;  // the newest code the decoder knows

  // After each emitted code the decoder adds one string; the width grows once the newest
  // code no longer fits, and a full table starts over with a clear code.
  auto reset = [&] {
    table.Clear();
    width = minCodeSize + 1;
    last = end;
  };
  // Returns false when the table was full and has been cleared instead.
  auto grow = [&] {
    ++last;
    if (last == (1u << width) && width < kMaxCodeBits) ++width;
    if (last == kCodeLimit - 1) {
      packer.Put(clear, width);
      reset();
      return false;
    }
    return true;
  };

  packer.Put(clear, width);
  if (count > 0) {
    std::uint32_t prefix = indices[0];
    for (std::size_t i = 1; i < count; ++i) {
      const std::uint32_t key = prefix << 8 | indices[i];
      const int known = table.Find(key);
      if (known >= 0) {
        prefix = static_cast<std::uint32_t>(known);
        continue;
      }
      packer.Put(prefix, width);
      if (grow()) table.Add(key, last);
      prefix = indices[i];
    }
    packer.Put(prefix, width);
    grow();
  }
  packer.Put(end, width);
  packer.Flush();
}

}  // namespace korvanth::imaging::encode
