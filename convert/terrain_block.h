// How a terrain format's block is laid out, region by region: the fact the terrain match
// sets of its sheet tiles are derived from. Each format's description lives in its
// registry entry.
#pragma once

#include <span>

namespace korvanth {

// What a part of the block holds.
enum class BlockPart {
  Unread,       // never read by the table
  Patch,        // a patch of the terrain, bordered along its outer edges
  InnerCorner,  // a tile whose quarters each show an inner corner at the tile's corner
  Closed,       // a single tile closed on every side
  OwnTile,      // the artist's own tile, placed by hand: no terrain
};

// A rectangle of the block, in quarters.
struct BlockRegion {
  int column;
  int row;
  int columns;
  int rows;
  BlockPart part;
};

// The block of a terrain format as regions that together cover it; empty for a format
// without terrain.
using TerrainBlock = std::span<const BlockRegion>;

}  // namespace korvanth
