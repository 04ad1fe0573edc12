// A Godot 4 TileSet resource (.tres, text format) for a sheet or an atlas: one atlas
// source on the picture and, when it has terrains, one terrain set matching corners and
// sides with one terrain each (a sheet has one), set on every tile that carries it.
#pragma once

#include <string>

#include "convert/text_stream.h"
#include "convert/tileset_description.h"

namespace korvanth {

// The whole .tres file, UTF-8, into `out` piece by piece.
void WriteGodotTileset(const TilesetDescription& tileset, TextStream& out);

// The same as one string.
std::string GodotTilesetText(const TilesetDescription& tileset);

}  // namespace korvanth
