// Which of its eight neighbours each sheet tile of a terrain format matches, worked out
// from where the tile's quarters come from in the block. Map editors paint terrain by
// these match sets; nothing here is typed per tile: the block is described once, by
// region, and every tile's set follows from its quarter table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "convert/layout_format.h"
#include "convert/terrain_block.h"

namespace korvanth {

// The eight neighbours in clockwise order from the top; the bit index of each in a
// NeighbourMask.
enum class Neighbour : int { N = 0, NE, E, SE, S, SW, W, NW };
inline constexpr int kNeighbourCount = 8;

// Bit i set: neighbour i belongs to the same terrain.
using NeighbourMask = std::uint8_t;

constexpr NeighbourMask Bit(Neighbour n) { return NeighbourMask(1u << static_cast<int>(n)); }
constexpr bool Matches(NeighbourMask mask, Neighbour n) { return (mask & Bit(n)) != 0; }

// The terrain description of a format's block, from its registry entry; empty for
// formats without terrain.
std::optional<TerrainBlock> TerrainBlockFor(LayoutFormat format);

// One entry per sheet tile: its match set, or none for a tile that carries no terrain.
using TerrainRoles = std::vector<std::optional<NeighbourMask>>;

struct RoleDerivation {
  TerrainRoles roles;
  std::string problem;  // empty when the table and the block agree
  bool ok() const { return problem.empty(); }
};

// Works out every tile's match set from `table` read against `block`. A quarter in corner
// position TL, TR, BL or BR speaks for that corner's two sides and its diagonal:
// - from the patch, a side matches unless the quarter lies on the patch's outer column or
//   row on that side; the diagonal matches exactly when both sides do;
// - an inner-corner quarter: both sides match, the diagonal does not;
// - a quarter of the closed tile: nothing matches.
// A tile built from the artist's own tile carries no terrain. Anything that contradicts
// itself (two quarters disagreeing on a shared side, a quarter out of its position, an
// unread quarter, a partial own tile, a quarter outside the block) is a problem.
RoleDerivation DeriveTerrainRoles(TerrainBlock block, LayoutTable table);

// The derived roles of a layout's tiles (its appended shapes included): empty for a format
// without terrain.
TerrainRoles TerrainRolesFor(SheetLayout layout);

// What a quarter in corner position `position` (0 TL, 1 TR, 2 BL, 3 BR) shows of a tile
// with match set `mask`: it depends only on that corner's two sides and the diagonal
// between them.
enum class QuarterCase : int {
  OuterCorner,     // neither side matches
  VerticalSide,    // only the side above or below matches: the edge runs up and down
  HorizontalSide,  // only the side left or right matches: the edge runs across
  InnerCorner,     // both sides match, the diagonal does not
  Full,            // both sides and the diagonal match
};
inline constexpr int kQuarterCaseCount = 5;
QuarterCase CaseOf(NeighbourMask mask, int position);

}  // namespace korvanth
