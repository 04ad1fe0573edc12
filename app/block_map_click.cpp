// The block-map mode's click: a mapped block out, or the current format's block in.
#include "app/block_map_click.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

namespace korvanth {

namespace {

bool Holds(const CellArea& area, MapCell cell) {
  return cell.column >= area.column && cell.column < area.column + area.columns &&
         cell.row >= area.row && cell.row < area.row + area.rows;
}

bool Overlap(const CellArea& a, const CellArea& b) {
  return a.column < b.column + b.columns && b.column < a.column + a.columns &&
         a.row < b.row + b.rows && b.row < a.row + a.rows;
}

// The line whose blocks hold `cell` (counted at the map's tile size).
std::optional<std::size_t> LineAt(const BlockMap& map, MapCell cell) {
  for (std::size_t i = 0; i < map.blocks.size(); ++i)
    if (Holds(CellsOf(map.blocks[i]), cell)) return i;
  return std::nullopt;
}

bool NameTaken(const BlockMap& map, std::string_view name) {
  return std::any_of(map.blocks.begin(), map.blocks.end(),
                     [name](const MappedBlock& block) { return block.name == name; });
}

// The stem with every ASCII character a block name cannot hold made '_'.
std::string NameSafeStem(std::string_view stem) {
  std::string safe(stem);
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80 && !IsBlockName(std::string_view(&c, 1))) c = '_';
  }
  return IsBlockName(safe) ? safe : "block";
}

}  // namespace

int MapTileSize(const BlockMap& map, int windowTileSize) {
  return map.tileSize.value_or(windowTileSize);
}

std::optional<MapCell> NewBlockCell(MapCell pointer, LayoutFormat format, int tileSize,
                                    PixelSize picture) {
  const PixelSize cells = BlockSizeInCells(format);
  // The last cell a block's corner may take on each axis; negative when none fits.
  const std::int64_t lastColumn = picture.width / tileSize - cells.width;
  const std::int64_t lastRow = picture.height / tileSize - cells.height;
  if (lastColumn < 0 || lastRow < 0) return std::nullopt;
  return MapCell{std::min(pointer.column, lastColumn), std::min(pointer.row, lastRow)};
}

std::string NewBlockName(const BlockMap& map, std::string_view stem, MapCell cell) {
  const std::string base =
      NameSafeStem(stem) + "_" + std::to_string(cell.column) + "_" + std::to_string(cell.row);
  std::string name = base;
  for (int suffix = 2; NameTaken(map, name); ++suffix) name = base + "_" + std::to_string(suffix);
  return name;
}

MapChange ClickBlockMap(const BlockMap& map, const MapClick& click) {
  MapChange change{MapClickResult::NoRoom, map, {}};
  const int mapSize = MapTileSize(map, click.tileSize);
  // The map cell that holds the pointer cell's top-left pixel.
  const MapCell under{click.pointer.column * click.tileSize / mapSize,
                      click.pointer.row * click.tileSize / mapSize};
  if (const auto line = LineAt(map, under)) {
    change.result = MapClickResult::Removed;
    change.name = map.blocks[*line].name;
    change.map.blocks.erase(change.map.blocks.begin() + static_cast<std::ptrdiff_t>(*line));
    change.map.tileSize = mapSize;
    return change;
  }
  if (mapSize != click.tileSize && !map.blocks.empty()) {
    change.result = MapClickResult::OtherTileSize;
    return change;
  }
  const auto cell = NewBlockCell(click.pointer, click.format, click.tileSize, click.picture);
  // A picture more than 2^31 cells across is beyond any picture the window opens.
  if (!cell || cell->column > std::numeric_limits<std::int32_t>::max() ||
      cell->row > std::numeric_limits<std::int32_t>::max())
    return change;
  MappedBlock block;
  block.column = static_cast<std::int32_t>(cell->column);
  block.row = static_cast<std::int32_t>(cell->row);
  block.format = click.format;
  for (const MappedBlock& other : map.blocks) {
    if (Overlap(CellsOf(block), CellsOf(other))) {
      change.result = MapClickResult::Overlaps;
      change.name = other.name;
      return change;
    }
  }
  block.name = NewBlockName(map, click.stem, *cell);
  change.result = MapClickResult::Added;
  change.name = block.name;
  change.map.tileSize = click.tileSize;
  change.map.blocks.push_back(std::move(block));
  return change;
}

}  // namespace korvanth
