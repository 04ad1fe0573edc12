// The quarter tables: their fixed facts and the invariants every entry keeps.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "convert/layout_format.h"

using namespace korvanth;

namespace {

using Quarters = std::vector<std::pair<int, int>>;

Quarters SourcesOf(LayoutFormat format, int tile) {
  Quarters sources;
  for (const QuarterPlacement& q : LayoutTableFor(format)[tile].quarters)
    sources.emplace_back(q.source.column, q.source.row);
  return sources;
}

TEST(LayoutFormatTest, SizesAndTileCounts) {
  EXPECT_EQ(SelectionBlockSize(LayoutFormat::Terrain1), (PixelSize{64, 96}));
  EXPECT_EQ(SelectionBlockSize(LayoutFormat::Terrain2), (PixelSize{96, 128}));
  EXPECT_EQ(SelectionBlockSize(LayoutFormat::Roof), (PixelSize{64, 64}));
  EXPECT_EQ(SheetSize(LayoutFormat::Terrain1), (PixelSize{128, 320}));
  EXPECT_EQ(SheetSize(LayoutFormat::Terrain2), (PixelSize{128, 384}));
  EXPECT_EQ(SheetSize(LayoutFormat::Roof), (PixelSize{96, 128}));
  EXPECT_EQ(TileCount(LayoutFormat::Terrain1), 40);
  EXPECT_EQ(TileCount(LayoutFormat::Terrain2), 48);
  EXPECT_EQ(TileCount(LayoutFormat::Roof), 12);
  for (LayoutFormat format : kAllLayoutFormats)
    EXPECT_EQ(LayoutTableFor(format).size(), static_cast<size_t>(TileCount(format)));
}

TEST(LayoutTableTest, DestinationsFollowTheTileOrderAndCoverTheSheetOnce) {
  for (LayoutFormat format : kAllLayoutFormats) {
    const PixelSize sheet = SheetSize(format);
    const int columns = sheet.width / 32;
    std::set<std::pair<int, int>> covered;
    const LayoutTable table = LayoutTableFor(format);
    for (int i = 0; i < static_cast<int>(table.size()); ++i) {
      const int c = i % columns;
      const int r = i / columns;
      const std::pair<int, int> expected[4] = {
          {2 * c, 2 * r}, {2 * c + 1, 2 * r}, {2 * c, 2 * r + 1}, {2 * c + 1, 2 * r + 1}};
      for (int q = 0; q < 4; ++q) {
        const QuarterRef d = table[i].quarters[q].destination;
        EXPECT_EQ(std::make_pair(d.column, d.row), expected[q]) << "tile " << i << " q " << q;
        EXPECT_TRUE(covered.insert({d.column, d.row}).second) << "tile " << i << " q " << q;
      }
    }
    EXPECT_EQ(covered.size(), static_cast<size_t>((sheet.width / 16) * (sheet.height / 16)));
  }
}

TEST(LayoutTableTest, SourcesLieInsideTheBlock) {
  for (LayoutFormat format : kAllLayoutFormats) {
    const PixelSize block = SelectionBlockSize(format);
    for (const LayoutTableEntry& tile : LayoutTableFor(format)) {
      for (const QuarterPlacement& q : tile.quarters) {
        EXPECT_GE(q.source.column, 0);
        EXPECT_GE(q.source.row, 0);
        EXPECT_LT(q.source.column, block.width / 16);
        EXPECT_LT(q.source.row, block.height / 16);
      }
    }
  }
}

TEST(LayoutTableTest, Terrain1ReadsTheTopRightTileOnlyInItsOwnPositions) {
  const LayoutTable table = LayoutTableFor(LayoutFormat::Terrain1);
  for (int i = 0; i < 40; ++i) {
    for (int q = 0; q < 4; ++q) {
      const QuarterRef s = table[i].quarters[q].source;
      EXPECT_FALSE(s.column < 2 && s.row < 2) << "tile " << i << " reads the unused top-left tile";
      if (s.row < 2) {
        EXPECT_GE(i, 16) << "tiles 0-15 read only the frame";
        EXPECT_EQ((s.column - 2) + 2 * s.row, q) << "tile " << i;
      }
    }
  }
}

TEST(LayoutTableTest, Terrain1WholeFrameTilesAndNoDuplicates) {
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 0), (Quarters{{0, 2}, {1, 2}, {0, 3}, {1, 3}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 1), (Quarters{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 4), (Quarters{{0, 4}, {1, 4}, {0, 5}, {1, 5}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 5), (Quarters{{2, 4}, {3, 4}, {2, 5}, {3, 5}}));
  // The centre quarters reversed both ways, only the columns, and rows kept in order.
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 14), (Quarters{{2, 4}, {1, 4}, {2, 3}, {1, 3}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 2), (Quarters{{2, 2}, {1, 2}, {2, 3}, {1, 3}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 3), (Quarters{{0, 3}, {1, 3}, {0, 4}, {1, 4}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain1, 39), (Quarters{{1, 2}, {2, 2}, {2, 1}, {1, 3}}));
  std::set<Quarters> seen;
  for (int i = 0; i < 40; ++i)
    EXPECT_TRUE(seen.insert(SourcesOf(LayoutFormat::Terrain1, i)).second) << "tile " << i;
}

TEST(LayoutTableTest, Terrain2RepeatsExactlyTheKnownTiles) {
  std::set<std::pair<int, int>> equalPairs;
  for (int a = 0; a < 48; ++a)
    for (int b = a + 1; b < 48; ++b)
      if (SourcesOf(LayoutFormat::Terrain2, a) == SourcesOf(LayoutFormat::Terrain2, b))
        equalPairs.insert({a, b});
  EXPECT_EQ(equalPairs, (std::set<std::pair<int, int>>{{11, 15}, {11, 19}, {15, 19}, {43, 44}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain2, 3), (Quarters{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Terrain2, 47), (Quarters{{2, 4}, {5, 0}, {4, 1}, {5, 1}}));
}

TEST(LayoutTableTest, RoofCentreAndCornerTiles) {
  EXPECT_EQ(SourcesOf(LayoutFormat::Roof, 4), (Quarters{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Roof, 0), (Quarters{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Roof, 2), (Quarters{{2, 0}, {3, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Roof, 6), (Quarters{{0, 2}, {1, 2}, {0, 3}, {1, 3}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Roof, 8), (Quarters{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
  EXPECT_EQ(SourcesOf(LayoutFormat::Roof, 11), (Quarters{{2, 0}, {3, 0}, {2, 3}, {3, 3}}));
}

}  // namespace
