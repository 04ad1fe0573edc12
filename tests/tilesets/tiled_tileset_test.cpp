// The tilesets as the real Tiled reads them: `tiled --export-tileset json` gives back
// every tile and wang id, and a map painted by wang ids renders, through tmxrasterizer,
// exactly as the test draws the same terrain field by its own rule; the bundled sample's
// blocks paint without a seam; an atlas's animated blocks play their frames; the sample's
// block map makes one atlas of its six terrains and two roofs.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <tuple>
#include <utility>

#include "convert/tiled_tileset.h"
#include "convert/utf8_path.h"
#include "convert/tileset_description.h"
#include "support/format_names.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"
#include "tilesets/peer_programs.h"
#include "tilesets/terrain_painting.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Converts `block` at `layout` into `sheetName` inside `dir`, with its Tiled tileset beside
// it and `more` arguments; returns the tileset's path.
std::string ConvertWithTileset(const ScratchDir& dir, SheetLayout layout, const QImage& block,
                               const std::string& sheetName, std::vector<std::string> more = {}) {
  const std::string blockPath = dir.file("block.png");
  EXPECT_TRUE(block.save(QString::fromStdString(blockPath), "PNG"));
  more.insert(more.end(), {"--format", std::string(LayoutFormatName(layout.format)), "--tile-size",
                           std::to_string(layout.tileSize), "--tileset", "tiled", blockPath,
                           dir.file(sheetName)});
  if (layout.complete) more.insert(more.begin(), "--complete");
  const ProgramRun run = RunConverter(more);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string tsx = dir.file(std::string(korvanth::FileStem(sheetName)) + ".tsx");
  EXPECT_TRUE(fs::exists(tsx)) << tsx;
  return tsx;
}

std::uint8_t BitsOf(const std::array<int, 8>& wangid) {
  std::uint8_t bits = 0;
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(wangid[i] == 0 || wangid[i] == 1) << wangid[i];
    if (wangid[i] == 1) bits |= std::uint8_t(1u << i);
  }
  return bits;
}

// The alpha-weighted mean colour of a square, each channel rounded, as #rrggbb.
std::string MeanColour(const QImage& image, int x0, int y0, int size) {
  std::uint64_t weight = 0, sums[3] = {};
  for (int y = y0; y < y0 + size; ++y)
    for (int x = x0; x < x0 + size; ++x) {
      const QRgb p = image.pixel(x, y);
      weight += qAlpha(p);
      for (int c = 0; c < 3; ++c) sums[c] += qAlpha(p) * std::uint64_t(p >> (16 - 8 * c) & 0xFF);
    }
  char text[8] = "none";
  if (weight > 0)
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned((sums[0] + weight / 2) / weight),
                  unsigned((sums[1] + weight / 2) / weight),
                  unsigned((sums[2] + weight / 2) / weight));
  return text;
}

struct FormatCase {
  LayoutFormat format;
  int blockWidth, blockHeight;  // at 32 pixels a tile
  int columns, tiles, completeTiles;
  size_t shapes;  // distinct wang ids of the format's own tiles
};
const FormatCase kFormats[] = {
    {LayoutFormat::Terrain1, 64, 96, 4, 40, 47, 39},
    {LayoutFormat::Terrain2, 96, 128, 4, 48, 51, 43},
    {LayoutFormat::Roof, 64, 64, 3, 12, 12, 0},
};
constexpr int kTileSizes[] = {16, 32, 48};
// What the painting test paints with: the complete set or not, made from the test's own
// block or from the bundled sample's.
constexpr std::pair<bool, bool> kPaintings[] = {
    {false, false}, {true, false}, {false, true}, {true, true}};

