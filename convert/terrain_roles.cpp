// Derives each terrain tile's neighbour match set from where its quarters lie in the block.
#include "convert/terrain_roles.h"

#include <array>

#include "convert/complete_shapes.h"
#include "convert/format_registry.h"

namespace korvanth {

namespace {

// For each quarter position (TL, TR, BL, BR): the side facing up or down, the side
// facing left or right, the diagonal between them, and the two sides it does not face.
struct CornerSides {
  Neighbour vertical;
  Neighbour horizontal;
  Neighbour diagonal;
  Neighbour oppositeVertical;
  Neighbour oppositeHorizontal;
};
constexpr CornerSides kCorners[4] = {
    {Neighbour::N, Neighbour::W, Neighbour::NW, Neighbour::S, Neighbour::E},
    {Neighbour::N, Neighbour::E, Neighbour::NE, Neighbour::S, Neighbour::W},
    {Neighbour::S, Neighbour::W, Neighbour::SW, Neighbour::N, Neighbour::E},
    {Neighbour::S, Neighbour::E, Neighbour::SE, Neighbour::N, Neighbour::W},
};
constexpr const char* kPositionNames[4] = {"TL", "TR", "BL", "BR"};

const BlockRegion* RegionOf(TerrainBlock block, QuarterRef q) {
  for (const BlockRegion& region : block) {
    if (q.column >= region.column && q.column < region.column + region.columns &&
        q.row >= region.row && q.row < region.row + region.rows) {
      return &region;
    }
  }
  return nullptr;
}

// Whether a patch quarter lies on the patch's outer edge on side `side`.
bool OnOuterEdge(const BlockRegion& patch, QuarterRef q, Neighbour side) {
  switch (side) {
    case Neighbour::N:
      return q.row == patch.row;
    case Neighbour::S:
      return q.row == patch.row + patch.rows - 1;
    case Neighbour::W:
      return q.column == patch.column;
    case Neighbour::E:
      return q.column == patch.column + patch.columns - 1;
    default:
      return false;
  }
}

// What one quarter says about its two sides and diagonal.
struct QuarterSays {
  bool vertical = false;
  bool horizontal = false;
  bool diagonal = false;
};

std::string Describe(int tile, int position, QuarterRef q) {
  return "tile " + std::to_string(tile) + " " + kPositionNames[position] + " quarter (" +
         std::to_string(q.column) + "," + std::to_string(q.row) + ")";
}

}  // namespace

std::optional<TerrainBlock> TerrainBlockFor(LayoutFormat format) {
  const TerrainBlock block = FormatEntryFor(format).terrain;
  if (block.empty()) return std::nullopt;
  return block;
}

RoleDerivation DeriveTerrainRoles(TerrainBlock block, LayoutTable table) {
  RoleDerivation result;
  result.roles.resize(table.size());
  for (int tile = 0; tile < static_cast<int>(table.size()); ++tile) {
    // Each side is spoken for by two quarters; -1 while no quarter has spoken yet.
    std::array<int, kNeighbourCount> said;
    said.fill(-1);
    int ownTileQuarters = 0;
    for (int position = 0; position < 4; ++position) {
      const QuarterRef q = table[tile].quarters[position].source;
      const BlockRegion* region = RegionOf(block, q);
      if (region == nullptr) {
        result.problem = Describe(tile, position, q) + " lies outside the block";
        return result;
      }
      const CornerSides& corner = kCorners[position];
      const bool inOwnPosition = (q.column - region->column) % 2 == position % 2 &&
                                 (q.row - region->row) % 2 == position / 2;
      QuarterSays says;
      switch (region->part) {
        case BlockPart::Unread:
          result.problem = Describe(tile, position, q) + " reads the tile that is never read";
          return result;
        case BlockPart::OwnTile:
          ++ownTileQuarters;
          continue;
        case BlockPart::Closed:
        case BlockPart::InnerCorner:
          if (!inOwnPosition) {
            result.problem = Describe(tile, position, q) + " is out of its own corner position";
            return result;
          }
          says.vertical = says.horizontal = region->part == BlockPart::InnerCorner;
          break;
        case BlockPart::Patch:
          // A border on a side the quarter does not face would cut through the tile.
          if (OnOuterEdge(*region, q, corner.oppositeVertical) ||
              OnOuterEdge(*region, q, corner.oppositeHorizontal)) {
            result.problem = Describe(tile, position, q) + " brings a patch edge inside the tile";
            return result;
          }
          says.vertical = !OnOuterEdge(*region, q, corner.vertical);
          says.horizontal = !OnOuterEdge(*region, q, corner.horizontal);
          says.diagonal = says.vertical && says.horizontal;
          break;
      }
      const std::pair<Neighbour, bool> claims[3] = {{corner.vertical, says.vertical},
                                                    {corner.horizontal, says.horizontal},
                                                    {corner.diagonal, says.diagonal}};
      for (const auto& [neighbour, matches] : claims) {
        int& slot = said[static_cast<int>(neighbour)];
        if (slot != -1 && slot != static_cast<int>(matches)) {
          result.problem = Describe(tile, position, q) + " disagrees with another quarter";
          return result;
        }
        slot = matches ? 1 : 0;
      }
    }
    if (ownTileQuarters == 4) continue;  // the artist's tile: no terrain
    if (ownTileQuarters != 0) {
      result.problem = "tile " + std::to_string(tile) + " mixes the artist's own tile with terrain";
      return result;
    }
    NeighbourMask mask = 0;
    for (int n = 0; n < kNeighbourCount; ++n) {
      if (said[n] == 1) mask |= NeighbourMask(1u << n);
    }
    for (const CornerSides& corner : kCorners) {
      if (Matches(mask, corner.diagonal) &&
          !(Matches(mask, corner.vertical) && Matches(mask, corner.horizontal))) {
        result.problem = "tile " + std::to_string(tile) + " matches a diagonal without its sides";
        return result;
      }
    }
    result.roles[tile] = mask;
  }
  return result;
}

TerrainRoles TerrainRolesFor(SheetLayout layout) {
  if (layout.complete) return CompletedSheetFor(layout.format).roles;
  const std::optional<TerrainBlock> block = TerrainBlockFor(layout.format);
  if (!block) return {};
  RoleDerivation derived = DeriveTerrainRoles(*block, FormatEntryFor(layout.format).table);
  // The shipped tables are checked by the tests; a contradiction gives no roles rather
  // than wrong ones.
  if (!derived.ok()) return {};
  return derived.roles;
}

QuarterCase CaseOf(NeighbourMask mask, int position) {
  const CornerSides& corner = kCorners[position & 3];
  const bool vertical = Matches(mask, corner.vertical);
  const bool horizontal = Matches(mask, corner.horizontal);
  if (vertical && horizontal)
    return Matches(mask, corner.diagonal) ? QuarterCase::Full : QuarterCase::InnerCorner;
  if (vertical) return QuarterCase::VerticalSide;
  return horizontal ? QuarterCase::HorizontalSide : QuarterCase::OuterCorner;
}

}  // namespace korvanth
