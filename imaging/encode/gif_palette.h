// Turning a picture into at most 256 palette entries and one index a pixel, for GIF.
// Integer arithmetic and total orders only, so both hosts (and both word sizes) give the
// same palette and the same indices.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/encode/pixel_rows.h"

namespace korvanth::imaging::encode {

struct IndexedPicture {
  std::vector<std::uint32_t> colours;  // 0xRRGGBB, at most 256
  int transparent = -1;                // the index of fully transparent pixels, or -1
  std::vector<std::uint8_t> indices;   // one a pixel, rows top first
};

// Every visible colour (alpha > 0; alpha itself is dropped) in the order of first
// appearance, the transparent index after them when any pixel has alpha 0. False when
// that needs more than 256 entries.
bool ExactPalette(const PixelRows& rows, IndexedPicture& picture);

// Median cut of the visible colours into 256 entries (255 when the transparent index is
// needed): the box with the largest pixel count times its longest side is split at the
// weighted median of that side, each entry is its box's weighted mean, and every pixel
// takes its own box's entry. A picture of more than 262144 visible colours is cut on its
// colours rounded to 6 bits a channel (each the middle of its step of 4), so that the
// counting takes a few MiB whatever the picture's size.
void QuantizedPalette(const PixelRows& rows, IndexedPicture& picture);

}  // namespace korvanth::imaging::encode
