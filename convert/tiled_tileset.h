// A Tiled tileset (.tsx) for a sheet or an atlas: the picture as its image and one mixed
// Wang set per terrain (a sheet has one), whose single colour is the terrain. Every tile
// with terrain is in its set except the lone tile that matches no neighbour, which Tiled's wang ids
// cannot tell from "no terrain".
#pragma once

#include <string>

#include "convert/text_stream.h"
#include "convert/tileset_description.h"

namespace korvanth {

// Tiled's wangid of a match set: top, top-right, right, bottom-right, bottom,
// bottom-left, left, top-left; 1 where the neighbour is this terrain, 0 elsewhere.
std::string TiledWangId(NeighbourMask mask);

// The whole .tsx file, UTF-8, into `out` piece by piece.
void WriteTiledTileset(const TilesetDescription& tileset, TextStream& out);

// The same as one string.
std::string TiledTilesetText(const TilesetDescription& tileset);

}  // namespace korvanth