TEST(TiledRoundTripTest, TiledReadsEveryTilesetWithTheSameTilesAndWangIds) {
  const std::set<std::uint8_t> allShapes = AllShapes();
  ASSERT_EQ(allShapes.size(), 47u);
  for (const FormatCase& c : kFormats)
    for (const int n : kTileSizes)
      for (const bool complete : {false, true}) {
        SCOPED_TRACE(std::string(LayoutFormatName(c.format)) + " at " + std::to_string(n) +
                     (complete ? ", complete" : ""));
        ScratchDir dir;
        const std::string sheetName = "草原 & \"道\".png";
        // A given terrain name with the complete sets, the sheet's stem without.
        const std::string terrain = complete ? "砂 <浜>" : "草原 & \"道\"";
        const std::vector<std::string> name = {"--name", terrain};
        const QImage block = PatternImage(c.blockWidth * n / 32, c.blockHeight * n / 32, true);
        const std::string tsx = ConvertWithTileset(dir, {c.format, n, complete}, block, sheetName,
                                                   complete ? name : std::vector<std::string>{});
        const std::string json = dir.file("back.json");
        const ProgramRun run = ExportTilesetAsJson(tsx, json);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::optional<TiledJsonTileset> back = ReadTiledJson(json);
        ASSERT_TRUE(back.has_value());
        const int tiles = complete ? c.completeTiles : c.tiles;
        EXPECT_EQ(back->fields.at("name"), "草原 & \"道\"");
        EXPECT_EQ(back->fields.at("image"), sheetName);
        EXPECT_EQ(back->fields.at("imagewidth"), std::to_string(c.columns * n));
        EXPECT_EQ(back->fields.at("imageheight"),
                  std::to_string((tiles + c.columns - 1) / c.columns * n));
        // Tiled counts every cell of the picture, the last row's empty ones included.
        EXPECT_EQ(back->fields.at("tilecount"),
                  std::to_string((tiles + c.columns - 1) / c.columns * c.columns));
        EXPECT_EQ(back->fields.at("columns"), std::to_string(c.columns));
        EXPECT_EQ(back->fields.at("tilewidth"), std::to_string(n));
        EXPECT_EQ(back->fields.at("tileheight"), std::to_string(n));

        const korvanth::TerrainRoles roles = korvanth::TerrainRolesFor(c.format);
        if (roles.empty()) {
          EXPECT_EQ(back->wangsetCount, 0);
          continue;
        }
        ASSERT_EQ(back->wangsetCount, 1);
        EXPECT_EQ(back->wangsetType, "mixed");
        EXPECT_EQ(back->colourCount, 1);
        EXPECT_EQ(back->wangsetName, terrain);
        EXPECT_EQ(back->colourName, terrain);
        // The format's own tiles: every one with terrain but the lone one, whose all-zero
        // wangid Tiled reads as "not in the set".
        std::set<std::uint8_t> shapes;
        size_t listed = 0;
        for (size_t tile = 0; tile < roles.size(); ++tile) {
          const auto found = back->wangids.find(static_cast<int>(tile));
          const bool inSet = roles[tile].has_value() && *roles[tile] != 0;
          ASSERT_EQ(found != back->wangids.end(), inSet) << "tile " << tile;
          if (!inSet) continue;
          EXPECT_EQ(BitsOf(found->second), *roles[tile]) << "tile " << tile;
          shapes.insert(*roles[tile]);
          ++listed;
        }
        // The added tiles: each a shape the format lacks, in increasing order of its bits.
        int previous = -1;
        for (int tile = static_cast<int>(roles.size()); tile < tiles; ++tile) {
          const auto found = back->wangids.find(tile);
          ASSERT_NE(found, back->wangids.end()) << "tile " << tile;
          const std::uint8_t bits = BitsOf(found->second);
          EXPECT_TRUE(allShapes.count(bits) && shapes.insert(bits).second) << "tile " << tile;
          EXPECT_GT(bits, previous) << "tile " << tile;
          previous = bits;
          ++listed;
        }
        EXPECT_EQ(back->wangids.size(), listed);
        EXPECT_EQ(shapes.size(), complete ? 46u : c.shapes);

        // The terrain shows the first full tile, in its mean colour.
        const auto full = std::find_if(back->wangids.begin(), back->wangids.end(),
                                       [](const auto& id) { return BitsOf(id.second) == 0xFF; });
        ASSERT_NE(full, back->wangids.end());
        EXPECT_EQ(back->wangsetTile, full->first);
        EXPECT_EQ(back->colourTile, full->first);
        const QImage sheet = ReadBack(dir.file(sheetName));
        ASSERT_FALSE(sheet.isNull());
        EXPECT_EQ(back->colour,
                  MeanColour(sheet, full->first % c.columns * n, full->first / c.columns * n, n));
      }
}

