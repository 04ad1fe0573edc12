// The converter's load of one block: only the part of the picture file under the block
// is decoded, by the same rules as a whole load (the header judged first).
#pragma once

#include <cstdint>
#include <string>

#include "convert/conversion_state.h"
#include "convert/layout_format.h"
#include "imaging/handles.h"

namespace korvanth {

struct PictureBlock {
  ImageHandle region;  // the picture's pixels under the block; no image when the load failed
  std::int32_t pictureWidth = 0;
  std::int32_t pictureHeight = 0;
  // The block's origin in the region's pixels: converting `region` at this origin gives
  // the sheet that converting the whole picture at the asked origin gives.
  SelectionPoint origin;
  LoadOutcome outcome;
};

// Loads what a block of `format` at (x, y) in the picture file at the UTF-8 `path` needs.
PictureBlock LoadPictureBlock(const std::string& path, LayoutFormat format, std::int32_t x,
                              std::int32_t y);

}  // namespace korvanth
