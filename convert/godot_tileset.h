// A Godot 4 TileSet resource (.tres, text format) for a sheet: one atlas source on the
// sheet and, for a sheet with terrain, one terrain set matching corners and sides with
// one terrain, set on every tile that carries it.
#pragma once

#include <string>

#include "convert/tileset_description.h"

namespace korvanth {

// The whole .tres file, UTF-8.
std::string GodotTilesetText(const TilesetDescription& tileset);

}  // namespace korvanth