// Compares two pictures pixel for pixel (fully transparent pixels compare equal whatever
// their colour); the number of differing pixels, the first one described in `first`.
int DifferingPixels(const QImage& a, const QImage& b, std::string& first) {
  if (a.size() != b.size()) {
    first = "sizes differ";
    return -1;
  }
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  int differing = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int column = 0; column < x.width(); ++column) {
      QRgb p = x.pixel(column, row), q = y.pixel(column, row);
      if (qAlpha(p) == 0) p = 0;
      if (qAlpha(q) == 0) q = 0;
      if (p != q && differing++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d,%d): %08x vs %08x", column, row, p, q);
        first = text;
      }
    }
  }
  return differing;
}

// The bundled sample's terrain block of `format` (grass, cell (0, 0); dirt, cell (0, 3)) as
// drawn for `tileSize` pixels a tile, each pixel taken from the one it stands for at 32,
// so every quarter comes from one quarter of the original. Terrain1's never-read tile
// gets noise, which would show if it were read.
QImage SampleBlock(LayoutFormat format, int tileSize) {
  const QImage sample = ReadBack(std::string(KORVANTH_SOURCE_DIR) + "/samples/sample-tiles.png");
  const PixelSize size = SelectionBlockSize(format);
  const int top = format == LayoutFormat::Terrain1 ? 0 : 96;
  QImage block(size.width * tileSize / 32, size.height * tileSize / 32, QImage::Format_ARGB32);
  std::mt19937 noise(7);
  for (int y = 0; y < block.height(); ++y)
    for (int x = 0; x < block.width(); ++x)
      block.setPixel(x, y,
                     format == LayoutFormat::Terrain1 && x < tileSize && y < tileSize
                         ? 0xFF000000u | (noise() & 0xFFFFFFu)
                         : sample.pixel(x * 32 / tileSize, top + y * 32 / tileSize));
  return block;
}

// Where two quarters of terrain cells meet in `map`, the pixel pairs across the join that
// lie side by side nowhere within the block's patch or its inner-corner piece: seams.
int Seams(const QImage& map, const TerrainField& field, const QImage& block, BlockGeometry g,
          int n) {
  const int q = n / 2;
  std::set<std::tuple<int, QRgb, QRgb>> inBlock;  // direction (0 across, 1 down), pixels
  for (const QRect area :
       {QRect(g.patchColumn * q, g.patchRow * q, g.patchQuarters * q, g.patchQuarters * q),
        QRect(g.innerColumn * q, g.innerRow * q, n, n)})
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        if (x < area.right()) inBlock.emplace(0, block.pixel(x, y), block.pixel(x + 1, y));
        if (y < area.bottom()) inBlock.emplace(1, block.pixel(x, y), block.pixel(x, y + 1));
      }
  int seams = 0;
  for (int y = 0; y < map.height(); ++y)
    for (int x = 0; x < map.width(); ++x)
      for (int down = 0; down < 2; ++down) {
        const int x2 = x + 1 - down, y2 = y + down;
        if ((down ? y2 : x2) % q != 0 || x2 >= map.width() || y2 >= map.height() ||
            !field.at(x / n, y / n) || !field.at(x2 / n, y2 / n))
          continue;
        seams += inBlock.count({down, map.pixel(x, y), map.pixel(x2, y2)}) == 0;
      }
  return seams;
}

// The field a painting test paints: of the first random fields with several blobs and
// holes, the one that needs the most different combinations of `available`, with a cell
// of each combination it still lacks planted below it.
TerrainField PaintedField(const std::set<std::uint8_t>& available) {
  constexpr int kSize = 28;
  TerrainField field;
  size_t bestVariety = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const TerrainField candidate = RandomField(seed, kSize, kSize, available);
    const int terrainCells =
        static_cast<int>(std::count(candidate.cells.begin(), candidate.cells.end(), 1));
    const size_t variety = ShapesIn(candidate).size();
    if (CountBlobs(candidate) >= 3 && CountHoles(candidate) >= 2 &&
        terrainCells >= kSize * kSize / 4 && variety > bestVariety) {
      field = candidate;
      bestVariety = variety;
    }
  }
  return PlantShapes(field, available);
}

