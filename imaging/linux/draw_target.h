// What one drawing call needs to know about its destination, worked out once per call.
#pragma once

#include <cstdint>

#include "imaging/linux/compositing.h"
#include "imaging/linux/gp_objects.h"

namespace korvanth::imaging {

struct DrawTarget {
  Layout layout = Layout::Argb32;
  int bytesPerPixel = 4;
  std::uint8_t* bits = nullptr;
  std::int64_t stride = 0;
  Box area;  // the target's bounds within the clip

  std::uint8_t* At(std::int64_t x, std::int64_t y) const {
    return bits + y * stride + x * bytesPerPixel;
  }
};

// Validates the surface and fills `out`; bits stay null when nothing can be drawn.
Gdiplus::GpStatus PrepareTarget(Gdiplus::GpGraphics* graphics, DrawTarget& out);

}  // namespace korvanth::imaging
