// What a map editor's tileset file says about one saved sheet: its picture, its tile grid
// and, for the terrain formats, each tile's terrain match set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/layout_format.h"
#include "convert/terrain_roles.h"

namespace korvanth {

// The colour a terrain gets when its full tile shows nothing: 0xRRGGBB.
inline constexpr std::uint32_t kDefaultTerrainColour = 0x3C9A3C;

// How the terrain shows in the editors' panels.
struct TerrainLook {
  std::string name;                     // empty: the sheet's stem
  std::optional<std::uint32_t> colour;  // 0xRRGGBB; none: kDefaultTerrainColour
};

// One terrain of a tileset: how it shows in the editors' panels and the tiles that carry
// it, each with its match set.
struct TilesetTerrain {
  struct Tile {
    int id;  // the tile's index in the image, row by row
    NeighbourMask mask;
  };
  std::string name;
  std::uint32_t colour = kDefaultTerrainColour;  // 0xRRGGBB
  int thumbnailTile = -1;  // the tile that shows the terrain (its full tile); -1 for none
  std::vector<Tile> tiles;
};

// One picture cut into square tiles, and the terrains painted with them: a single sheet
// has one terrain (none for a sheet without terrain), an atlas one per terrain block.
struct TilesetDescription {
  std::string name;       // the tileset's name: the picture's stem
  std::string imagePath;  // the picture, relative to the tileset file (they sit side by side)
  PixelSize imageSize{0, 0};
  int tileSize = kTileSize;
  int columns = 0;
  std::vector<int> tiles;  // the ids of the cells that hold a tile, in the order written
  std::vector<TilesetTerrain> terrains;
  // Animated tiles: `count` tiles of `tiles` from index `first` on, each the first frame of
  // an animation of `frames` tiles, frame f lying f * frameStride tiles to its right in the
  // same row; the other frames' cells are no tiles of their own.
  struct Animation {
    std::size_t first = 0;
    std::size_t count = 0;
    int frames = 1;
    int frameStride = 0;
  };
  std::vector<Animation> animations;  // in the order of `tiles`, apart
  int frameMs = 0;                    // how long each frame shows
};

// Walks a description's tiles in order and says each one's animation, in constant time.
class AnimationCursor {
 public:
  explicit AnimationCursor(const TilesetDescription& tileset) : runs_(tileset.animations) {}
  // The animation tile `index` of `tiles` starts; null for a still tile. Indexes only grow.
  const TilesetDescription::Animation* At(std::size_t index) {
    while (next_ < runs_.size() && runs_[next_].first + runs_[next_].count <= index) ++next_;
    return next_ < runs_.size() && runs_[next_].first <= index ? &runs_[next_] : nullptr;
  }

 private:
  const std::vector<TilesetDescription::Animation>& runs_;
  std::size_t next_ = 0;
};

// The description of a sheet of `layout` saved under the file name `sheetFileName` (a
// name without folders, UTF-8), its terrain shown as `look` says.
TilesetDescription DescribeSheet(SheetLayout layout, std::string_view sheetFileName,
                                 const TerrainLook& look = {});

// The first tile whose every neighbour matches; none for a layout without one.
std::optional<int> FullTerrainTile(SheetLayout layout);

// Whether a sheet's file name can go into a tileset file as it stands: valid UTF-8
// without control characters (neither XML nor a Godot resource can carry those).
bool IsTilesetSafeName(std::string_view fileName);

}  // namespace korvanth
