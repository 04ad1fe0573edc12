// Writes a Godot 4 TileSet (.tres): one atlas source, its terrain set, peering bits, animations.
#include "convert/godot_tileset.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

namespace korvanth {

namespace {

// A Godot string literal.
std::string GodotString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Vector2i(int x, int y) {
  return "Vector2i(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// The engine's names of the eight neighbours a square tile peers with, in NeighbourMask
// bit order (N, NE, E, SE, S, SW, W, NW).
constexpr const char* kPeeringBitNames[kNeighbourCount] = {
    "top_side",    "top_right_corner",   "right_side", "bottom_right_corner",
    "bottom_side", "bottom_left_corner", "left_side",  "top_left_corner",
};

// A colour as the engine writes one: each channel from 0 to 1 with six decimals.
std::string GodotColour(std::uint32_t rgb) {
  char text[64];
  std::snprintf(text, sizeof text, "Color(%.6f, %.6f, %.6f, 1)", (rgb >> 16 & 0xFF) / 255.0,
                (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
  return text;
}

// Seconds as the engine stores a frame's duration: the shortest decimal that reads back.
std::string Seconds(int milliseconds) {
  char text[32];
  const auto end =
      std::to_chars(text, text + sizeof text, milliseconds / 1000.0, std::chars_format::fixed).ptr;
  std::string seconds(text, end);
  return seconds.find('.') == std::string::npos ? seconds + ".0" : seconds;
}

// The animation of the tile at `coords` ("X:Y"). The engine puts frame f of the tile at
// (X, Y) + (1 + separation.x) * (f, 0) tiles when the animation has no columns
// (TileSetAtlasSource::get_tile_texture_region in scene/resources/2d/tile_set.cpp): a
// separation of one stride less one tile puts every frame a stride to the right.
void WriteAnimation(const TilesetDescription::Animation* animation, std::string_view coords,
                    const std::string& duration, TextStream& out) {
  if (animation == nullptr) return;
  out << coords << "/animation_columns = 0\n";
  out << coords << "/animation_separation = " << Vector2i(animation->frameStride - 1, 0) << '\n';
  out << coords << "/animation_frames_count = " << animation->frames << '\n';
  for (int frame = 0; frame < animation->frames; ++frame)
    out << coords << "/animation_frame_" << frame << "/duration = " << duration << '\n';
}

struct TerrainTile {
  int id;
  int terrain;
  NeighbourMask mask;
};

// The engine's terrain set mode "match corners and sides".
constexpr int kMatchCornersAndSides = 0;

}  // namespace

void WriteGodotTileset(const TilesetDescription& tileset, TextStream& out) {
  // Each tile's terrain (its index in the terrain set) and match set, by tile id: a sorted
  // list, a few bytes a tile however many an atlas holds.
  std::vector<TerrainTile> terrainOf;
  for (std::size_t k = 0; k < tileset.terrains.size(); ++k)
    for (const TilesetTerrain::Tile& tile : tileset.terrains[k].tiles)
      terrainOf.push_back({tile.id, static_cast<int>(k), tile.mask});
  std::stable_sort(terrainOf.begin(), terrainOf.end(),
                   [](const TerrainTile& a, const TerrainTile& b) { return a.id < b.id; });
  // Steps: the texture, the atlas source and the tileset itself.
  out << "[gd_resource type=\"TileSet\" load_steps=3 format=3]\n\n";
  out << "[ext_resource type=\"Texture2D\" path=" << GodotString(tileset.imagePath)
      << " id=\"1_sheet\"]\n\n";
  out << "[sub_resource type=\"TileSetAtlasSource\" id=\"TileSetAtlasSource_sheet\"]\n";
  out << "texture = ExtResource(\"1_sheet\")\n";
  out << "texture_region_size = " << Vector2i(tileset.tileSize, tileset.tileSize) << '\n';
  const std::string duration = Seconds(tileset.frameMs);
  std::string key;
  AnimationCursor animations(tileset);
  for (std::size_t index = 0; index < tileset.tiles.size(); ++index) {
    const int tile = tileset.tiles[index];
    key = std::to_string(tile % tileset.columns) + ":" + std::to_string(tile / tileset.columns);
    // The animation first, as the engine saves a tile: reading it creates the tile, then
    // claims the frames' cells, which no tile may hold.
    WriteAnimation(animations.At(index), key, duration, out);
    key += "/0";
    out << key << " = 0\n";
    const auto found =
        std::lower_bound(terrainOf.begin(), terrainOf.end(), tile,
                         [](const TerrainTile& entry, int id) { return entry.id < id; });
    if (found == terrainOf.end() || found->id != tile) continue;
    const int terrain = found->terrain;
    const NeighbourMask mask = found->mask;
    out << key << "/terrain_set = 0\n";
    out << key << "/terrain = " << terrain << '\n';
    // A bit that matches no terrain is -1, the engine's default, which it leaves out of
    // the files it saves (TileData::_get_property_list): only matching bits are written.
    for (int n = 0; n < kNeighbourCount; ++n)
      if ((mask >> n) & 1)
        out << key << "/terrains_peering_bit/" << kPeeringBitNames[n] << " = " << terrain << '\n';
  }
  out << "\n[resource]\n";
  out << "tile_size = " << Vector2i(tileset.tileSize, tileset.tileSize) << '\n';
  if (!tileset.terrains.empty()) out << "terrain_set_0/mode = " << kMatchCornersAndSides << '\n';
  for (std::size_t k = 0; k < tileset.terrains.size(); ++k) {
    out << "terrain_set_0/terrain_" << k << "/name = " << GodotString(tileset.terrains[k].name)
        << '\n';
    out << "terrain_set_0/terrain_" << k << "/color = " << GodotColour(tileset.terrains[k].colour)
        << '\n';
  }
  out << "sources/0 = SubResource(\"TileSetAtlasSource_sheet\")\n";
}

std::string GodotTilesetText(const TilesetDescription& tileset) {
  return TextOf([&](TextStream& out) { WriteGodotTileset(tileset, out); });
}

}  // namespace korvanth
