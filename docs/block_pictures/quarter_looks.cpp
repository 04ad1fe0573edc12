// Each block quarter's look, gathered from every use the quarter table makes of it.
#include "quarter_looks.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "convert/terrain_roles.h"

namespace korvanth::block_pictures {

namespace {

constexpr const char* kCornerNames[4] = {"top-left", "top-right", "bottom-left", "bottom-right"};

// The side of a quarter in corner position `position` (TL, TR, BL, BR) that faces left or
// right, and the one that faces up or down.
unsigned AcrossSide(int position) { return position % 2 == 0 ? kLeftSide : kRightSide; }
unsigned UpDownSide(int position) { return position < 2 ? kTopSide : kBottomSide; }

QuarterLook TerrainLook(QuarterCase shown, int position) {
  QuarterLook look{QuarterKind::Terrain};
  switch (shown) {
    case QuarterCase::OuterCorner:
      look.border = AcrossSide(position) | UpDownSide(position);
      break;
    case QuarterCase::VerticalSide:  // the edge runs up and down beside the quarter
      look.border = AcrossSide(position);
      break;
    case QuarterCase::HorizontalSide:
      look.border = UpDownSide(position);
      break;
    case QuarterCase::InnerCorner:
      look.notch = position;
      break;
    case QuarterCase::Full:
      break;
  }
  return look;
}

// A quarter that never fills a position on one side carries that side's border.
QuarterLook PlainLook(unsigned positionsFilled) {
  if (positionsFilled == 0) return {};
  constexpr unsigned kLeftPositions = 0b0101, kRightPositions = 0b1010;
  constexpr unsigned kTopPositions = 0b0011, kBottomPositions = 0b1100;
  QuarterLook look{QuarterKind::Plain};
  if ((positionsFilled & kRightPositions) == 0) look.border |= kLeftSide;
  if ((positionsFilled & kLeftPositions) == 0) look.border |= kRightSide;
  if ((positionsFilled & kBottomPositions) == 0) look.border |= kTopSide;
  if ((positionsFilled & kTopPositions) == 0) look.border |= kBottomSide;
  return look;
}

std::string Where(QuarterRef q) {
  return "quarter (" + std::to_string(q.column) + "," + std::to_string(q.row) + ")";
}

}  // namespace

BlockLooks LooksOf(const FormatEntry& entry) {
  BlockLooks result;
  result.columns = entry.block.width / kQuarterSize;
  result.rows = entry.block.height / kQuarterSize;
  const auto count = static_cast<std::size_t>(result.columns) * result.rows;
  result.looks.resize(count);

  const bool terrain = !entry.terrain.empty();
  RoleDerivation derived;
  if (terrain) {
    derived = DeriveTerrainRoles(entry.terrain, entry.table);
    if (!derived.ok()) {
      result.problem = derived.problem;
      return result;
    }
  }
  std::vector<std::optional<QuarterLook>> asked(count);
  std::vector<unsigned> positionsFilled(count, 0);
  for (std::size_t tile = 0; tile < entry.table.size(); ++tile) {
    for (int position = 0; position < 4; ++position) {
      const QuarterRef q = entry.table[tile].quarters[position].source;
      if (q.column < 0 || q.column >= result.columns || q.row < 0 || q.row >= result.rows) {
        result.problem = Where(q) + " lies outside the block";
        return result;
      }
      const auto index = static_cast<std::size_t>(q.row) * result.columns + q.column;
      positionsFilled[index] |= 1u << position;
      if (!terrain) continue;
      const std::optional<NeighbourMask>& role = derived.roles[tile];
      const QuarterLook look =
          role ? TerrainLook(CaseOf(*role, position), position) : QuarterLook{QuarterKind::OwnTile};
      if (asked[index] && *asked[index] != look) {
        result.problem = Where(q) + ": tile " + std::to_string(tile) +
                         " asks it for another look than an earlier tile does";
        return result;
      }
      asked[index] = look;
    }
  }
  for (std::size_t i = 0; i < count; ++i)
    result.looks[i] = terrain ? asked[i].value_or(QuarterLook{}) : PlainLook(positionsFilled[i]);
  return result;
}

std::vector<std::string> LabelOf(const QuarterLook& look) {
  switch (look.kind) {
    case QuarterKind::NotRead:
      return {"not read"};
    case QuarterKind::OwnTile:
      return {"own tile"};
    case QuarterKind::Terrain:
    case QuarterKind::Plain:
      break;
  }
  if (look.notch >= 0) return {"inner corner", kCornerNames[look.notch]};
  const unsigned across = look.border & (kLeftSide | kRightSide);
  const unsigned upDown = look.border & (kTopSide | kBottomSide);
  const char* acrossName = across == kLeftSide ? "left" : "right";
  const char* upDownName = upDown == kTopSide ? "top" : "bottom";
  const bool oneAcross = across == kLeftSide || across == kRightSide;
  const bool oneUpDown = upDown == kTopSide || upDown == kBottomSide;
  if (look.border == 0) return {look.kind == QuarterKind::Terrain ? "full" : "middle"};
  if (oneAcross && oneUpDown) return {std::string(upDownName) + "-" + acrossName, "corner"};
  if (oneAcross && upDown == 0) return {acrossName, "edge"};
  if (oneUpDown && across == 0) return {upDownName, "edge"};
  // Borders on opposite sides: a strip one quarter wide or tall.
  std::string sides;
  for (const auto& [bit, name] : {std::pair{kTopSide, "top"}, std::pair{kBottomSide, "bottom"},
                                  std::pair{kLeftSide, "left"}, std::pair{kRightSide, "right"}}) {
    if ((look.border & bit) == 0) continue;
    sides += sides.empty() ? name : std::string(", ") + name;
  }
  return {sides, "edges"};
}

}  // namespace korvanth::block_pictures
