// The atlas grids: columns within the width limit, grids stacked by cell size, corners, tile ids.
#include "convert/atlas_layout.h"

#include <algorithm>

namespace korvanth {

namespace {

// A grid of `count` cells in 64 bits: as many columns as fit kMaxAtlasWidth, fewer when
// there are fewer cells. None when there is nothing to place or a cell is too wide.
std::optional<AtlasExtent> GridExtent(PixelSize cell, std::int64_t count, std::int64_t& columns) {
  if (count <= 0 || cell.width <= 0 || cell.height <= 0 || cell.width > kMaxAtlasWidth)
    return std::nullopt;
  columns = std::min<std::int64_t>(count, kMaxAtlasWidth / cell.width);
  const std::int64_t rows = (count + columns - 1) / columns;
  return AtlasExtent{columns * cell.width, rows * cell.height};
}

bool FitsBounds(const AtlasExtent& extent, std::int64_t maxBytes) {
  // The width is at most kMaxAtlasWidth, so the product fits 64 bits for any 32-bit height.
  return extent.height <= INT32_MAX && extent.width * extent.height * 4 <= maxBytes;
}

}  // namespace

std::optional<AtlasGrid> PlanAtlas(PixelSize cell, int count, std::int64_t maxBytes) {
  std::int64_t columns = 0;
  const std::optional<AtlasExtent> extent = GridExtent(cell, count, columns);
  if (!extent || !FitsBounds(*extent, maxBytes)) return std::nullopt;
  AtlasGrid grid;
  grid.cell = cell;
  grid.columns = static_cast<int>(columns);
  grid.rows = (count + grid.columns - 1) / grid.columns;
  grid.size = {static_cast<int>(extent->width), static_cast<int>(extent->height)};
  return grid;
}

AtlasSections::Place AtlasSections::Add(LayoutFormat format, int frames, PixelSize cell) {
  const std::pair kind{format, frames};
  const auto found = std::find(kinds_.begin(), kinds_.end(), kind);
  const auto section = static_cast<std::size_t>(found - kinds_.begin());
  if (found == kinds_.end()) {
    kinds_.push_back(kind);
    cells_.push_back({cell, 0});
  }
  return {static_cast<int>(section), static_cast<int>(cells_[section].count++)};
}

std::optional<AtlasExtent> StackedExtent(std::span<const CellCount> cells) {
  AtlasExtent whole;
  for (const CellCount& kind : cells) {
    std::int64_t columns = 0;
    const std::optional<AtlasExtent> extent = GridExtent(kind.cell, kind.count, columns);
    if (!extent) {
      if (kind.count > 0) return std::nullopt;  // a cell too wide for any atlas
      continue;
    }
    whole.width = std::max(whole.width, extent->width);
    whole.height += extent->height;
  }
  if (whole.height == 0) return std::nullopt;
  return whole;
}

std::optional<StackedAtlas> PlanStackedAtlas(std::span<const CellCount> cells,
                                             std::int64_t maxBytes) {
  const std::optional<AtlasExtent> extent = StackedExtent(cells);
  if (!extent || !FitsBounds(*extent, maxBytes)) return std::nullopt;
  StackedAtlas atlas;
  atlas.size = {static_cast<int>(extent->width), static_cast<int>(extent->height)};
  int top = 0;
  for (const CellCount& kind : cells) {
    AtlasSection section;
    section.top = top;
    if (kind.count > 0) {
      section.grid = *PlanAtlas(kind.cell, static_cast<int>(kind.count), maxBytes);
      top += section.grid.size.height;
    }
    atlas.sections.push_back(section);
  }
  return atlas;
}

SelectionPoint CellOrigin(const StackedAtlas& atlas, int section, int index) {
  const AtlasSection& part = atlas.sections[static_cast<std::size_t>(section)];
  const SelectionPoint cell = CellOrigin(part.grid, index);
  return {cell.x, part.top + cell.y};
}

int TileIdAt(SelectionPoint sheet, int atlasWidth, int tileSize, int sheetColumns, int tile) {
  const int column = sheet.x / tileSize + tile % sheetColumns;
  const int row = sheet.y / tileSize + tile / sheetColumns;
  return row * (atlasWidth / tileSize) + column;
}

SelectionPoint CellOrigin(const AtlasGrid& grid, int index) {
  return {index % grid.columns * grid.cell.width, index / grid.columns * grid.cell.height};
}

}  // namespace korvanth
