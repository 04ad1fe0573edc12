// The tilesets as the real Tiled reads them: `tiled --export-tileset json` gives back
// every tile and wang id, and a map painted by wang ids renders, through tmxrasterizer,
// exactly as the test draws the same terrain field by its own rule.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <set>

#include "convert/tiled_tileset.h"
#include "convert/tileset_description.h"
#include "support/test_files.h"
#include "tilesets/peer_programs.h"
#include "tilesets/terrain_painting.h"

using namespace korvanth;

namespace fs = std::filesystem;

namespace {

// Converts `block` by `format` into `sheetName` inside `dir`, with its Tiled tileset
// beside it; returns the tileset's path.
std::string ConvertWithTileset(const ScratchDir& dir, LayoutFormat format, const QImage& block,
                               const std::string& sheetName) {
  const std::string blockPath = dir.file("block.png");
  EXPECT_TRUE(block.save(QString::fromStdString(blockPath), "PNG"));
  const ProgramRun run = RunConverter({"--format", std::string(LayoutFormatName(format)),
                                       "--tileset", "tiled", blockPath, dir.file(sheetName)});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string tsx = dir.file(std::string(korvanth::FileStem(sheetName)) + ".tsx");
  EXPECT_TRUE(fs::exists(tsx)) << tsx;
  return tsx;
}

struct FormatCase {
  LayoutFormat format;
  int blockWidth, blockHeight;
  const char* tileCount;
  const char* imageHeight;
};
const FormatCase kFormats[] = {
    {LayoutFormat::Terrain1, 64, 96, "40", "320"},
    {LayoutFormat::Terrain2, 96, 128, "48", "384"},
    {LayoutFormat::Roof, 64, 64, "12", "128"},
};

TEST(TiledRoundTripTest, TiledReadsEveryTilesetWithTheSameTilesAndWangIds) {
  for (const FormatCase& c : kFormats) {
    SCOPED_TRACE(std::string(LayoutFormatName(c.format)));
    ScratchDir dir;
    const std::string sheetName = "草原 & \"道\".png";
    const std::string tsx = ConvertWithTileset(
        dir, c.format, PatternImage(c.blockWidth, c.blockHeight, true), sheetName);
    const std::string json = dir.file("back.json");
    const ProgramRun run = ExportTilesetAsJson(tsx, json);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::optional<TiledJsonTileset> back = ReadTiledJson(json);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->fields.at("name"), "草原 & \"道\"");
    EXPECT_EQ(back->fields.at("image"), sheetName);
    EXPECT_EQ(back->fields.at("imagewidth"), c.format == LayoutFormat::Roof ? "96" : "128");
    EXPECT_EQ(back->fields.at("imageheight"), c.imageHeight);
    EXPECT_EQ(back->fields.at("tilecount"), c.tileCount);
    EXPECT_EQ(back->fields.at("columns"), c.format == LayoutFormat::Roof ? "3" : "4");
    EXPECT_EQ(back->fields.at("tilewidth"), "32");
    EXPECT_EQ(back->fields.at("tileheight"), "32");

    const korvanth::TerrainRoles roles = korvanth::TerrainRolesFor(c.format);
    if (roles.empty()) {
      EXPECT_EQ(back->wangsetCount, 0);
      continue;
    }
    ASSERT_EQ(back->wangsetCount, 1);
    EXPECT_EQ(back->wangsetType, "mixed");
    EXPECT_EQ(back->colourCount, 1);
    size_t withRole = 0;
    for (size_t tile = 0; tile < roles.size(); ++tile) {
      const auto found = back->wangids.find(static_cast<int>(tile));
      // Every tile with terrain but the lone one, whose all-zero wangid Tiled reads as
      // "not in the set".
      const bool inSet = roles[tile].has_value() && *roles[tile] != 0;
      EXPECT_EQ(found != back->wangids.end(), inSet) << "tile " << tile;
      if (found == back->wangids.end() || !roles[tile]) continue;
      ++withRole;
      EXPECT_EQ(WangBits(found->second), roles[tile]) << "tile " << tile;
    }
    EXPECT_EQ(back->wangids.size(), withRole);
  }
}

class TiledPaintingTest : public ::testing::TestWithParam<LayoutFormat> {};

TEST_P(TiledPaintingTest, AMapPaintedByWangIdsRendersAsTheFieldDrawnDirectly) {
  const LayoutFormat format = GetParam();
  ScratchDir dir;
  const QImage block = DrawTerrainBlock(format == LayoutFormat::Terrain1 ? BlockKind::Terrain1
                                                                         : BlockKind::Terrain2);
  const std::string tsx = ConvertWithTileset(dir, format, block, "painted.png");
  const ProgramRun exported = ExportTilesetAsJson(tsx, dir.file("painted.json"));
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const std::optional<TiledJsonTileset> tileset = ReadTiledJson(dir.file("painted.json"));
  ASSERT_TRUE(tileset.has_value());

  // The combinations the sheet offers, each with the first tile that has it.
  const std::map<std::uint8_t, int> tileFor = TilesByNeighbours(*tileset);
  std::set<std::uint8_t> available;
  for (const auto& [bits, tile] : tileFor) available.insert(bits);
  ASSERT_EQ(available.size(), format == LayoutFormat::Terrain1 ? 39u : 43u);

  // A field of several blobs and holes; of the first seeds that give one, the one that
  // needs the most different combinations.
  constexpr int kSize = 28;
  const TerrainField field = MostVariedField(kSize, available, 40);
  ASSERT_GE(CountBlobs(field), 3);
  ASSERT_GE(CountHoles(field), 2);

  const PaintedMap painted = PaintWithTiled(dir.path().string(), "painted.tsx", field, tileFor);
  ASSERT_FALSE(painted.picture.isNull()) << painted.problem;
  EXPECT_EQ(painted.tilesUsed.size(), available.size())
      << "the field leaves tiles of the set unused";
  int terrainCells = 0;
  for (std::uint8_t cell : field.cells) terrainCells += cell;
  std::printf("field %dx%d: %d blobs, %d holes, %d terrain cells, %zu distinct tiles\n", kSize,
              kSize, CountBlobs(field), CountHoles(field), terrainCells, painted.tilesUsed.size());

  const QImage direct = DrawFieldDirectly(field);
  std::string first;
  EXPECT_EQ(DifferingPixels(painted.picture, direct, first), 0) << "first difference at " << first;

  // Kept for the documentation when asked for.
  if (const char* keep = std::getenv("KORVANTH_KEEP_PAINTED_MAP"))
    fs::copy_file(dir.file("rendered.png"),
                  std::string(keep) + "-" + std::string(LayoutFormatName(format)) + ".png",
                  fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(TerrainFormats, TiledPaintingTest,
                         ::testing::Values(LayoutFormat::Terrain1, LayoutFormat::Terrain2),
                         [](const auto& info) {
                           return std::string(LayoutFormatName(info.param));
                         });

}  // namespace
