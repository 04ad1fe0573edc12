// Little-endian field writer for the file headers built by hand.
#pragma once

#include <QByteArray>

#include <cstdint>

namespace korvanth::imaging {

class ByteWriter {
 public:
  explicit ByteWriter(QByteArray& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.append(static_cast<char>(v)); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void Zeros(int count) { out_.append(count, '\0'); }

 private:
  QByteArray& out_;
};

}  // namespace korvanth::imaging
