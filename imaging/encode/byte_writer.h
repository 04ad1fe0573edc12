// Field writer for the file headers built by hand: little-endian, and big-endian for PNG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvanth::imaging::encode {

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void U32BE(std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) U8(static_cast<std::uint8_t>(v >> shift));
  }
  void Bytes(const std::uint8_t* data, std::size_t size) {
    if (size > 0) out_.insert(out_.end(), data, data + size);
  }
  void Zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }

 private:
  std::vector<std::uint8_t>& out_;
};

}  // namespace korvanth::imaging::encode