// Every terrain format, complete or not, at every tile size, from a test block and from the
// bundled sample's: a field that needs every combination the sheet offers, painted by wang
// ids, renders as the field drawn directly, or as the sample block's own quarters put
// together; and the sample's joins show no seam.
TEST(TiledPaintingTest, AMapPaintedByWangIdsRendersAsTheFieldDrawnDirectly) {
  for (const FormatCase& c : kFormats)
    for (const int n : kTileSizes)
      for (const auto& [complete, sample] : kPaintings) {
        if (c.shapes == 0) continue;  // no terrain
        const LayoutFormat format = c.format;
        const std::string name = std::string(LayoutFormatName(format)) + "-" + std::to_string(n) +
                                 (complete ? "-complete" : "") + (sample ? "-sample" : "");
        SCOPED_TRACE(name);
        ScratchDir dir;
        const BlockGeometry geometry =
            format == LayoutFormat::Terrain1 ? kTerrain1Geometry : kTerrain2Geometry;
        const QImage block =
            sample ? SampleBlock(format, n)
                   : DrawTerrainBlock(format == LayoutFormat::Terrain1 ? BlockKind::Terrain1
                                                                       : BlockKind::Terrain2,
                                      n);
        const std::string tsx =
            ConvertWithTileset(dir, {format, n, complete}, block, "painted.png");
        const ProgramRun exported = ExportTilesetAsJson(tsx, dir.file("painted.json"));
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        const std::optional<TiledJsonTileset> tileset = ReadTiledJson(dir.file("painted.json"));
        ASSERT_TRUE(tileset.has_value());

        // The combinations the sheet offers, each with the first tile that has it.
        std::map<std::uint8_t, int> tileFor;
        std::set<std::uint8_t> available;
        for (const auto& [tile, wangid] : tileset->wangids) {
          tileFor.emplace(BitsOf(wangid), tile);
          available.insert(BitsOf(wangid));
        }
        ASSERT_EQ(available.size(), complete ? 46u : c.shapes);

        const TerrainField field = PaintedField(available);
        ASSERT_GE(CountBlobs(field), 3);
        ASSERT_GE(CountHoles(field), 2);
        EXPECT_EQ(ShapesIn(field), available) << "the field leaves tiles of the set unused";
        std::vector<int> gids(field.cells.size(), 0);
        for (int y = 0; y < field.height; ++y)
          for (int x = 0; x < field.width; ++x) {
            if (!field.at(x, y)) continue;
            const auto found = tileFor.find(NeighbourBits(field, x, y));
            ASSERT_NE(found, tileFor.end()) << "cell " << x << "," << y;
            gids[y * field.width + x] = found->second + 1;
          }
        std::printf("%s: field %dx%d, %d blobs, %d holes, %zu distinct tiles\n", name.c_str(),
                    field.width, field.height, CountBlobs(field), CountHoles(field),
                    ShapesIn(field).size());

        WriteText(dir.file("painted.tmx"),
                  MapText(field.width, field.height, n, "painted.tsx", gids));
        const ProgramRun rendered = RasterizeMap(dir.file("painted.tmx"), dir.file("rendered.png"));
        ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
        const QImage byTiled = ReadBack(dir.file("rendered.png"));
        ASSERT_FALSE(byTiled.isNull());
        std::string first;
        const QImage expected =
            sample ? DrawFieldFromBlock(field, block, geometry, n) : DrawFieldDirectly(field, n);
        EXPECT_EQ(DifferingPixels(byTiled, expected, first), 0) << "first difference at " << first;
        if (sample) {
          EXPECT_EQ(Seams(byTiled, field, block, geometry, n), 0);
        }

        // Kept for the documentation when asked for.
        if (const char* keep = std::getenv("KORVANTH_KEEP_PAINTED_MAP"))
          fs::copy_file(dir.file("rendered.png"), std::string(keep) + "-" + name + ".png",
                        fs::copy_options::overwrite_existing);
      }
}

