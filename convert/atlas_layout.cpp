#include "convert/atlas_layout.h"

#include <algorithm>

namespace korvanth {

std::optional<AtlasGrid> PlanAtlas(PixelSize sheet, int count, std::int64_t maxBytes) {
  if (count <= 0 || sheet.width <= 0 || sheet.height <= 0 || sheet.width > kMaxAtlasWidth)
    return std::nullopt;
  AtlasGrid grid;
  grid.cell = sheet;
  grid.columns = std::min(count, kMaxAtlasWidth / sheet.width);
  grid.rows = (count + grid.columns - 1) / grid.columns;
  // In 64 bits: the width is at most kMaxAtlasWidth, the height may not fit an int.
  const std::int64_t height = std::int64_t{grid.rows} * sheet.height;
  const std::int64_t width = std::int64_t{grid.columns} * sheet.width;
  if (height > INT32_MAX || width * height * 4 > maxBytes) return std::nullopt;
  grid.size = {static_cast<int>(width), static_cast<int>(height)};
  return grid;
}

SelectionPoint CellOrigin(const AtlasGrid& grid, int index) {
  return {index % grid.columns * grid.cell.width, index / grid.columns * grid.cell.height};
}

int AtlasTileId(const AtlasGrid& grid, int tileSize, int sheetColumns, int index, int tile) {
  const SelectionPoint cell = CellOrigin(grid, index);
  const int column = cell.x / tileSize + tile % sheetColumns;
  const int row = cell.y / tileSize + tile / sheetColumns;
  return row * (grid.size.width / tileSize) + column;
}

}  // namespace korvanth
