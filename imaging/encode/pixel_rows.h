// The pixels the file writers read, as both hosts hand them out: rows of B,G,R bytes,
// followed by A when a pixel takes four bytes. Rows are top first.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvanth::imaging::encode {

struct PixelRows {
  const std::uint8_t* scan0 = nullptr;
  std::ptrdiff_t stride = 0;  // bytes from one row to the next
  int width = 0;
  int height = 0;
  int bytesPerPixel = 4;  // 3 (B,G,R) or 4 (B,G,R,A)
  bool hasAlpha = true;   // false: the fourth byte is padding and every pixel is opaque
  float dpiX = 96.0f;
  float dpiY = 96.0f;

  const std::uint8_t* Row(int y) const { return scan0 + y * stride; }
  bool WithAlpha() const { return hasAlpha && bytesPerPixel == 4; }
  // The pixel as 0xAARRGGBB (alpha 0xFF without alpha).
  std::uint32_t Argb(int x, int y) const {
    const std::uint8_t* p = Row(y) + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
    const std::uint32_t alpha = WithAlpha() ? p[3] : 0xFFu;
    return alpha << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
  }
};

}  // namespace korvanth::imaging::encode
