// The three layout formats and the geometry their tables are written in: pixels, tiles
// (32 x 32) and quarters (16 x 16). The sizes and tables themselves live in the format
// registry (format_registry.h); the functions here read it. A conversion draws a format at
// any even tile size: the tables stay in quarters, and every pixel size scales by size / 32.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvanth {

enum class LayoutFormat : std::int32_t { Terrain1 = 0, Terrain2 = 1, Roof = 2 };

inline constexpr int kTileSize = 32;
inline constexpr int kQuarterSize = 16;

// A (column, row) pair counted in quarters.
struct QuarterRef {
  std::int32_t column;
  std::int32_t row;
  friend constexpr bool operator==(QuarterRef, QuarterRef) = default;
};

struct QuarterPlacement {
  QuarterRef destination;  // relative to the sheet's top-left corner
  QuarterRef source;       // relative to the selection block's top-left corner
};

// One sheet tile: its four quarters in the order TL, TR, BL, BR.
struct LayoutTableEntry {
  QuarterPlacement quarters[4];
};

using LayoutTable = std::span<const LayoutTableEntry>;

struct PixelSize {
  int width;
  int height;
  friend constexpr bool operator==(PixelSize, PixelSize) = default;
};

inline constexpr int kMinTileSize = 8;
inline constexpr int kMaxTileSize = 128;
// Tiles are even so that they split into whole quarters.
constexpr bool IsTileSize(int size) {
  return size >= kMinTileSize && size <= kMaxTileSize && size % 2 == 0;
}

// A format as one conversion draws it: its tile size and whether the terrain shapes its
// table lacks are appended after its own tiles. A bare format is the 32-pixel table as is.
struct SheetLayout {
  LayoutFormat format = LayoutFormat::Terrain1;
  int tileSize = kTileSize;  // IsTileSize
  bool complete = false;

  constexpr SheetLayout() = default;
  constexpr SheetLayout(LayoutFormat f, int size = kTileSize, bool all = false)  // NOLINT
      : format(f), tileSize(size), complete(all) {}
  constexpr int quarterSize() const { return tileSize / 2; }
  friend constexpr bool operator==(const SheetLayout&, const SheetLayout&) = default;
};

// The selection block and the sheet in pixels at the layout's tile size.
PixelSize SelectionBlockSize(SheetLayout layout);
PixelSize SheetSize(SheetLayout layout);
// Tiles per sheet row, and the tiles: the format's own, then for a complete terrain layout
// the shapes it lacks (complete_shapes.h). The last row's empty cells stay transparent.
int SheetColumns(SheetLayout layout);
LayoutTable LayoutTableFor(SheetLayout layout);
inline int TileCount(SheetLayout layout) { return static_cast<int>(LayoutTableFor(layout).size()); }

inline constexpr LayoutFormat kAllLayoutFormats[] = {LayoutFormat::Terrain1, LayoutFormat::Terrain2,
                                                     LayoutFormat::Roof};

}  // namespace korvanth
