// The layout formats' registry: each one's quarter table, block and sheet sizes and names.
#include "convert/format_registry.h"

#include <array>
#include <cstddef>
#include <iterator>

namespace korvanth {

namespace {

// Source quarters of one sheet tile, in the order TL, TR, BL, BR.
struct SourceQuarters {
  QuarterRef tl, tr, bl, br;
};

// Terrain1: 40 tiles; per sheet tile the source quarters TL, TR, BL, BR.
constexpr SourceQuarters kTerrain1Sources[] = {
    {{0, 2}, {1, 2}, {0, 3}, {1, 3}},  // 0
    {{2, 2}, {3, 2}, {2, 3}, {3, 3}},  // 1
    {{2, 2}, {1, 2}, {2, 3}, {1, 3}},  // 2
    {{0, 3}, {1, 3}, {0, 4}, {1, 4}},  // 3
    {{0, 4}, {1, 4}, {0, 5}, {1, 5}},  // 4
    {{2, 4}, {3, 4}, {2, 5}, {3, 5}},  // 5
    {{2, 4}, {1, 4}, {2, 5}, {1, 5}},  // 6
    {{2, 3}, {3, 3}, {2, 4}, {3, 4}},  // 7
    {{0, 2}, {3, 2}, {0, 3}, {3, 3}},  // 8
    {{0, 2}, {1, 2}, {0, 5}, {1, 5}},  // 9
    {{2, 2}, {3, 2}, {2, 5}, {3, 5}},  // 10
    {{1, 2}, {2, 2}, {1, 5}, {2, 5}},  // 11
    {{0, 3}, {3, 3}, {0, 4}, {3, 4}},  // 12
    {{0, 4}, {3, 4}, {0, 5}, {3, 5}},  // 13
    {{2, 4}, {1, 4}, {2, 3}, {1, 3}},  // 14
    {{0, 2}, {3, 2}, {0, 5}, {3, 5}},  // 15
    {{2, 0}, {1, 4}, {2, 3}, {1, 3}},  // 16
    {{2, 4}, {3, 0}, {2, 3}, {1, 3}},  // 17
    {{2, 4}, {1, 4}, {2, 3}, {3, 1}},  // 18
    {{2, 4}, {1, 4}, {2, 1}, {1, 3}},  // 19
    {{2, 0}, {1, 4}, {2, 1}, {1, 3}},  // 20
    {{2, 0}, {3, 0}, {2, 3}, {1, 3}},  // 21
    {{2, 4}, {3, 0}, {2, 3}, {3, 1}},  // 22
    {{2, 4}, {1, 4}, {2, 1}, {3, 1}},  // 23
    {{0, 2}, {1, 2}, {0, 4}, {3, 1}},  // 24
    {{0, 3}, {3, 0}, {0, 5}, {1, 5}},  // 25
    {{2, 2}, {3, 2}, {2, 1}, {3, 4}},  // 26
    {{2, 0}, {3, 3}, {2, 5}, {3, 5}},  // 27
    {{2, 0}, {3, 3}, {2, 1}, {3, 4}},  // 28
    {{2, 0}, {3, 0}, {1, 5}, {2, 5}},  // 29
    {{0, 3}, {3, 0}, {0, 4}, {3, 1}},  // 30
    {{1, 2}, {2, 2}, {2, 1}, {3, 1}},  // 31
    {{2, 4}, {3, 3}, {2, 1}, {3, 4}},  // 32
    {{2, 4}, {3, 0}, {1, 5}, {2, 5}},  // 33
    {{0, 3}, {1, 4}, {0, 4}, {3, 1}},  // 34
    {{1, 2}, {2, 2}, {2, 3}, {3, 1}},  // 35
    {{2, 0}, {3, 3}, {2, 3}, {3, 4}},  // 36
    {{2, 0}, {1, 4}, {1, 5}, {2, 5}},  // 37
    {{0, 3}, {3, 0}, {0, 4}, {1, 3}},  // 38
    {{1, 2}, {2, 2}, {2, 1}, {1, 3}},  // 39
};

// Terrain2: 48 tiles; per sheet tile the source quarters TL, TR, BL, BR.
constexpr SourceQuarters kTerrain2Sources[] = {
    {{0, 2}, {1, 2}, {0, 3}, {1, 3}},  // 0
    {{2, 2}, {3, 2}, {2, 3}, {3, 3}},  // 1
    {{4, 2}, {5, 2}, {4, 3}, {5, 3}},  // 2
    {{0, 0}, {1, 0}, {0, 1}, {1, 1}},  // 3
    {{0, 4}, {1, 4}, {0, 5}, {1, 5}},  // 4
    {{2, 4}, {3, 4}, {2, 5}, {3, 5}},  // 5
    {{4, 4}, {5, 4}, {4, 5}, {5, 5}},  // 6
    {{4, 0}, {5, 0}, {4, 1}, {5, 1}},  // 7
    {{0, 6}, {1, 6}, {0, 7}, {1, 7}},  // 8
    {{2, 6}, {3, 6}, {2, 7}, {3, 7}},  // 9
    {{4, 6}, {5, 6}, {4, 7}, {5, 7}},  // 10
    {{2, 0}, {3, 0}, {2, 1}, {3, 1}},  // 11
    {{0, 0}, {3, 2}, {0, 1}, {3, 7}},  // 12
    {{2, 2}, {3, 2}, {2, 7}, {3, 7}},  // 13
    {{2, 2}, {1, 0}, {2, 7}, {1, 1}},  // 14
    {{2, 0}, {3, 0}, {2, 1}, {3, 1}},  // 15
    {{0, 0}, {1, 0}, {0, 5}, {5, 5}},  // 16
    {{0, 4}, {5, 4}, {0, 5}, {5, 5}},  // 17
    {{0, 4}, {5, 4}, {0, 1}, {1, 1}},  // 18
    {{2, 0}, {3, 0}, {2, 1}, {3, 1}},  // 19
    {{0, 2}, {1, 2}, {0, 3}, {5, 1}},  // 20
    {{4, 2}, {5, 2}, {4, 1}, {5, 3}},  // 21
    {{4, 0}, {5, 6}, {4, 7}, {5, 7}},  // 22
    {{0, 6}, {5, 0}, {0, 7}, {1, 7}},  // 23
    {{2, 2}, {3, 2}, {4, 1}, {5, 1}},  // 24
    {{4, 0}, {5, 4}, {4, 1}, {5, 5}},  // 25
    {{4, 0}, {5, 0}, {2, 7}, {3, 7}},  // 26
    {{0, 4}, {5, 0}, {0, 5}, {5, 1}},  // 27
    {{2, 2}, {3, 2}, {4, 1}, {3, 5}},  // 28
    {{4, 0}, {5, 4}, {2, 5}, {5, 5}},  // 29
    {{4, 0}, {3, 4}, {2, 7}, {3, 7}},  // 30
    {{0, 4}, {5, 0}, {0, 5}, {3, 5}},  // 31
    {{2, 2}, {3, 2}, {2, 5}, {5, 1}},  // 32
    {{2, 4}, {5, 4}, {4, 1}, {5, 5}},  // 33
    {{2, 4}, {5, 0}, {2, 7}, {3, 7}},  // 34
    {{0, 4}, {3, 4}, {0, 5}, {5, 1}},  // 35
    {{2, 4}, {3, 4}, {2, 5}, {5, 1}},  // 36
    {{2, 4}, {3, 4}, {4, 1}, {3, 5}},  // 37
    {{4, 0}, {3, 4}, {2, 5}, {3, 5}},  // 38
    {{2, 4}, {5, 0}, {2, 5}, {3, 5}},  // 39
    {{2, 4}, {3, 4}, {4, 1}, {5, 1}},  // 40
    {{4, 0}, {3, 4}, {4, 1}, {3, 5}},  // 41
    {{4, 0}, {5, 0}, {2, 5}, {3, 5}},  // 42
    {{2, 4}, {5, 0}, {2, 5}, {5, 1}},  // 43
    {{2, 4}, {5, 0}, {2, 5}, {5, 1}},  // 44
    {{4, 0}, {3, 4}, {4, 1}, {5, 1}},  // 45
    {{4, 0}, {5, 0}, {4, 1}, {3, 5}},  // 46
    {{2, 4}, {5, 0}, {4, 1}, {5, 1}},  // 47
};

// Roof: 12 tiles; per sheet tile the source quarters TL, TR, BL, BR.
constexpr SourceQuarters kRoofSources[] = {
    {{0, 0}, {1, 0}, {0, 1}, {1, 1}},  // 0
    {{1, 0}, {2, 0}, {1, 1}, {2, 1}},  // 1
    {{2, 0}, {3, 0}, {2, 1}, {3, 1}},  // 2
    {{0, 1}, {1, 1}, {0, 2}, {1, 2}},  // 3
    {{1, 1}, {2, 1}, {1, 2}, {2, 2}},  // 4
    {{2, 1}, {3, 1}, {2, 2}, {3, 2}},  // 5
    {{0, 2}, {1, 2}, {0, 3}, {1, 3}},  // 6
    {{1, 2}, {2, 2}, {1, 3}, {2, 3}},  // 7
    {{2, 2}, {3, 2}, {2, 3}, {3, 3}},  // 8
    {{0, 0}, {1, 0}, {0, 3}, {1, 3}},  // 9
    {{1, 0}, {2, 0}, {1, 3}, {2, 3}},  // 10
    {{2, 0}, {3, 0}, {2, 3}, {3, 3}},  // 11
};
// Tile i sits at sheet cell (i mod columns, i div columns); its quarters fill that cell
// in the order TL, TR, BL, BR.
template <std::size_t N>
constexpr std::array<LayoutTableEntry, N> PlaceTiles(const SourceQuarters (&sources)[N],
                                                     int sheetColumns) {
  std::array<LayoutTableEntry, N> table{};
  for (std::size_t i = 0; i < N; ++i) {
    const int c = static_cast<int>(i) % sheetColumns;
    const int r = static_cast<int>(i) / sheetColumns;
    const QuarterRef from[4] = {sources[i].tl, sources[i].tr, sources[i].bl, sources[i].br};
    for (int q = 0; q < 4; ++q) {
      table[i].quarters[q] = {{2 * c + q % 2, 2 * r + q / 2}, from[q]};
    }
  }
  return table;
}

constexpr int kTerrainColumns = 4;
constexpr int kRoofColumns = 3;
constexpr auto kTerrain1Table = PlaceTiles(kTerrain1Sources, kTerrainColumns);
constexpr auto kTerrain2Table = PlaceTiles(kTerrain2Sources, kTerrainColumns);
constexpr auto kRoofTable = PlaceTiles(kRoofSources, kRoofColumns);

// Terrain1: left of the top row a tile that is never read, right of it the inner-corner
// tile; below them a patch of 2 x 2 tiles.
constexpr BlockRegion kTerrain1Block[] = {
    {0, 0, 2, 2, BlockPart::Unread},
    {2, 0, 2, 2, BlockPart::InnerCorner},
    {0, 2, 4, 4, BlockPart::Patch},
};

// Terrain2: a top row of the closed tile, the artist's own tile and the inner-corner
// tile; below them a patch of 3 x 3 tiles.
constexpr BlockRegion kTerrain2Block[] = {
    {0, 0, 2, 2, BlockPart::Closed},
    {2, 0, 2, 2, BlockPart::OwnTile},
    {4, 0, 2, 2, BlockPart::InnerCorner},
    {0, 2, 6, 6, BlockPart::Patch},
};

constexpr FormatEntry kRegistry[] = {
    {LayoutFormat::Terrain1,
     "Terrain1",
     "terrain1",
     {64, 96},
     {128, 320},
     kTerrainColumns,
     kTerrain1Table,
     kTerrain1Block},
    {LayoutFormat::Terrain2,
     "Terrain2",
     "terrain2",
     {96, 128},
     {128, 384},
     kTerrainColumns,
     kTerrain2Table,
     kTerrain2Block},
    {LayoutFormat::Roof, "Roof", "roof", {64, 64}, {96, 128}, kRoofColumns, kRoofTable, {}},
};

// Each entry sits at its format's value, so a format finds its entry by index; its sheet
// is exactly its tiles, whole rows of them.
constexpr bool EntriesAreConsistent() {
  for (std::size_t i = 0; i < std::size(kRegistry); ++i) {
    const FormatEntry& e = kRegistry[i];
    if (static_cast<std::size_t>(e.format) != i) return false;
    if (e.sheet.width != e.sheetColumns * kTileSize) return false;
    int covered = 0;
    for (const BlockRegion& region : e.terrain) covered += region.columns * region.rows;
    if (!e.terrain.empty() &&
        covered * kQuarterSize * kQuarterSize != e.block.width * e.block.height)
      return false;
    if (e.table.size() * kTileSize * kTileSize !=
        static_cast<std::size_t>(e.sheet.width) * static_cast<std::size_t>(e.sheet.height))
      return false;
  }
  return true;
}
static_assert(EntriesAreConsistent());

}  // namespace

std::span<const FormatEntry> FormatRegistry() { return kRegistry; }

const FormatEntry& FormatEntryFor(LayoutFormat format) {
  const auto index = static_cast<std::size_t>(format);
  return index < std::size(kRegistry) ? kRegistry[index] : kRegistry[0];
}

const FormatEntry* FormatEntryForCliName(std::string_view cliName) {
  for (const FormatEntry& entry : kRegistry)
    if (entry.cliName == cliName) return &entry;
  return nullptr;
}

}  // namespace korvanth
