// The pixel work of an atlas, on 32-bit ARGB rows held in memory: which blocks show
// nothing, and a block's sheet copied quarter by quarter into its cell of the atlas. Each
// call touches only its own block and cell, so calls for different blocks may run at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "convert/layout_format.h"
#include "convert/picture_file.h"

namespace korvanth {

// Rows of 32-bit pixels, `stride` bytes apart.
struct PixelRows {
  std::uint8_t* scan0 = nullptr;
  std::ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;
  std::uint32_t* row(int y) const {
    return reinterpret_cast<std::uint32_t*>(scan0 + static_cast<std::ptrdiff_t>(y) * stride);
  }
};

// Whether every pixel of the `block` at `origin` (inside `picture`) is fully transparent.
bool IsBlockTransparent(const PixelRows& picture, SelectionPoint origin, PixelSize block);

// Copies the quarters of the block at `origin` (wholly inside `picture`) by `layout`'s
// table into the sheet-sized cell of `atlas` whose top-left pixel is `cell`, bit for bit
// (a fully transparent pixel as 0, as BuildSheet draws it); the cell's other pixels are
// left as they are.
void CopySheetQuarters(SheetLayout layout, const PixelRows& picture, SelectionPoint origin,
                       const PixelRows& atlas, SelectionPoint cell);

}  // namespace korvanth
