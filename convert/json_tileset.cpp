// A JSON dump of a tileset's description: its picture, grid, tiles and terrains.
#include "convert/text_stream.h"
#include "convert/tileset_description.h"

namespace korvanth {

void WriteJsonTileset(const TilesetDescription& tileset, TextStream& out) {
  // Names are tileset-safe (no control characters); quotes and backslashes are escaped.
  const auto quoted = [&](const std::string& text) {
    out << '"';
    for (const char c : text) {
      if (c == '"' || c == '\\') out << '\\';
      out << c;
    }
    out << '"';
  };
  out << "{\"name\": ";
  quoted(tileset.name);
  out << ", \"image\": ";
  quoted(tileset.imagePath);
  out << ", \"width\": " << tileset.imageSize.width << ", \"height\": " << tileset.imageSize.height
      << ", \"tileSize\": " << tileset.tileSize << ", \"columns\": " << tileset.columns
      << ", \"tiles\": [";
  for (std::size_t i = 0; i < tileset.tiles.size(); ++i) out << (i ? ", " : "") << tileset.tiles[i];
  out << "], \"terrains\": [";
  for (std::size_t t = 0; t < tileset.terrains.size(); ++t) {
    const TilesetTerrain& terrain = tileset.terrains[t];
    out << (t ? ", " : "") << "{\"name\": ";
    quoted(terrain.name);
    out << ", \"colour\": " << static_cast<long long>(terrain.colour) << ", \"tiles\": [";
    for (std::size_t i = 0; i < terrain.tiles.size(); ++i)
      out << (i ? ", " : "") << "[" << terrain.tiles[i].id << ", "
          << static_cast<int>(terrain.tiles[i].mask) << "]";
    out << "]}";
  }
  out << "]}\n";
}

}  // namespace korvanth
