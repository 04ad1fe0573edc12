// The tileset files: Tiled's .tsx read back with Qt's XML reader, Godot's .tres read back
// with a small parser of its own; both checked against expectations worked out here.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "convert/godot_tileset.h"
#include "convert/tiled_tileset.h"
#include "convert/tileset_description.h"

using namespace korvanth;

namespace {

using korvanth::NeighbourMask;

// Terrain1 tile 0 opens towards E, SE and S (worked out by hand from the table).
constexpr NeighbourMask kTerrain1Tile0 = (1 << 2) | (1 << 3) | (1 << 4);

TEST(TilesetDescriptionTest, DescribesTheSheet) {
  const korvanth::TilesetDescription t1 =
      korvanth::DescribeSheet(LayoutFormat::Terrain1, "grass.sheet.png");
  EXPECT_EQ(t1.name, "grass.sheet");
  EXPECT_EQ(t1.imagePath, "grass.sheet.png");
  EXPECT_EQ(t1.imageSize, (PixelSize{128, 320}));
  EXPECT_EQ(t1.columns, 4);
  EXPECT_EQ(t1.tiles.size(), 40u);
  ASSERT_EQ(t1.terrains.size(), 1u);
  EXPECT_EQ(t1.terrains[0].tiles.size(), 40u);  // every terrain1 tile carries the terrain
  const korvanth::TilesetDescription roof = korvanth::DescribeSheet(LayoutFormat::Roof, "r.bmp");
  EXPECT_EQ(roof.columns, 3);
  EXPECT_EQ(roof.tiles.size(), 12u);
  EXPECT_TRUE(roof.terrains.empty());
}

TEST(TilesetDescriptionTest, SafeNames) {
  EXPECT_TRUE(korvanth::IsTilesetSafeName("草原 & \"道\" <1>.png"));
  EXPECT_FALSE(korvanth::IsTilesetSafeName("a\nb.png"));
  EXPECT_FALSE(korvanth::IsTilesetSafeName("a\x7f.png"));
  EXPECT_FALSE(korvanth::IsTilesetSafeName("\xff.png"));
  EXPECT_FALSE(korvanth::IsTilesetSafeName("\xe8\x8d.png"));         // cut short
  EXPECT_FALSE(korvanth::IsTilesetSafeName("\xc0\xaf.png"));         // overlong '/'
  EXPECT_FALSE(korvanth::IsTilesetSafeName("\xed\xa0\x80.png"));     // surrogate
  EXPECT_FALSE(korvanth::IsTilesetSafeName("\xc2\x85.png"));         // C1 control
  EXPECT_TRUE(korvanth::IsTilesetSafeName("\xf0\x9f\x8c\xb2.png"));  // U+1F332
}

TEST(TiledTilesetTest, WangIdsFollowTiledsOrder) {
  EXPECT_EQ(korvanth::TiledWangId(0), "0,0,0,0,0,0,0,0");
  EXPECT_EQ(korvanth::TiledWangId(kTerrain1Tile0), "0,0,1,1,1,0,0,0");
  EXPECT_EQ(korvanth::TiledWangId(1 << 7), "0,0,0,0,0,0,0,1");  // top-left last
  EXPECT_EQ(korvanth::TiledWangId(0xFF), "1,1,1,1,1,1,1,1");
}

struct TsxContents {
  std::map<std::string, std::string> tileset;  // attributes of <tileset>
  std::map<std::string, std::string> image;
  int wangsets = 0;
  std::string wangsetType;
  int wangcolors = 0;
  std::map<int, std::string> wangids;
  bool wellFormed = false;
};

TsxContents ReadTsx(const std::string& text) {
  TsxContents tsx;
  QXmlStreamReader xml(QString::fromStdString(text));
  auto attributes = [&xml] {
    std::map<std::string, std::string> all;
    for (const QXmlStreamAttribute& a : xml.attributes())
      all[a.name().toString().toStdString()] = a.value().toString().toStdString();
    return all;
  };
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QString name = xml.name().toString();
    if (name == "tileset") tsx.tileset = attributes();
    if (name == "image") tsx.image = attributes();
    if (name == "wangset") {
      ++tsx.wangsets;
      tsx.wangsetType = attributes()["type"];
    }
    if (name == "wangcolor") ++tsx.wangcolors;
    if (name == "wangtile") {
      auto a = attributes();
      tsx.wangids[std::stoi(a["tileid"])] = a["wangid"];
    }
  }
  tsx.wellFormed = !xml.hasError();
  return tsx;
}

