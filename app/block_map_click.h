// What a click in the window's block-map mode does to the picture's map, apart from the
// window: a click on a mapped block takes that block's line out; anywhere else the current
// format's block goes in at the pointer's cell, named after the picture and its cell.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "convert/block_map.h"
#include "convert/layout_format.h"

namespace korvanth {

// A cell of the grid, counted from the picture's top-left corner.
struct MapCell {
  std::int64_t column = 0;
  std::int64_t row = 0;
  friend bool operator==(const MapCell&, const MapCell&) = default;
};

// Where and what the click is.
struct MapClick {
  MapCell pointer;  // the cell under the pointer, at tileSize (never negative)
  LayoutFormat format = LayoutFormat::Terrain1;
  int tileSize = kTileSize;  // the window's (IsTileSize)
  PixelSize picture{0, 0};
  std::string_view stem;  // the picture's file stem: blocks are named STEM_COL_ROW
};

enum class MapClickResult {
  Added,
  Removed,
  Overlaps,       // the new block would overlap `name`: nothing changes
  OtherTileSize,  // the map's blocks are counted at another tile size: nothing is added
  NoRoom,         // the picture is narrower or lower than the block
};

struct MapChange {
  MapClickResult result = MapClickResult::NoRoom;
  BlockMap map;      // the map after the click (the same map unless Added or Removed)
  std::string name;  // the block added, removed or overlapped
};

// The click's change to `map`. A map line with frames is one block for this: a click on
// any of its frames removes the line. An added block counts its cell at the window's tile
// size, which the map's tile-size line then says.
MapChange ClickBlockMap(const BlockMap& map, const MapClick& click);

// The tile size the map's cells are counted in: its tile-size line, else the window's.
int MapTileSize(const BlockMap& map, int windowTileSize);

// The cell a new block of `format` takes for the pointer's cell: that cell moved left and
// up by whole cells until the block lies inside the picture; none when it cannot.
std::optional<MapCell> NewBlockCell(MapCell pointer, LayoutFormat format, int tileSize,
                                    PixelSize picture);

// A name for a new block at `cell` that no block of `map` has: STEM_COL_ROW, each ASCII
// character a block name cannot hold made '_' ("block" for a stem that is no UTF-8 text),
// then _2, _3, ... while the name is taken.
std::string NewBlockName(const BlockMap& map, std::string_view stem, MapCell cell);

}  // namespace korvanth
