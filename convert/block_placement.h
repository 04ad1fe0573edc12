// Where the selection block lies for a cell of the picture. One rule for the
// window (the block under the pointer) and for the command-line converter (--cell).
#pragma once

#include <cstdint>
#include <optional>

#include "convert/picture_file.h"
#include "convert/layout_format.h"

namespace korvanth {

// The block's top-left corner for the cell (column, row) of `cellSize` pixels (the tile
// size, from 8 to 128): x = column * cellSize, moved left to
// picture width - block width when the block would stick out on the right; likewise y.
// There is no lower bound: a picture narrower than the block gives a negative corner,
// as the window shows it. Computed without overflow for every argument; empty when the
// corner does not fit a 32-bit signed pixel position.
std::optional<SelectionPoint> PlaceBlockOnCell(std::int64_t column, std::int64_t row,
                                               PixelSize block, PixelSize picture, int cellSize);

}  // namespace korvanth
