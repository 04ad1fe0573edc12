// Completing the terrain formats: which block quarter stands for each corner position and
// case (worked out by hand from the tables as printed in the format registry), and the
// property that a completed sheet holds each of the 47 shapes, its added tiles agreeing
// with the block's own description.
#include <gtest/gtest.h>

#include <set>

#include "convert/complete_shapes.h"
#include "convert/format_registry.h"

using namespace korvanth;

namespace {

// Per position TL, TR, BL, BR: the quarter for OuterCorner, VerticalSide, HorizontalSide,
// InnerCorner, Full, read off the lowest-numbered tile of each table that shows the case.
struct CaseTable {
  LayoutFormat format;
  QuarterRef quarters[4][kQuarterCaseCount];
};
const CaseTable kCaseTables[] = {
    // Terrain1: the patch's corners and edges from tiles 0-5, the inner corners from 16-19.
    {LayoutFormat::Terrain1,
     {{{0, 2}, {0, 3}, {2, 2}, {2, 0}, {2, 4}},
      {{3, 2}, {3, 4}, {1, 2}, {3, 0}, {1, 3}},
      {{0, 5}, {0, 3}, {2, 5}, {2, 1}, {2, 3}},
      {{3, 5}, {3, 3}, {1, 5}, {3, 1}, {1, 3}}}},
    // Terrain2: the lower outer corners come from the closed tile (tile 3) before the
    // patch's lower row (tile 8) shows them.
    {LayoutFormat::Terrain2,
     {{{0, 2}, {0, 4}, {2, 2}, {4, 0}, {2, 4}},
      {{5, 2}, {5, 4}, {1, 2}, {5, 0}, {1, 4}},
      {{0, 1}, {0, 3}, {2, 7}, {4, 1}, {2, 3}},
      {{1, 1}, {5, 3}, {1, 7}, {5, 1}, {1, 3}}}},
};

TEST(CompleteShapesTest, EachCornerCaseComesFromTheLowestNumberedTileShowingIt) {
  for (const CaseTable& expected : kCaseTables) {
    const FormatEntry& entry = FormatEntryFor(expected.format);
    const CaseQuarters derived = QuartersByCase(entry.table, TerrainRolesFor(expected.format));
    for (int position = 0; position < 4; ++position)
      for (int c = 0; c < kQuarterCaseCount; ++c) {
        ASSERT_TRUE(derived[position][c].has_value()) << entry.cliName << " " << position << c;
        EXPECT_EQ(*derived[position][c], expected.quarters[position][c])
            << entry.cliName << " position " << position << " case " << c;
      }
  }
}

// Every mask in which each diagonal has both its sides: counted here by the rule itself.
std::set<NeighbourMask> AllShapes() {
  std::set<NeighbourMask> shapes;
  for (int m = 0; m < 256; ++m) {
    auto has = [m](int bit) { return (m >> bit & 1) != 0; };
    if ((!has(1) || (has(0) && has(2))) && (!has(3) || (has(2) && has(4))) &&
        (!has(5) || (has(4) && has(6))) && (!has(7) || (has(6) && has(0))))
      shapes.insert(NeighbourMask(m));
  }
  return shapes;
}

TEST(CompleteShapesTest, CompletedTerrainSheetsHoldEveryShapeOnce) {
  ASSERT_EQ(AllShapes().size(), 47u);
  struct Case {
    LayoutFormat format;
    std::size_t tiles;
    PixelSize sheet;
  };
  for (const Case& c : {Case{LayoutFormat::Terrain1, 47, {128, 384}},
                        Case{LayoutFormat::Terrain2, 51, {128, 416}}}) {
    const FormatEntry& entry = FormatEntryFor(c.format);
    const CompletedSheet& completed = CompletedSheetFor(c.format);
    SCOPED_TRACE(std::string(entry.cliName));
    EXPECT_TRUE(completed.unbuildable.empty());
    ASSERT_EQ(completed.table.size(), c.tiles);
    EXPECT_EQ(SheetSize({c.format, kTileSize, true}), c.sheet);
    EXPECT_EQ(SheetSize({c.format, 16, true}), (PixelSize{c.sheet.width / 2, c.sheet.height / 2}));

    std::set<NeighbourMask> shapes;
    for (const auto& role : completed.roles)
      if (role) shapes.insert(*role);
    EXPECT_EQ(shapes, AllShapes());
    // The added tiles are new shapes, each once, in increasing order, on the next cells.
    const TerrainRoles own = TerrainRolesFor(c.format);
    for (std::size_t tile = entry.table.size(); tile < completed.table.size(); ++tile) {
      const NeighbourMask shape = *completed.roles[tile];
      EXPECT_EQ(std::count(own.begin(), own.end(), shape), 0) << tile;
      if (tile > entry.table.size()) {
        EXPECT_GT(shape, *completed.roles[tile - 1]);
      }
      const int column = static_cast<int>(tile) % 4, row = static_cast<int>(tile) / 4;
      EXPECT_EQ(completed.table[tile].quarters[0].destination, (QuarterRef{2 * column, 2 * row}));
      EXPECT_EQ(completed.table[tile].quarters[3].destination,
                (QuarterRef{2 * column + 1, 2 * row + 1}));
    }
    // Read back against the block's description, the added tiles say what they were made for.
    const RoleDerivation again = DeriveTerrainRoles(entry.terrain, completed.table);
    ASSERT_TRUE(again.ok()) << again.problem;
    EXPECT_EQ(again.roles, completed.roles);
  }
  const CompletedSheet& roof = CompletedSheetFor(LayoutFormat::Roof);
  EXPECT_EQ(roof.table.size(), 12u);
  EXPECT_TRUE(roof.roles.empty());  // no terrain: its tilesets get no terrain set
  EXPECT_EQ(SheetSize({LayoutFormat::Roof, kTileSize, true}), (PixelSize{96, 128}));
}

// A table that never shows an inner corner gives no quarter for it: the shapes that need
// one are reported, not made up.
TEST(CompleteShapesTest, ShapesNeedingAQuarterNoTileShowsAreNotInvented) {
  const FormatEntry& entry = FormatEntryFor(LayoutFormat::Terrain1);
  const LayoutTable withoutInnerCorners = entry.table.first(16);
  TerrainRoles roles = TerrainRolesFor(LayoutFormat::Terrain1);
  roles.resize(16);
  const CompletedSheet completed = CompleteSheet(withoutInnerCorners, roles, 4);
  ASSERT_FALSE(completed.unbuildable.empty());
  auto needsInnerCorner = [](NeighbourMask shape) {
    for (int position = 0; position < 4; ++position)
      if (CaseOf(shape, position) == QuarterCase::InnerCorner) return true;
    return false;
  };
  for (const NeighbourMask shape : completed.unbuildable) EXPECT_TRUE(needsInnerCorner(shape));
  for (std::size_t tile = 16; tile < completed.table.size(); ++tile)
    EXPECT_FALSE(needsInnerCorner(*completed.roles[tile])) << tile;
  EXPECT_EQ(completed.table.size() - 16 + completed.unbuildable.size() + 16, AllShapes().size());
}

}  // namespace
