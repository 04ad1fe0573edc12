// Little-endian field writer for the file headers built by hand.
#pragma once

#include <cstdint>
#include <vector>

namespace korvanth::encode {

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
  void Zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }

 private:
  std::vector<std::uint8_t>& out_;
};

}  // namespace korvanth::encode