TEST(TiledTilesetTest, TerrainSheetsGetOneMixedWangSet) {
  struct Case {
    LayoutFormat format;
    const char* count;
    const char* columns;
    const char* height;
    size_t wangtiles;
  };
  for (const Case& c : {Case{LayoutFormat::Terrain1, "40", "4", "320", 39},
                        Case{LayoutFormat::Terrain2, "48", "4", "384", 44}}) {
    const TsxContents tsx =
        ReadTsx(korvanth::TiledTilesetText(korvanth::DescribeSheet(c.format, "a&b \"q\".png")));
    ASSERT_TRUE(tsx.wellFormed);
    EXPECT_EQ(tsx.tileset.at("name"), "a&b \"q\"");
    EXPECT_EQ(tsx.tileset.at("tilewidth"), "32");
    EXPECT_EQ(tsx.tileset.at("tileheight"), "32");
    EXPECT_EQ(tsx.tileset.at("tilecount"), c.count);
    EXPECT_EQ(tsx.tileset.at("columns"), c.columns);
    EXPECT_EQ(tsx.image.at("source"), "a&b \"q\".png");
    EXPECT_EQ(tsx.image.at("width"), "128");
    EXPECT_EQ(tsx.image.at("height"), c.height);
    EXPECT_EQ(tsx.wangsets, 1);
    EXPECT_EQ(tsx.wangsetType, "mixed");
    EXPECT_EQ(tsx.wangcolors, 1);
    EXPECT_EQ(tsx.wangids.size(), c.wangtiles);
  }
  const TsxContents t1 =
      ReadTsx(korvanth::TiledTilesetText(korvanth::DescribeSheet(LayoutFormat::Terrain1, "s.png")));
  EXPECT_EQ(t1.wangids.at(0), "0,0,1,1,1,0,0,0");
  EXPECT_EQ(t1.wangids.at(14), "1,1,1,1,1,1,1,1");
  EXPECT_EQ(t1.wangids.count(15), 0u);  // the lone tile: placed by hand in Tiled
  const TsxContents t2 =
      ReadTsx(korvanth::TiledTilesetText(korvanth::DescribeSheet(LayoutFormat::Terrain2, "s.png")));
  for (int own : {11, 15, 19}) EXPECT_EQ(t2.wangids.count(own), 0u) << own;
  EXPECT_EQ(t2.wangids.count(3), 0u);              // the closed tile
  EXPECT_EQ(t2.wangids.at(7), "1,0,1,0,1,0,1,0");  // the whole inner-corner tile
}

// The terrain's name and colour and the tile size as the .tres states them (the .tsx's are
// read back through Tiled itself in the tilesets tests).
TEST(TilesetLookTest, GodotNamesColoursAndSizesTheTerrain) {
  const std::string tres = korvanth::GodotTilesetText(korvanth::DescribeSheet(
      {LayoutFormat::Terrain2, 48, true}, "g.png", {"草 & <砂>", 0x0A80FF}));
  EXPECT_NE(tres.find("terrain_set_0/terrain_0/name = \"草 & <砂>\"\n"), std::string::npos);
  // 0x0A / 255, 0x80 / 255, 0xFF / 255.
  EXPECT_NE(tres.find("terrain_0/color = Color(0.039216, 0.501961, 1.000000, 1)\n"),
            std::string::npos);
  EXPECT_NE(tres.find("texture_region_size = Vector2i(48, 48)\n"), std::string::npos);
  EXPECT_NE(tres.find("tile_size = Vector2i(48, 48)\n"), std::string::npos);
  EXPECT_NE(tres.find("2:12/0 = 0\n"), std::string::npos);  // tile 50, the last of 51
  EXPECT_EQ(tres.find("3:12/0"), std::string::npos);        // the empty cell is no tile

  // Without a look: the sheet's stem and the default colour.
  const korvanth::TilesetDescription plain =
      korvanth::DescribeSheet(LayoutFormat::Terrain1, "s.png");
  ASSERT_EQ(plain.terrains.size(), 1u);
  EXPECT_EQ(plain.terrains[0].name, "s");
  EXPECT_EQ(plain.terrains[0].colour, korvanth::kDefaultTerrainColour);
  EXPECT_EQ(plain.terrains[0].thumbnailTile,
            14);  // its first tile of quarters from inside the patch
}

