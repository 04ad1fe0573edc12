// What a map editor's tileset file says about one saved sheet: its picture, its tile grid
// and, for the terrain formats, each tile's terrain match set.
#pragma once

#include <string>
#include <string_view>

#include "convert/layout_format.h"
#include "convert/terrain_roles.h"

namespace korvanth {

struct TilesetDescription {
  std::string name;       // the tileset's (and its terrain's) name: the sheet's stem
  std::string imagePath;  // the sheet, relative to the tileset file (they sit side by side)
  PixelSize imageSize{0, 0};
  int tileSize = kTileSize;
  int columns = 0;
  int tileCount = 0;
  TerrainRoles roles;  // one entry per tile; empty for a sheet without terrain
};

// The description of a sheet of `format` saved under the file name `sheetFileName` (a
// name without folders, UTF-8).
TilesetDescription DescribeSheet(LayoutFormat format, std::string_view sheetFileName);

// The name's stem: everything before the last '.', or the whole name when it has none
// (or only a leading one).
std::string_view FileStem(std::string_view fileName);

// Whether a sheet's file name can go into a tileset file as it stands: valid UTF-8
// without control characters (neither XML nor a Godot resource can carry those).
bool IsTilesetSafeName(std::string_view fileName);

}  // namespace korvanth
