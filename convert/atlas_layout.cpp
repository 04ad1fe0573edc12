// The atlas grid: columns within the width limit, cell and frame corners, atlas tile ids.
#include "convert/atlas_layout.h"

#include <algorithm>

namespace korvanth {

std::optional<AtlasGrid> PlanAtlas(PixelSize cell, int count, std::int64_t maxBytes) {
  if (count <= 0 || cell.width <= 0 || cell.height <= 0 || cell.width > kMaxAtlasWidth)
    return std::nullopt;
  AtlasGrid grid;
  grid.cell = cell;
  grid.columns = std::min(count, kMaxAtlasWidth / cell.width);
  grid.rows = (count + grid.columns - 1) / grid.columns;
  // In 64 bits: the width is at most kMaxAtlasWidth, the height may not fit an int.
  const std::int64_t height = std::int64_t{grid.rows} * cell.height;
  const std::int64_t width = std::int64_t{grid.columns} * cell.width;
  if (height > INT32_MAX || width * height * 4 > maxBytes) return std::nullopt;
  grid.size = {static_cast<int>(width), static_cast<int>(height)};
  return grid;
}

SelectionPoint CellOrigin(const AtlasGrid& grid, int index) {
  return {index % grid.columns * grid.cell.width, index / grid.columns * grid.cell.height};
}

SelectionPoint FrameOrigin(const AtlasGrid& grid, int index, int frame, int sheetWidth) {
  const SelectionPoint cell = CellOrigin(grid, index);
  return {cell.x + frame * sheetWidth, cell.y};
}

int AtlasTileId(const AtlasGrid& grid, int tileSize, int sheetColumns, int index, int tile) {
  const SelectionPoint cell = CellOrigin(grid, index);
  const int column = cell.x / tileSize + tile % sheetColumns;
  const int row = cell.y / tileSize + tile / sheetColumns;
  return row * (grid.size.width / tileSize) + column;
}

}  // namespace korvanth
