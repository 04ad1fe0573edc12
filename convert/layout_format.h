// The three layout formats and the geometry their tables are written in: pixels, tiles
// (32 x 32) and quarters (16 x 16). The sizes and tables themselves live in the format
// registry (format_registry.h); the functions here read it.
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

PixelSize SelectionBlockSize(LayoutFormat format);
PixelSize SheetSize(LayoutFormat format);
LayoutTable LayoutTableFor(LayoutFormat format);
inline int TileCount(LayoutFormat format) {
  const PixelSize sheet = SheetSize(format);
  return (sheet.width / kTileSize) * (sheet.height / kTileSize);
}

// The format's command-line name ("terrain1", "terrain2", "roof") and back.
std::string_view LayoutFormatName(LayoutFormat format);
std::optional<LayoutFormat> LayoutFormatFromName(std::string_view name);

inline constexpr LayoutFormat kAllLayoutFormats[] = {LayoutFormat::Terrain1, LayoutFormat::Terrain2,
                                                     LayoutFormat::Roof};

}  // namespace korvanth
