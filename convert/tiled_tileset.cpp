// Writes a Tiled tileset (.tsx): the picture, one mixed Wang set per terrain, animated tiles.
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
void WriteWangSet(const TilesetTerrain& terrain, TextStream& out) {
  const std::string name = XmlAttribute(terrain.name);
  char colour[8];
  std::snprintf(colour, sizeof colour, "#%06x", terrain.colour & 0xFFFFFFu);
  out << "  <wangset name=\"" << name << "\" type=\"mixed\" tile=\"" << terrain.thumbnailTile
      << "\">\n";
  out << "   <wangcolor name=\"" << name << "\" color=\"" << colour << "\" tile=\""
      << terrain.thumbnailTile << "\" probability=\"1\"/>\n";
  for (const TilesetTerrain::Tile& tile : terrain.tiles) {
    // Tiled reads an all-zero wangid as "not in the set": a tile that matches no
    // neighbour (the lone tile) has no place in its corner-and-side model and is placed
    // by hand there.
    if (tile.mask == 0) continue;
    out << "   <wangtile tileid=\"" << tile.id << "\" wangid=\"" << TiledWangId(tile.mask)
        << "\"/>\n";
  }
  out << "  </wangset>\n";
}

// Every animated tile's <tile> element: its frames, itself first.
void WriteAnimatedTiles(const TilesetDescription& tileset, TextStream& out) {
  if (tileset.animations.empty()) return;
  AnimationCursor animations(tileset);
  for (std::size_t index = 0; index < tileset.tiles.size(); ++index) {
    const TilesetDescription::Animation* animation = animations.At(index);
    if (animation == nullptr) continue;
    const int tile = tileset.tiles[index];
    out << " <tile id=\"" << tile << "\">\n  <animation>\n";
    for (int frame = 0; frame < animation->frames; ++frame)
      out << "   <frame tileid=\"" << tile + frame * animation->frameStride << "\" duration=\""
          << tileset.frameMs << "\"/>\n";
    out << "  </animation>\n </tile>\n";
  }
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

void WriteTiledTileset(const TilesetDescription& tileset, TextStream& out) {
  const std::string name = XmlAttribute(tileset.name);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  // The TSX format of Tiled 1.8 and later, the release the files are checked against.
  out << "<tileset version=\"1.8\" tiledversion=\"1.8.2\" name=\"" << name << "\" tilewidth=\""
      << tileset.tileSize << "\" tileheight=\"" << tileset.tileSize << "\" tilecount=\""
      << TiledTileCount(tileset) << "\" columns=\"" << tileset.columns << "\">\n";
  out << " <image source=\"" << XmlAttribute(tileset.imagePath) << "\" width=\""
      << tileset.imageSize.width << "\" height=\"" << tileset.imageSize.height << "\"/>\n";
  WriteAnimatedTiles(tileset, out);  // Tiled's order: the tiles before the wang sets
  if (!tileset.terrains.empty()) {
    out << " <wangsets>\n";
    for (const TilesetTerrain& terrain : tileset.terrains) WriteWangSet(terrain, out);
    out << " </wangsets>\n";
  }
  out << "</tileset>\n";
}

std::string TiledTilesetText(const TilesetDescription& tileset) {
  return TextOf([&](TextStream& out) { WriteTiledTileset(tileset, out); });
}

}  // namespace korvanth
