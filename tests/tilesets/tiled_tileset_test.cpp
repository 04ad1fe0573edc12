// The tilesets as the real Tiled reads them: `tiled --export-tileset json` gives back
// every tile and wang id (maps painted with them: sample_joins_test.cpp).
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "convert/tiled_tileset.h"
#include "convert/tileset_description.h"
#include "support/test_files.h"
#include "tilesets/peer_programs.h"

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

}  // namespace
