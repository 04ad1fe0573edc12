// Describes a saved sheet for the tileset writers: picture, tile grid and terrain match sets.
#include "convert/tileset_description.h"

#include <utility>

#include "convert/utf8_path.h"

namespace korvanth {

TilesetDescription DescribeSheet(SheetLayout layout, std::string_view sheetFileName,
                                 const TerrainLook& look) {
  TilesetDescription description;
  description.name = std::string(FileStem(sheetFileName));
  description.imagePath = std::string(sheetFileName);
  description.imageSize = SheetSize(layout);
  description.tileSize = layout.tileSize;
  description.columns = SheetColumns(layout);
  for (int tile = 0; tile < TileCount(layout); ++tile) description.tiles.push_back(tile);
  const TerrainRoles roles = TerrainRolesFor(layout);
  if (roles.empty()) return description;
  TilesetTerrain terrain;
  terrain.name = look.name.empty() ? description.name : look.name;
  terrain.colour = look.colour.value_or(kDefaultTerrainColour);
  terrain.thumbnailTile = FullTerrainTile(layout).value_or(-1);
  for (std::size_t tile = 0; tile < roles.size(); ++tile)
    if (roles[tile]) terrain.tiles.push_back({static_cast<int>(tile), *roles[tile]});
  description.terrains.push_back(std::move(terrain));
  return description;
}

std::optional<int> FullTerrainTile(SheetLayout layout) {
  const TerrainRoles roles = TerrainRolesFor(layout);
  for (std::size_t tile = 0; tile < roles.size(); ++tile)
    if (roles[tile] == NeighbourMask{0xFF}) return static_cast<int>(tile);
  return std::nullopt;
}

bool IsTilesetSafeName(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (c < 0x80) {
      ++i;
      continue;
    }
    // Lead byte: length and the smallest code point that length may carry.
    int length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if ((c & 0xE0) == 0xC0) {
      length = 2, point = c & 0x1F, minimum = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3, point = c & 0x0F, minimum = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4, point = c & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
    if (point >= 0x80 && point < 0xA0) return false;  // C1 controls
    i += length;
  }
  return true;
}

}  // namespace korvanth
