#include "convert/tiled_tileset.h"

#include <cstdio>

namespace korvanth {

namespace {

// Text for an XML attribute value in double quotes.
std::string XmlAttribute(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Tiled counts every cell of the image, the empty cells after a completed set's last tile
// included; saying so keeps the file as Tiled writes it back.
int TiledTileCount(const TilesetDescription& tileset) {
  if (tileset.tileSize <= 0) return static_cast<int>(tileset.tiles.size());
  return (tileset.imageSize.width / tileset.tileSize) *
         (tileset.imageSize.height / tileset.tileSize);
}

// One mixed wang set whose single colour is the terrain.
std::string WangSet(const TilesetTerrain& terrain) {
  const std::string name = XmlAttribute(terrain.name);
  const std::string thumbnail = std::to_string(terrain.thumbnailTile);
  char colour[8];
  std::snprintf(colour, sizeof colour, "#%06x", terrain.colour & 0xFFFFFFu);
  std::string xml = "  <wangset name=\"" + name + "\" type=\"mixed\" tile=\"" + thumbnail + "\">\n";
  xml += "   <wangcolor name=\"" + name + "\" color=\"" + colour + "\" tile=\"" + thumbnail +
         "\" probability=\"1\"/>\n";
  for (const TilesetTerrain::Tile& tile : terrain.tiles) {
    // Tiled reads an all-zero wangid as "not in the set": a tile that matches no
    // neighbour (the lone tile) has no place in its corner-and-side model and is placed
    // by hand there.
    if (tile.mask == 0) continue;
    xml += "   <wangtile tileid=\"" + std::to_string(tile.id) + "\" wangid=\"" +
           TiledWangId(tile.mask) + "\"/>\n";
  }
  return xml + "  </wangset>\n";
}

// Every animated tile's <tile> element: its frames, itself first.
std::string AnimatedTiles(const TilesetDescription& tileset) {
  if (tileset.frames <= 1) return {};
  const std::string duration = std::to_string(tileset.frameMs);
  std::string xml;
  for (const int tile : tileset.tiles) {
    xml += " <tile id=\"" + std::to_string(tile) + "\">\n  <animation>\n";
    for (int frame = 0; frame < tileset.frames; ++frame)
      xml += "   <frame tileid=\"" + std::to_string(tile + frame * tileset.frameStride) +
             "\" duration=\"" + duration + "\"/>\n";
    xml += "  </animation>\n </tile>\n";
  }
  return xml;
}

}  // namespace

std::string TiledWangId(NeighbourMask mask) {
  // NeighbourMask's bit order is Tiled's wangid order.
  std::string id;
  for (int n = 0; n < kNeighbourCount; ++n) {
    if (n > 0) id += ',';
    id += (mask >> n) & 1 ? '1' : '0';
  }
  return id;
}

std::string TiledTilesetText(const TilesetDescription& tileset) {
  const std::string name = XmlAttribute(tileset.name);
  std::string xml;
  xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  // The TSX format of Tiled 1.8 and later, the release the files are checked against.
  xml += "<tileset version=\"1.8\" tiledversion=\"1.8.2\" name=\"" + name + "\" tilewidth=\"" +
         std::to_string(tileset.tileSize) + "\" tileheight=\"" + std::to_string(tileset.tileSize) +
         "\" tilecount=\"" + std::to_string(TiledTileCount(tileset)) + "\" columns=\"" +
         std::to_string(tileset.columns) + "\">\n";
  xml += " <image source=\"" + XmlAttribute(tileset.imagePath) + "\" width=\"" +
         std::to_string(tileset.imageSize.width) + "\" height=\"" +
         std::to_string(tileset.imageSize.height) + "\"/>\n";
  xml += AnimatedTiles(tileset);  // Tiled's order: the tiles before the wang sets
  if (!tileset.terrains.empty()) {
    xml += " <wangsets>\n";
    for (const TilesetTerrain& terrain : tileset.terrains) xml += WangSet(terrain);
    xml += " </wangsets>\n";
  }
  xml += "</tileset>\n";
  return xml;
}

}  // namespace korvanth
