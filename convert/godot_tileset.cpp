#include "convert/godot_tileset.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <utility>

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
std::string AnimationProperties(const TilesetDescription& tileset, const std::string& coords) {
  if (tileset.frames <= 1) return {};
  const std::string key = coords + "/animation_";
  std::string lines = key + "columns = 0\n";
  lines += key + "separation = " + Vector2i(tileset.frameStride - 1, 0) + "\n";
  lines += key + "frames_count = " + std::to_string(tileset.frames) + "\n";
  for (int frame = 0; frame < tileset.frames; ++frame)
    lines +=
        key + "frame_" + std::to_string(frame) + "/duration = " + Seconds(tileset.frameMs) + "\n";
  return lines;
}

// The engine's terrain set mode "match corners and sides".
constexpr int kMatchCornersAndSides = 0;

}  // namespace

std::string GodotTilesetText(const TilesetDescription& tileset) {
  // Each tile's terrain (its index in the terrain set) and match set.
  std::map<int, std::pair<std::size_t, NeighbourMask>> terrainOf;
  for (std::size_t k = 0; k < tileset.terrains.size(); ++k)
    for (const TilesetTerrain::Tile& tile : tileset.terrains[k].tiles)
      terrainOf[tile.id] = {k, tile.mask};
  std::string text;
  // Steps: the texture, the atlas source and the tileset itself.
  text += "[gd_resource type=\"TileSet\" load_steps=3 format=3]\n\n";
  text += "[ext_resource type=\"Texture2D\" path=" + GodotString(tileset.imagePath) +
          " id=\"1_sheet\"]\n\n";
  text += "[sub_resource type=\"TileSetAtlasSource\" id=\"TileSetAtlasSource_sheet\"]\n";
  text += "texture = ExtResource(\"1_sheet\")\n";
  text += "texture_region_size = " + Vector2i(tileset.tileSize, tileset.tileSize) + "\n";
  for (const int tile : tileset.tiles) {
    const std::string coords =
        std::to_string(tile % tileset.columns) + ":" + std::to_string(tile / tileset.columns);
    const std::string key = coords + "/0";
    // The animation first, as the engine saves a tile: reading it creates the tile, then
    // claims the frames' cells, which no tile may hold.
    text += AnimationProperties(tileset, coords);
    text += key + " = 0\n";
    const auto found = terrainOf.find(tile);
    if (found == terrainOf.end()) continue;
    const auto [terrain, mask] = found->second;
    text += key + "/terrain_set = 0\n";
    text += key + "/terrain = " + std::to_string(terrain) + "\n";
    for (int n = 0; n < kNeighbourCount; ++n) {
      const bool matches = (mask >> n) & 1;
      text += key + "/terrains_peering_bit/" + kPeeringBitNames[n] + " = " +
              (matches ? std::to_string(terrain) : "-1") + "\n";
    }
  }
  text += "\n[resource]\n";
  text += "tile_size = " + Vector2i(tileset.tileSize, tileset.tileSize) + "\n";
  if (!tileset.terrains.empty())
    text += "terrain_set_0/mode = " + std::to_string(kMatchCornersAndSides) + "\n";
  for (std::size_t k = 0; k < tileset.terrains.size(); ++k) {
    const std::string prefix = "terrain_set_0/terrain_" + std::to_string(k);
    text += prefix + "/name = " + GodotString(tileset.terrains[k].name) + "\n";
    text += prefix + "/color = " + GodotColour(tileset.terrains[k].colour) + "\n";
  }
  text += "sources/0 = SubResource(\"TileSetAtlasSource_sheet\")\n";
  return text;
}

}  // namespace korvanth
