// Where the sheets of an atlas go: all sheets are the same size and fill a grid left to
// right, top to bottom, with as many columns as fit in kMaxAtlasWidth pixels (fewer when
// there are fewer sheets). A sheet's tiles keep their order inside its cell.
#pragma once

#include <cstdint>
#include <optional>

#include "convert/layout_format.h"
#include "convert/picture_file.h"

namespace korvanth {

inline constexpr int kMaxAtlasWidth = 4096;

struct AtlasGrid {
  PixelSize cell{0, 0};  // one sheet
  int columns = 0;       // sheets per row
  int rows = 0;
  PixelSize size{0, 0};  // the whole atlas
};

// The grid for `count` sheets of `sheet` size; none when there is no sheet, a sheet is
// wider than kMaxAtlasWidth or the atlas's 32-bit pixels would pass `maxBytes`.
std::optional<AtlasGrid> PlanAtlas(PixelSize sheet, int count, std::int64_t maxBytes);

// The top-left pixel of sheet `index`'s cell.
SelectionPoint CellOrigin(const AtlasGrid& grid, int index);

// The atlas's tile id (row by row, `tileSize` tiles) of tile `tile` of sheet `index`,
// whose sheet has `sheetColumns` tiles a row.
int AtlasTileId(const AtlasGrid& grid, int tileSize, int sheetColumns, int index, int tile);

}  // namespace korvanth