// The painted terrain in another look: its fill, border and dot colours replaced.
struct Look {
  QRgb fill, border, dot;
};
QImage Recoloured(const QImage& image, const Look& look) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      const QRgb p = out.pixel(x, y);
      if (p == kFill) out.setPixel(x, y, look.fill);
      if (p == kBorder) out.setPixel(x, y, look.border);
      if (p == kDot) out.setPixel(x, y, look.dot);
    }
  return out;
}
Look LookOfBlock(int k) {
  const QRgb fill = qRgb(40 + k * 6, 200 - k * 5, 60 + (k * 47) % 180);
  return {fill, qRgb(qRed(fill) / 3, qGreen(fill) / 3, qBlue(fill) / 3), qRgb(250, k * 7, 30)};
}

// A picture of columns x rows terrain1 blocks drawn at 32 pixels, block k (row-major) in
// LookOfBlock(k), saved as PNG; null when it could not be saved.
QImage SaveLookedBlocks(int columns, int rows, const std::string& path) {
  const QImage block = DrawTerrainBlock(BlockKind::Terrain1, 32);
  QImage picture(columns * 64, rows * 96, QImage::Format_ARGB32);
  for (int k = 0; k < columns * rows; ++k) {
    const QImage coloured = Recoloured(block, LookOfBlock(k));
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 64; ++x)
        picture.setPixel(k % columns * 64 + x, k / columns * 96 + y, coloured.pixel(x, y));
  }
  return picture.save(QString::fromStdString(path), "PNG") ? picture : QImage();
}

