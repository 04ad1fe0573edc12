// Where the sheets of an atlas go: all cells are the same size and fill a grid left to
// right, top to bottom, with as many columns as fit in kMaxAtlasWidth pixels (fewer when
// there are fewer cells). A cell holds one sheet, or an animated terrain's frames' sheets
// side by side. A sheet's tiles keep their order inside it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

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

// An atlas whose cells differ in size (a block map mixes formats and frame counts): one grid
// a size, laid out as PlanAtlas lays out one, the grids one under another in the order
// given, the atlas as wide as the widest. Leaving cells out never makes it larger.
struct CellCount {
  PixelSize cell{0, 0};
  std::int64_t count = 0;
};
struct AtlasSection {
  AtlasGrid grid;
  int top = 0;  // the grid's first row of pixels in the atlas
};
struct StackedAtlas {
  std::vector<AtlasSection> sections;  // one a CellCount, in their order
  PixelSize size{0, 0};
};

// Gathers cells into the sections of a stacked atlas: one a kind of cell (a format and a
// frame count, which fix its size at one tile size), in the order the kinds first come.
class AtlasSections {
 public:
  struct Place {
    int section;
    int cell;
  };
  // Adds one cell of `cell` pixels of that kind; where it goes.
  Place Add(LayoutFormat format, int frames, PixelSize cell);
  const std::vector<CellCount>& cells() const { return cells_; }

 private:
  std::vector<std::pair<LayoutFormat, int>> kinds_;
  std::vector<CellCount> cells_;
};

// The stacked atlas's size in 64 bits, to judge it before it is made; none when a cell is
// wider than kMaxAtlasWidth or there is no cell.
struct AtlasExtent {
  std::int64_t width = 0;
  std::int64_t height = 0;
};
std::optional<AtlasExtent> StackedExtent(std::span<const CellCount> cells);

// The stacked atlas; none as for StackedExtent, or when it is taller than 32-bit positions
// or its 32-bit pixels would pass `maxBytes`.
std::optional<StackedAtlas> PlanStackedAtlas(std::span<const CellCount> cells,
                                             std::int64_t maxBytes);

// The top-left pixel of cell `index` of section `section`.
SelectionPoint CellOrigin(const StackedAtlas& atlas, int section, int index);

// The atlas's tile id (row by row, `tileSize` tiles, `atlasWidth` pixels a row) of tile
// `tile` of the sheet whose top-left pixel is `sheet`, with `sheetColumns` tiles a row.
int TileIdAt(SelectionPoint sheet, int atlasWidth, int tileSize, int sheetColumns, int tile);

}  // namespace korvanth