TEST(TiledTilesetTest, RoofGetsThePlainTileset) {
  const TsxContents tsx =
      ReadTsx(korvanth::TiledTilesetText(korvanth::DescribeSheet(LayoutFormat::Roof, "r.gif")));
  ASSERT_TRUE(tsx.wellFormed);
  EXPECT_EQ(tsx.tileset.at("tilecount"), "12");
  EXPECT_EQ(tsx.tileset.at("columns"), "3");
  EXPECT_EQ(tsx.image.at("width"), "96");
  EXPECT_EQ(tsx.image.at("height"), "128");
  EXPECT_EQ(tsx.wangsets, 0);
}

// --- Godot ---------------------------------------------------------------------------

// A .tres file read section by section: headers with their attributes, and each
// section's "key = value" lines in order.
struct TresSection {
  std::string kind;  // gd_resource, ext_resource, sub_resource, resource
  std::map<std::string, std::string> attributes;
  std::vector<std::pair<std::string, std::string>> properties;
};

std::vector<TresSection> ReadTres(const std::string& text) {
  std::vector<TresSection> sections;
  std::istringstream in(text);
  std::string line;
  const std::regex header(R"(^\[(\w+)((?: \w+=(?:"(?:[^"\\]|\\.)*"|[^ \]"]+))*)\]$)");
  const std::regex attribute(R"((\w+)=("(?:[^"\\]|\\.)*"|[^ \]"]+))");
  const std::regex property(R"(^([^ =]+) = (.+)$)");
  std::smatch m;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (std::regex_match(line, m, header)) {
      TresSection section;
      section.kind = m[1];
      const std::string rest = m[2];
      for (std::sregex_iterator it(rest.begin(), rest.end(), attribute), end; it != end; ++it)
        section.attributes[(*it)[1]] = (*it)[2];
      sections.push_back(section);
    } else if (std::regex_match(line, m, property) && !sections.empty()) {
      sections.back().properties.emplace_back(m[1], m[2]);
    } else {
      ADD_FAILURE() << "unreadable line: " << line;
    }
  }
  return sections;
}

// The engine's peering bit names of a square tile in corner-and-side mode, as written in
// scene/resources/2d/tile_set.cpp, each with the neighbour it stands for (N, NE, E, SE,
// S, SW, W, NW = 0..7).
const std::map<std::string, int> kGodotPeeringBits = {
    {"top_side", 0},    {"top_right_corner", 1},   {"right_side", 2}, {"bottom_right_corner", 3},
    {"bottom_side", 4}, {"bottom_left_corner", 5}, {"left_side", 6},  {"top_left_corner", 7},
};

struct GodotTile {
  bool created = false;
  int terrainSet = -1;
  int terrain = -1;
  // Neighbour -> terrain; a bit the file leaves out keeps the engine's default, -1 (none).
  std::map<int, int> bits = {{0, -1}, {1, -1}, {2, -1}, {3, -1},
                             {4, -1}, {5, -1}, {6, -1}, {7, -1}};
  int unsetBitsWritten = 0;  // lines that spell out the default
  std::vector<std::string> order;
};

// The atlas tiles of a parsed file, keyed by (column, row).
std::map<std::pair<int, int>, GodotTile> AtlasTiles(const TresSection& atlas) {
  std::map<std::pair<int, int>, GodotTile> tiles;
  const std::regex key(R"(^(\d+):(\d+)/0(?:/(.+))?$)");
  std::smatch m;
  for (const auto& [name, value] : atlas.properties) {
    if (!std::regex_match(name, m, key)) continue;
    GodotTile& tile = tiles[{std::stoi(m[1]), std::stoi(m[2])}];
    const std::string what = m[3];
    tile.order.push_back(what);
    if (what.empty()) {
      tile.created = value == "0";
    } else if (what == "terrain_set") {
      tile.terrainSet = std::stoi(value);
    } else if (what == "terrain") {
      tile.terrain = std::stoi(value);
    } else if (what.rfind("terrains_peering_bit/", 0) == 0) {
      const auto bit = kGodotPeeringBits.find(what.substr(21));
      EXPECT_NE(bit, kGodotPeeringBits.end()) << what;
      if (bit != kGodotPeeringBits.end()) tile.bits[bit->second] = std::stoi(value);
      if (value == "-1") ++tile.unsetBitsWritten;
    } else {
      ADD_FAILURE() << "unexpected tile property " << name;
    }
  }
  return tiles;
}

std::string PropertyOf(const TresSection& section, const std::string& name) {
  for (const auto& [key, value] : section.properties)
    if (key == name) return value;
  return "<missing>";
}

TEST(GodotTilesetTest, ResourceLayoutAndReferences) {
  const std::vector<TresSection> tres = ReadTres(korvanth::GodotTilesetText(
      korvanth::DescribeSheet(LayoutFormat::Terrain2, "地形 \"2\".png")));
  ASSERT_EQ(tres.size(), 4u);
  EXPECT_EQ(tres[0].kind, "gd_resource");
  EXPECT_EQ(tres[0].attributes.at("type"), "\"TileSet\"");
  EXPECT_EQ(tres[0].attributes.at("format"), "3");
  EXPECT_EQ(tres[0].attributes.at("load_steps"), "3");  // two resources and the tileset
  EXPECT_EQ(tres[1].kind, "ext_resource");
  EXPECT_EQ(tres[1].attributes.at("type"), "\"Texture2D\"");
  EXPECT_EQ(tres[2].kind, "sub_resource");
  EXPECT_EQ(tres[2].attributes.at("type"), "\"TileSetAtlasSource\"");
  EXPECT_EQ(tres[3].kind, "resource");
  // The texture path is the sheet's name, with the quotes escaped.
  const std::string text =
      korvanth::GodotTilesetText(korvanth::DescribeSheet(LayoutFormat::Terrain2, "地形 \"2\".png"));
  EXPECT_NE(text.find("path=\"地形 \\\"2\\\".png\""), std::string::npos);
  // References resolve.
  EXPECT_EQ(PropertyOf(tres[2], "texture"), "ExtResource(" + tres[1].attributes.at("id") + ")");
  EXPECT_EQ(PropertyOf(tres[3], "sources/0"), "SubResource(" + tres[2].attributes.at("id") + ")");
  EXPECT_EQ(PropertyOf(tres[2], "texture_region_size"), "Vector2i(32, 32)");
  EXPECT_EQ(PropertyOf(tres[3], "tile_size"), "Vector2i(32, 32)");
  EXPECT_EQ(PropertyOf(tres[3], "terrain_set_0/mode"), "0");  // match corners and sides
  EXPECT_EQ(PropertyOf(tres[3], "terrain_set_0/terrain_0/name"), "\"地形 \\\"2\\\"\"");
  EXPECT_NE(PropertyOf(tres[3], "terrain_set_0/terrain_0/color"), "<missing>");
}

TEST(GodotTilesetTest, EveryTerrainTileCarriesItsPeeringBits) {
  for (const korvanth::SheetLayout format :
       {korvanth::SheetLayout(LayoutFormat::Terrain1),
        korvanth::SheetLayout(LayoutFormat::Terrain2),
        korvanth::SheetLayout(LayoutFormat::Terrain1, 32, true),
        korvanth::SheetLayout(LayoutFormat::Terrain2, 32, true)}) {
    const korvanth::TilesetDescription sheet = korvanth::DescribeSheet(format, "s.png");
    const std::vector<TresSection> tres = ReadTres(korvanth::GodotTilesetText(sheet));
    ASSERT_EQ(tres.size(), 4u);
    const auto tiles = AtlasTiles(tres[2]);
    ASSERT_EQ(tiles.size(), static_cast<size_t>(TileCount(format)));
    const korvanth::TerrainRoles roles = korvanth::TerrainRolesFor(format);
    std::set<std::map<int, int>> shapes;  // as the engine reads them
    for (int i = 0; i < TileCount(format); ++i) {
      const auto found = tiles.find({i % 4, i / 4});
      ASSERT_NE(found, tiles.end()) << i;
      const GodotTile& tile = found->second;
      EXPECT_TRUE(tile.created) << i;
      if (!roles[i]) {
        EXPECT_EQ(tile.order.size(), 1u) << "tile " << i << " has terrain properties";
        continue;
      }
      // The terrain set comes before the terrain, and both before the bits: the engine
      // checks bits against the tile's terrain set as it reads them.
      ASSERT_GE(tile.order.size(), 3u);
      EXPECT_EQ(tile.order[1], "terrain_set");
      EXPECT_EQ(tile.order[2], "terrain");
      EXPECT_EQ(tile.terrainSet, 0);
      EXPECT_EQ(tile.terrain, 0);
      EXPECT_EQ(tile.unsetBitsWritten, 0) << i;  // the engine's default goes unsaid
      for (int n = 0; n < 8; ++n)
        EXPECT_EQ(tile.bits.at(n), ((*roles[i] >> n) & 1) ? 0 : -1) << "tile " << i << " bit " << n;
      shapes.insert(tile.bits);
    }
    // A completed set gives the engine's brush all 47 shapes.
    if (format.complete) {
      EXPECT_EQ(shapes.size(), 47u);
    }
    // Tiles worked out by hand: Terrain1 tile 0 (E, SE, S), tile 15 (alone).
    if (format == korvanth::SheetLayout(LayoutFormat::Terrain1)) {
      const GodotTile& t0 = tiles.at({0, 0});
      const std::map<int, int> expected0 = {{0, -1}, {1, -1}, {2, 0},  {3, 0},
                                            {4, 0},  {5, -1}, {6, -1}, {7, -1}};
      EXPECT_EQ(t0.bits, expected0);
      for (const auto& [n, terrain] : tiles.at({3, 3}).bits) EXPECT_EQ(terrain, -1) << n;
    }
  }
}

TEST(GodotTilesetTest, RoofHasAnAtlasWithoutTerrain) {
  const std::string text =
      korvanth::GodotTilesetText(korvanth::DescribeSheet(LayoutFormat::Roof, "r.png"));
  const std::vector<TresSection> tres = ReadTres(text);
  ASSERT_EQ(tres.size(), 4u);
  const auto tiles = AtlasTiles(tres[2]);
  EXPECT_EQ(tiles.size(), 12u);
  EXPECT_TRUE(tiles.count({2, 3}));
  EXPECT_FALSE(tiles.count({3, 0}));
  EXPECT_EQ(text.find("terrain"), std::string::npos);
}

// --- Several terrains (an atlas) -------------------------------------------------------

// Two terrains on a 4 x 2 picture of 16-pixel tiles, their tiles at scattered ids, and a
// tile without terrain.
korvanth::TilesetDescription TwoTerrains() {
  korvanth::TilesetDescription d;
  d.name = "atlas";
  d.imagePath = "atlas.png";
  d.imageSize = {64, 32};
  d.tileSize = 16;
  d.columns = 4;
  d.tiles = {0, 1, 5, 6, 7};
  d.terrains.push_back({"grass", 0x112233, 1, {{0, kTerrain1Tile0}, {1, 0xFF}}});
  d.terrains.push_back({"sand", 0xFFFFFF, 6, {{6, 0xFF}, {5, 0}}});
  return d;
}

TEST(GodotTilesetTest, EachTerrainOfSeveralPeersWithItself) {
  const std::string text = korvanth::GodotTilesetText(TwoTerrains());
  const std::vector<TresSection> tres = ReadTres(text);
  ASSERT_EQ(tres.size(), 4u);
  EXPECT_EQ(PropertyOf(tres[3], "terrain_set_0/mode"), "0");
  EXPECT_EQ(PropertyOf(tres[3], "terrain_set_0/terrain_0/name"), "\"grass\"");
  EXPECT_EQ(PropertyOf(tres[3], "terrain_set_0/terrain_1/name"), "\"sand\"");
  EXPECT_EQ(PropertyOf(tres[3], "terrain_set_0/terrain_1/color"),
            "Color(1.000000, 1.000000, 1.000000, 1)");
  const auto tiles = AtlasTiles(tres[2]);
  ASSERT_EQ(tiles.size(), 5u);
  const std::map<int, int> grass0 = {{0, -1}, {1, -1}, {2, 0},  {3, 0},
                                     {4, 0},  {5, -1}, {6, -1}, {7, -1}};
  EXPECT_EQ(tiles.at({0, 0}).terrain, 0);
  EXPECT_EQ(tiles.at({0, 0}).bits, grass0);
  const GodotTile& sandFull = tiles.at({2, 1});  // id 6
  EXPECT_EQ(sandFull.terrainSet, 0);
  EXPECT_EQ(sandFull.terrain, 1);
  for (int n = 0; n < 8; ++n) EXPECT_EQ(sandFull.bits.at(n), 1) << n;
  EXPECT_EQ(tiles.at({1, 1}).terrain, 1);  // id 5, alone: all bits -1
  for (int n = 0; n < 8; ++n) EXPECT_EQ(tiles.at({1, 1}).bits.at(n), -1) << n;
  EXPECT_EQ(tiles.at({3, 1}).order.size(), 1u);  // id 7: no terrain
  // Tile 0 (E, SE and S of grass, worked out by hand) in full: only its three matching
  // bits; the lone sand tile says nothing of its neighbours.
  EXPECT_NE(text.find("0:0/0 = 0\n"
                      "0:0/0/terrain_set = 0\n"
                      "0:0/0/terrain = 0\n"
                      "0:0/0/terrains_peering_bit/right_side = 0\n"
                      "0:0/0/terrains_peering_bit/bottom_right_corner = 0\n"
                      "0:0/0/terrains_peering_bit/bottom_side = 0\n"
                      "1:0/0 = 0\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("1:1/0/terrain = 1\n2:1/0 = 0\n"), std::string::npos) << text;
}

TEST(TiledTilesetTest, EachTerrainOfSeveralGetsItsOwnWangSet) {
  const std::string text = korvanth::TiledTilesetText(TwoTerrains());
  const TsxContents tsx = ReadTsx(text);
  ASSERT_TRUE(tsx.wellFormed);
  EXPECT_EQ(tsx.wangsets, 2);
  EXPECT_EQ(tsx.tileset.at("tilecount"), "8");  // every cell of the picture
  // Each set's own name, colour and thumbnail, and only its own tiles (the lone one left
  // out, as Tiled cannot tell it from no terrain).
  EXPECT_NE(
      text.find("<wangset name=\"grass\" type=\"mixed\" tile=\"1\">\n"
                "   <wangcolor name=\"grass\" color=\"#112233\" tile=\"1\" probability=\"1\"/>\n"
                "   <wangtile tileid=\"0\" wangid=\"0,0,1,1,1,0,0,0\"/>\n"
                "   <wangtile tileid=\"1\" wangid=\"1,1,1,1,1,1,1,1\"/>\n"
                "  </wangset>\n"
                "  <wangset name=\"sand\" type=\"mixed\" tile=\"6\">\n"
                "   <wangcolor name=\"sand\" color=\"#ffffff\" tile=\"6\" probability=\"1\"/>\n"
                "   <wangtile tileid=\"6\" wangid=\"1,1,1,1,1,1,1,1\"/>\n"
                "  </wangset>\n"),
      std::string::npos)
      << text;
}

// --- Animated terrains ------------------------------------------------------------------

TEST(GodotTilesetTest, AnimatedTilesFindEachFrameWhereTheEngineLooks) {
  // Three frames of a 4 x 2 sheet of 16-pixel tiles side by side: the first frame's tiles
  // 0, 1 and 13 are the tiles.
  korvanth::TilesetDescription d = TwoTerrains();
  d.imageSize = {192, 32};
  d.columns = 12;
  d.tiles = {0, 1, 13};
  d.terrains = {{"water", 0x2040FF, 13, {{13, 0xFF}}}};
  d.animations = {{0, 3, 3, 4}};
  for (const auto& [ms, seconds] : {std::pair{120, "0.12"}, {1000, "1.0"}, {1, "0.001"}}) {
    d.frameMs = ms;
    const std::vector<TresSection> tres = ReadTres(korvanth::GodotTilesetText(d));
    ASSERT_EQ(tres.size(), 4u);
    // Only the first frame's cells are tiles: the others belong to their animations.
    const auto tiles = AtlasTiles(tres[2]);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles.at({1, 1}).terrain, 0);
    for (const auto& [coords, tile] : tiles) {
      const auto [x, y] = coords;
      const std::string key = std::to_string(x) + ":" + std::to_string(y) + "/";
      EXPECT_EQ(PropertyOf(tres[2], key + "animation_frames_count"), "3");
      // The engine's frame position (TileSetAtlasSource::get_tile_texture_region): the
      // tile's coordinates + (size_in_atlas + animation_separation) * (f, 0) without columns.
      ASSERT_EQ(PropertyOf(tres[2], key + "animation_columns"), "0");
      std::smatch m;
      const std::string separation = PropertyOf(tres[2], key + "animation_separation");
      ASSERT_TRUE(std::regex_match(separation, m, std::regex(R"(Vector2i\((\d+), 0\))")));
      for (int f = 0; f < 3; ++f) {
        EXPECT_EQ(x + (1 + std::stoi(m[1])) * f, x + 4 * f) << key << f;
        EXPECT_EQ(PropertyOf(tres[2], key + "animation_frame_" + std::to_string(f) + "/duration"),
                  seconds);
      }
    }
  }
}

}  // namespace
