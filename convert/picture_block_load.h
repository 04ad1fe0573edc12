// The converter's load of one block: only the part of the picture file under the block
// is decoded, by the same rules as a whole load (the header judged first).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "convert/picture_file.h"
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
  SelectionPoint placedAt;  // the block's origin in the picture's pixels
  LoadOutcome outcome;
  bool placed = true;  // false: the placement found no block in a picture of this size
};

// Where the block goes in a picture of the given size; nothing when it has no place there.
using BlockPlacement = std::function<std::optional<SelectionPoint>(PixelSize picture)>;

// Loads what a block of `layout` needs, placed by `place` once the picture's size is known
// from its header (the decoder's size rules, so the place holds for the decoded picture).
PictureBlock LoadPictureBlock(const std::string& path, SheetLayout layout,
                              const BlockPlacement& place);

// The same for a block at (x, y) in the picture file at the UTF-8 `path`.
PictureBlock LoadPictureBlock(const std::string& path, SheetLayout layout, std::int32_t x,
                              std::int32_t y);

}  // namespace korvanth
