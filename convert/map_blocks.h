// A block map's blocks on a picture, at the tile size of the run: where each frame's block
// lies in pixels, and the first map line whose blocks do not fit the picture or, side by
// side, the atlas's width.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "convert/block_map.h"
#include "convert/picture_file.h"

namespace korvanth {

// The top-left pixel of frame `frame` of `block` at `tileSize`; meaningful for a block that
// fits a picture (FirstBlockOutside), whose pixels are 32-bit positions.
SelectionPoint MappedFrameOrigin(const MappedBlock& block, int frame, int tileSize);

// The first block, in map order, that reaches past `picture` at `tileSize`; none when all fit.
std::optional<std::size_t> FirstBlockOutside(const BlockMap& map, PixelSize picture, int tileSize);

// "line 7: the roof block 'slate' at cell 6,5 takes 64 x 64 pixels from 192,160, past the
// 256 x 224 picture" (its line 0: without "line 0: ").
std::string BlockOutsideText(const MappedBlock& block, PixelSize picture, int tileSize);

// The first block whose frames' sheets of `layout`'s tile size and completeness do not fit
// side by side in an atlas row, and why ("line 4: 40 frames of ..."); empty when all fit.
std::string FramesPastAtlasWidth(const BlockMap& map, SheetLayout layout);

}  // namespace korvanth