// A 512 x 384 picture of 8 x 4 terrain1 blocks, each in its own colours, becomes one atlas
// whose tileset Tiled reads with a wang set a block; a map painted with two of them
// renders as the two fields drawn directly, each in its block's colours.
TEST(TiledAtlasTest, AMapPaintedWithTwoTerrainsOfTheAtlasRendersAsDrawnDirectly) {
  ScratchDir dir;
  ASSERT_FALSE(SaveLookedBlocks(8, 4, dir.file("blocks.png")).isNull());
  const ProgramRun run = RunConverter(
      {"--all", "--atlas", "--tileset", "both", dir.file("blocks.png"), dir.file("atlas.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QImage atlas = ReadBack(dir.file("atlas.png"));
  ASSERT_FALSE(atlas.isNull());
  EXPECT_LE(atlas.width(), 4096);
  const std::string tres = ReadBytes(dir.file("atlas.tres"));
  for (int k = 0; k < 32; ++k)
    EXPECT_NE(tres.find("terrain_set_0/terrain_" + std::to_string(k) + "/name = \"blocks_" +
                        std::to_string(k % 8) + "_" + std::to_string(k / 8) + "\""),
              std::string::npos)
        << k;
  EXPECT_EQ(tres.find("terrain_32/"), std::string::npos);

  const ProgramRun exported = ExportTilesetAsJson(dir.file("atlas.tsx"), dir.file("atlas.json"));
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const std::optional<TiledJsonTileset> tileset = ReadTiledJson(dir.file("atlas.json"));
  ASSERT_TRUE(tileset.has_value());
  ASSERT_EQ(tileset->wangsets.size(), 32u);
  const int columns = atlas.width() / 32;
  for (int k = 0; k < 32; ++k) {
    const TiledJsonTileset::WangSet& set = tileset->wangsets[k];
    EXPECT_EQ(set.name, "blocks_" + std::to_string(k % 8) + "_" + std::to_string(k / 8));
    EXPECT_EQ(set.colour, MeanColour(atlas, set.tile % columns * 32, set.tile / columns * 32, 32));
    EXPECT_EQ(set.wangids.size(), 39u);  // every terrain1 tile but the lone one
  }

  // Two terrains side by side: block 0's over a field, block 13's over another beside it.
  const int a = 0, b = 13;
  std::map<std::uint8_t, int> tileOf[2];
  std::set<std::uint8_t> available;
  for (int side = 0; side < 2; ++side)
    for (const auto& [tile, wangid] : tileset->wangsets[side == 0 ? a : b].wangids) {
      tileOf[side].emplace(BitsOf(wangid), tile);
      available.insert(BitsOf(wangid));
    }
  const TerrainField fields[2] = {PaintedField(available), RandomField(7, 16, 28, available)};
  const int width = fields[0].width + fields[1].width;
  const int height = std::max(fields[0].height, fields[1].height);
  std::vector<int> gids(static_cast<size_t>(width * height), 0);
  QImage expected(width * 32, height * 32, QImage::Format_ARGB32);
  expected.fill(0);
  for (int side = 0; side < 2; ++side) {
    const TerrainField& field = fields[side];
    const int left = side == 0 ? 0 : fields[0].width;
    for (int y = 0; y < field.height; ++y)
      for (int x = 0; x < field.width; ++x) {
        if (!field.at(x, y)) continue;
        const auto found = tileOf[side].find(NeighbourBits(field, x, y));
        ASSERT_NE(found, tileOf[side].end()) << side << ": " << x << "," << y;
        gids[static_cast<size_t>(y * width + left + x)] = found->second + 1;
      }
    const QImage drawn = Recoloured(DrawFieldDirectly(field, 32), LookOfBlock(side == 0 ? a : b));
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x)
        if (qAlpha(drawn.pixel(x, y)) != 0) expected.setPixel(left * 32 + x, y, drawn.pixel(x, y));
  }
  WriteText(dir.file("two.tmx"), MapText(width, height, 32, "atlas.tsx", gids));
  const ProgramRun rendered = RasterizeMap(dir.file("two.tmx"), dir.file("two.png"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
  const QImage byTiled = ReadBack(dir.file("two.png"));
  ASSERT_FALSE(byTiled.isNull());
  std::string first;
  EXPECT_EQ(DifferingPixels(byTiled, expected, first), 0) << "first difference at " << first;
}

// Two rows of three terrain1 blocks, each in its own colours, as two animated terrains of
// three frames: in Tiled's export every tile of a terrain's first frame plays the tiles
// that show it in each frame's block, and only those first tiles carry wang ids.
TEST(TiledAtlasTest, AnimatedBlocksPlayTheirFramesInTiledsExport) {
  ScratchDir dir;
  const QImage picture = SaveLookedBlocks(3, 2, dir.file("water.png"));
  ASSERT_FALSE(picture.isNull());
  ASSERT_EQ(RunConverter({"--all", "--atlas", "--frames", "3", "--frame-ms", "120", "--tileset",
                          "tiled", dir.file("water.png"), dir.file("atlas.png")})
                .exitCode,
            0);
  ASSERT_EQ(ExportTilesetAsJson(dir.file("atlas.tsx"), dir.file("atlas.json")).exitCode, 0);
  const std::optional<TiledJsonTileset> tileset = ReadTiledJson(dir.file("atlas.json"));
  ASSERT_TRUE(tileset.has_value());
  ASSERT_EQ(tileset->animations.size(), 2u * 40u);
  ASSERT_EQ(tileset->wangsets.size(), 2u);
  const QImage atlas = ReadBack(dir.file("atlas.png"));
  const int columns = atlas.width() / 32;
  for (const auto& [id, frames] : tileset->animations) {
    ASSERT_EQ(frames.size(), 3u) << id;
    const int terrain = id % columns / 12;  // each terrain's three 4-tile sheets in a row
    const int tile = id / columns * 4 + id % columns % 12;
    EXPECT_TRUE(tileset->wangsets[terrain].wangids.count(id) || tile == 15) << id;
    for (int frame = 0; frame < 3; ++frame) {
      const auto [shown, ms] = frames[frame];
      EXPECT_EQ(ms, 120);
      EXPECT_EQ(atlas.copy(shown % columns * 32, shown / columns * 32, 32, 32),
                ExpectedSheet(picture, LayoutFormat::Terrain1, frame * 64, terrain * 96)
                    .copy(tile % 4 * 32, tile / 4 * 32, 32, 32))
          << id << " frame " << frame;
    }
  }
  for (int terrain = 0; terrain < 2; ++terrain)  // no wang ids beyond the first frames'
    EXPECT_EQ(tileset->wangsets[terrain].wangids.size(), 39u);
}

// The bundled sample by its block map, complete: Tiled reads six terrains in the map's
// order, each with every shape it can tell (all 47 but the lone tile's), none on the roof
// tiles; a map holding every atlas tile in its place renders as the atlas itself; and a
// field painted with the water terrain's wang ids renders as the sample's water block's
// own quarters put together.
TEST(TiledAtlasTest, TheSamplesMapMakesSixTerrainsAndTwoRoofs) {
  ScratchDir dir;
  const std::string samples = std::string(KORVANTH_SOURCE_DIR) + "/samples/";
  fs::copy_file(samples + "sample-tiles.png", dir.file("sample.png"));
  fs::copy_file(samples + "sample-tiles.png.blocks", dir.file("sample.png.blocks"));
  const ProgramRun run = RunConverter({"--all", "--atlas", "--complete", "--tileset", "tiled",
                                       dir.file("sample.png"), dir.file("world.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QImage atlas = ReadBack(dir.file("world.png"));
  // Four terrain1 sheets of 128 x 384 in a row, two terrain2 of 128 x 416 under them, two
  // roofs of 96 x 128 under those.
  ASSERT_EQ(atlas.size(), QSize(512, 928));
  const int columns = atlas.width() / 32;
  ASSERT_EQ(ExportTilesetAsJson(dir.file("world.tsx"), dir.file("world.json")).exitCode, 0);
  const std::optional<TiledJsonTileset> tileset = ReadTiledJson(dir.file("world.json"));
  ASSERT_TRUE(tileset.has_value());
  EXPECT_EQ(tileset->fields.at("tilecount"), std::to_string(16 * 29));
  const std::vector<std::string> names = {"grass", "sand", "snow", "stone", "dirt", "water"};
  ASSERT_EQ(tileset->wangsets.size(), names.size());
  for (std::size_t k = 0; k < names.size(); ++k) {
    const TiledJsonTileset::WangSet& set = tileset->wangsets[k];
    EXPECT_EQ(set.name, names[k]);
    EXPECT_EQ(set.colour, MeanColour(atlas, set.tile % columns * 32, set.tile / columns * 32, 32));
    std::set<std::uint8_t> shapes;
    for (const auto& [tile, wangid] : set.wangids) {
      shapes.insert(BitsOf(wangid));
      EXPECT_LT(tile / columns, 25) << names[k] << ": tile " << tile << " among the roofs";
    }
    EXPECT_EQ(shapes.size(), 46u) << names[k];
  }

  // Every tile in its own place.
  const int rows = atlas.height() / 32;
  std::vector<int> every(static_cast<size_t>(columns * rows));
  for (size_t id = 0; id < every.size(); ++id) every[id] = static_cast<int>(id) + 1;
  WriteText(dir.file("every.tmx"), MapText(columns, rows, 32, "world.tsx", every));
  ASSERT_EQ(RasterizeMap(dir.file("every.tmx"), dir.file("every.png")).exitCode, 0);
  std::string first;
  EXPECT_EQ(DifferingPixels(ReadBack(dir.file("every.png")), atlas, first), 0)
      << "first difference at " << first;

  // The water terrain (terrain2 at cell 3,3) painted over a field.
  std::map<std::uint8_t, int> tileFor;
  std::set<std::uint8_t> available;
  for (const auto& [tile, wangid] : tileset->wangsets[5].wangids) {
    tileFor.emplace(BitsOf(wangid), tile);
    available.insert(BitsOf(wangid));
  }
  const TerrainField field = PaintedField(available);
  std::vector<int> gids(field.cells.size(), 0);
  for (int y = 0; y < field.height; ++y)
    for (int x = 0; x < field.width; ++x)
      if (field.at(x, y)) gids[y * field.width + x] = tileFor.at(NeighbourBits(field, x, y)) + 1;
  WriteText(dir.file("water.tmx"), MapText(field.width, field.height, 32, "world.tsx", gids));
  ASSERT_EQ(RasterizeMap(dir.file("water.tmx"), dir.file("water.png")).exitCode, 0);
  const QImage water = ReadBack(dir.file("sample.png")).copy(96, 96, 96, 128);
  EXPECT_EQ(DifferingPixels(ReadBack(dir.file("water.png")),
                            DrawFieldFromBlock(field, water, kTerrain2Geometry, 32), first),
            0)
      << "first difference at " << first;
}

}  // namespace
