// Where the sheets of an atlas go: all cells are the same size and fill a grid left to
// right, top to bottom, with as many columns as fit in kMaxAtlasWidth pixels (fewer when
// there are fewer cells). A cell holds one sheet, or an animated terrain's frames' sheets
// side by side. A sheet's tiles keep their order inside it.
#pragma once

#include <cstdint>
#include <optional>

#include "convert/layout_format.h"
#include "convert/picture_file.h"

namespace korvanth {

inline constexpr int kMaxAtlasWidth = 4096;

struct AtlasGrid {
  PixelSize cell{0, 0};  // one sheet, or the frames' sheets side by side
  int columns = 0;       // cells per row
  int rows = 0;
  PixelSize size{0, 0};  // the whole atlas
};

// The grid for `count` cells of `cell` size; none when there is no cell, a cell is wider
// than kMaxAtlasWidth or the atlas's 32-bit pixels would pass `maxBytes`.
std::optional<AtlasGrid> PlanAtlas(PixelSize cell, int count, std::int64_t maxBytes);

// The top-left pixel of cell `index`.
SelectionPoint CellOrigin(const AtlasGrid& grid, int index);

// The top-left pixel of frame `frame` of cell `index`, whose frames' sheets are
// `sheetWidth` pixels wide: frame f lies f sheets to the right of the first.
SelectionPoint FrameOrigin(const AtlasGrid& grid, int index, int frame, int sheetWidth);

// The atlas's tile id (row by row, `tileSize` tiles) of tile `tile` of the (first) sheet
// in cell `index`, whose sheet has `sheetColumns` tiles a row.
int AtlasTileId(const AtlasGrid& grid, int tileSize, int sheetColumns, int index, int tile);

}  // namespace korvanth
