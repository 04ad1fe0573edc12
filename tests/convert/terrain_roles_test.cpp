// Terrain match sets derived from the quarter tables: counts, tiles worked out by hand
// from the tables as printed, and contradictions the derivation must refuse.
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <vector>

#include "convert/terrain_roles.h"
#include "support/format_names.h"

using namespace korvanth;

namespace {

using korvanth::Neighbour;
using korvanth::NeighbourMask;

NeighbourMask MaskOf(std::initializer_list<Neighbour> neighbours) {
  NeighbourMask mask = 0;
  for (Neighbour n : neighbours) mask |= korvanth::Bit(n);
  return mask;
}

constexpr auto N = Neighbour::N, NE = Neighbour::NE, E = Neighbour::E, SE = Neighbour::SE,
               S = Neighbour::S, SW = Neighbour::SW, W = Neighbour::W, NW = Neighbour::NW;

// The combinations a complete corner-and-side set has: a diagonal only with both sides.
bool IsCornerAndSideCombination(NeighbourMask m) {
  using korvanth::Matches;
  return (!Matches(m, NE) || (Matches(m, N) && Matches(m, E))) &&
         (!Matches(m, SE) || (Matches(m, S) && Matches(m, E))) &&
         (!Matches(m, SW) || (Matches(m, S) && Matches(m, W))) &&
         (!Matches(m, NW) || (Matches(m, N) && Matches(m, W)));
}

TEST(TerrainRolesTest, ACompleteCornerAndSideSetHas47Combinations) {
  int count = 0;
  for (int m = 0; m < 256; ++m) count += IsCornerAndSideCombination(NeighbourMask(m));
  EXPECT_EQ(count, 47);
}

TEST(TerrainRolesTest, Terrain1HasFortyDistinctCombinations) {
  const korvanth::TerrainRoles roles = korvanth::TerrainRolesFor(LayoutFormat::Terrain1);
  ASSERT_EQ(roles.size(), 40u);
  std::set<NeighbourMask> distinct;
  for (const auto& role : roles) {
    ASSERT_TRUE(role.has_value());
    EXPECT_TRUE(IsCornerAndSideCombination(*role));
    distinct.insert(*role);
  }
  EXPECT_EQ(distinct.size(), 40u);
}

TEST(TerrainRolesTest, Terrain2HasFortyFiveTilesWithRolesAndFortyFourCombinations) {
  const korvanth::TerrainRoles roles = korvanth::TerrainRolesFor(LayoutFormat::Terrain2);
  ASSERT_EQ(roles.size(), 48u);
  std::set<NeighbourMask> distinct;
  int withRole = 0;
  for (int tile = 0; tile < 48; ++tile) {
    const bool ownTile = tile == 11 || tile == 15 || tile == 19;
    EXPECT_EQ(roles[tile].has_value(), !ownTile) << "tile " << tile;
    if (!roles[tile]) continue;
    ++withRole;
    EXPECT_TRUE(IsCornerAndSideCombination(*roles[tile])) << "tile " << tile;
    distinct.insert(*roles[tile]);
  }
  EXPECT_EQ(withRole, 45);
  EXPECT_EQ(distinct.size(), 44u);
  EXPECT_EQ(roles[43], roles[44]);
}

TEST(TerrainRolesTest, RoofHasNoRoles) {
  EXPECT_FALSE(korvanth::TerrainBlockFor(LayoutFormat::Roof).has_value());
  EXPECT_TRUE(korvanth::TerrainRolesFor(LayoutFormat::Roof).empty());
}

// Worked out by hand from the printed tables: each quarter's block position gives its
// two sides and diagonal.
struct HandTile {
  LayoutFormat format;
  int tile;
  std::optional<NeighbourMask> expected;
};

TEST(TerrainRolesTest, TilesWorkedOutByHand) {
  const HandTile cases[] = {
      // Terrain1 0: patch top-left tile, open towards E, SE, S.
      {LayoutFormat::Terrain1, 0, MaskOf({E, SE, S})},
      // Terrain1 1: patch top-right tile.
      {LayoutFormat::Terrain1, 1, MaskOf({S, SW, W})},
      // Terrain1 5: patch bottom-right tile.
      {LayoutFormat::Terrain1, 5, MaskOf({N, NW, W})},
      // Terrain1 14: the four centre quarters: surrounded.
      {LayoutFormat::Terrain1, 14, MaskOf({N, NE, E, SE, S, SW, W, NW})},
      // Terrain1 15: the four outer corners: alone.
      {LayoutFormat::Terrain1, 15, MaskOf({})},
      // Terrain1 16: inner corner top-left, the rest centre quarters.
      {LayoutFormat::Terrain1, 16, MaskOf({N, NE, E, SE, S, SW, W})},
      // Terrain1 20: inner corners on the left.
      {LayoutFormat::Terrain1, 20, MaskOf({N, NE, E, SE, S, W})},
      // Terrain1 23: inner corners at the bottom.
      {LayoutFormat::Terrain1, 23, MaskOf({N, NE, E, S, W, NW})},
      // Terrain2 3: the closed tile.
      {LayoutFormat::Terrain2, 3, MaskOf({})},
      // Terrain2 4: patch left edge.
      {LayoutFormat::Terrain2, 4, MaskOf({N, NE, E, SE, S})},
      // Terrain2 5: patch centre.
      {LayoutFormat::Terrain2, 5, MaskOf({N, NE, E, SE, S, SW, W, NW})},
      // Terrain2 7: the whole inner-corner tile.
      {LayoutFormat::Terrain2, 7, MaskOf({N, E, S, W})},
      // Terrain2 11: the artist's tile.
      {LayoutFormat::Terrain2, 11, std::nullopt},
      // Terrain2 12: closed left half, top-and-bottom-edge right half: an end open to E.
      {LayoutFormat::Terrain2, 12, MaskOf({E})},
      // Terrain2 43: inner corners on the right.
      {LayoutFormat::Terrain2, 43, MaskOf({N, S, SW, W, NW, E})},
  };
  for (const HandTile& c : cases) {
    const korvanth::TerrainRoles roles = korvanth::TerrainRolesFor(c.format);
    ASSERT_LT(c.tile, static_cast<int>(roles.size()));
    EXPECT_EQ(roles[c.tile], c.expected) << LayoutFormatName(c.format) << " tile " << c.tile
                                         << " got " << (roles[c.tile] ? int(*roles[c.tile]) : -1);
  }
}

// A one-tile table built from four source quarters.
std::vector<LayoutTableEntry> OneTile(QuarterRef tl, QuarterRef tr, QuarterRef bl, QuarterRef br) {
  LayoutTableEntry entry{};
  const QuarterRef sources[4] = {tl, tr, bl, br};
  for (int q = 0; q < 4; ++q) entry.quarters[q] = {{q % 2, q / 2}, sources[q]};
  return {entry};
}

TEST(TerrainRolesTest, RefusesTablesThatContradictTheBlock) {
  const korvanth::TerrainBlock terrain1 = *korvanth::TerrainBlockFor(LayoutFormat::Terrain1);
  const korvanth::TerrainBlock terrain2 = *korvanth::TerrainBlockFor(LayoutFormat::Terrain2);
  struct Case {
    const char* what;
    korvanth::TerrainBlock block;
    std::vector<LayoutTableEntry> table;
  };
  const Case cases[] = {
      // TL says N does not match (top row), TR says it does.
      {"sides disagree", terrain1, OneTile({0, 2}, {1, 3}, {0, 3}, {1, 3})},
      {"inner corner out of position", terrain1, OneTile({3, 0}, {1, 4}, {2, 3}, {1, 3})},
      {"never-read tile", terrain1, OneTile({0, 0}, {1, 4}, {2, 3}, {1, 3})},
      {"outside the block", terrain1, OneTile({4, 2}, {1, 4}, {2, 3}, {1, 3})},
      {"closed quarter out of position", terrain2, OneTile({1, 0}, {1, 0}, {0, 1}, {1, 1})},
      {"part of the artist's tile", terrain2, OneTile({2, 0}, {3, 0}, {2, 5}, {3, 5})},
      // A left-column quarter in a right position draws its border inside the tile.
      {"patch edge inside the tile", terrain1, OneTile({2, 3}, {0, 3}, {2, 4}, {1, 4})},
  };
  for (const Case& c : cases) {
    const korvanth::RoleDerivation derived = korvanth::DeriveTerrainRoles(c.block, c.table);
    EXPECT_FALSE(derived.ok()) << c.what;
  }
  // And a sound tile passes.
  EXPECT_TRUE(korvanth::DeriveTerrainRoles(terrain1, OneTile({2, 0}, {1, 4}, {2, 3}, {1, 3})).ok());
}

// Which outer edges of the patch a quarter lies on (bit 0 top, 1 bottom, 2 left, 3 right),
// from the printed block layout; -1 outside the patch.
int PatchEdges(LayoutFormat format, QuarterRef q) {
  const int lastColumn = format == LayoutFormat::Terrain1 ? 3 : 5;
  const int lastRow = format == LayoutFormat::Terrain1 ? 5 : 7;
  if (q.row < 2) return -1;
  return (q.row == 2) | (q.row == lastRow) << 1 | (q.column == 0) << 2 |
         (q.column == lastColumn) << 3;
}

TEST(TerrainRolesTest, AWrongTableEntryChangesOrBreaksTheRoles) {
  // Swapping two quarter sources of a terrain tile must not go unnoticed (the derivation
  // refuses it or some tile's set changes) unless both quarters look alike: patch
  // quarters on the same outer edges, or the artist's own tile.
  for (LayoutFormat format : {LayoutFormat::Terrain1, LayoutFormat::Terrain2}) {
    const korvanth::TerrainBlock block = *korvanth::TerrainBlockFor(format);
    const LayoutTable shipped = LayoutTableFor(format);
    const korvanth::TerrainRoles expected = korvanth::TerrainRolesFor(format);
    int noticed = 0;
    for (size_t tile = 0; tile < shipped.size(); ++tile) {
      for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
          std::vector<LayoutTableEntry> table(shipped.begin(), shipped.end());
          QuarterRef& first = table[tile].quarters[a].source;
          QuarterRef& second = table[tile].quarters[b].source;
          if (first == second) continue;
          const bool alike = !expected[tile].has_value() ||
                             (PatchEdges(format, first) >= 0 &&
                              PatchEdges(format, first) == PatchEdges(format, second));
          std::swap(first, second);
          const korvanth::RoleDerivation derived = korvanth::DeriveTerrainRoles(block, table);
          const bool unseen = derived.ok() && derived.roles == expected;
          EXPECT_EQ(unseen, alike)
              << LayoutFormatName(format) << " tile " << tile << " swap " << a << b;
          noticed += !unseen;
        }
      }
    }
    EXPECT_GT(noticed, 100);
  }
}

}  // namespace
