// Completing a terrain sheet: a terrain brush needs one tile for each of the 47 match sets
// in which a corner counts only when both sides beside it are terrain. A format's own
// tiles miss some of them, but each quarter of a tile depends only on its own corner
// (QuarterCase), so any missing tile can be put together from quarters the format's tiles
// already use in the same position and case.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "convert/layout_format.h"
#include "convert/terrain_roles.h"

namespace korvanth {

// The 47 match sets, in increasing order of their mask (bit 0 N, 1 NE, 2 E, 3 SE, 4 S,
// 5 SW, 6 W, 7 NW): the order in which missing ones are appended.
std::span<const NeighbourMask> BlobShapes();

// For each corner position (TL, TR, BL, BR) and case, the block quarter the table's
// lowest-numbered tile with that role uses there; none where no tile shows that case.
using CaseQuarters = std::array<std::array<std::optional<QuarterRef>, kQuarterCaseCount>, 4>;
CaseQuarters QuartersByCase(LayoutTable table, const TerrainRoles& roles);

struct CompletedSheet {
  std::vector<LayoutTableEntry> table;  // the format's tiles, then the added ones
  TerrainRoles roles;                   // one per tile of `table`
  // Match sets missing from the format that cannot be built, because no tile of it shows
  // one of the quarters they need; nothing is invented for them.
  std::vector<NeighbourMask> unbuildable;
};

// The format's table completed with every missing match set it can build, appended in
// BlobShapes order at sheet cells of `columns` per row.
CompletedSheet CompleteSheet(LayoutTable table, const TerrainRoles& roles, int columns);

// The completed table of a format, worked out once; a format without terrain is its own
// table unchanged.
const CompletedSheet& CompletedSheetFor(LayoutFormat format);

}  // namespace korvanth
