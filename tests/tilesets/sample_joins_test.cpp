// The bundled sample's terrain blocks join: a field painted in Tiled with a block's sheet
// renders as the same field put together from the block's own quarters, and wherever two
// quarters meet in it the pixels on either side lie side by side in the block itself.
#include <gtest/gtest.h>

#include <QImage>

#include <ostream>
#include <set>
#include <utility>

#include "convert/layout_format.h"
#include "support/test_files.h"
#include "tilesets/peer_programs.h"
#include "tilesets/terrain_painting.h"

using namespace korvanth;

namespace {

struct SampleBlock {
  LayoutFormat format;
  int column, row;  // 32-pixel cell of the block in the sample
  BlockGeometry geometry;
};

const SampleBlock kSampleBlocks[] = {
    {LayoutFormat::Terrain1, 0, 0, kTerrain1Geometry},
    {LayoutFormat::Terrain2, 0, 3, kTerrain2Geometry},
};

std::string SamplePath() { return std::string(KORVANTH_SOURCE_DIR) + "/samples/sample-tiles.png"; }

void PrintTo(const SampleBlock& block, std::ostream* out) {
  *out << LayoutFormatName(block.format) << " at cell " << block.column << "," << block.row;
}

// Pixel pairs lying side by side (the second `step` after the first) within `area`.
using PixelPairs = std::set<std::pair<QRgb, QRgb>>;
void AddPairs(const QImage& picture, QRect area, QPoint step, PixelPairs& pairs) {
  for (int y = area.top(); y + step.y() <= area.bottom(); ++y)
    for (int x = area.left(); x + step.x() <= area.right(); ++x)
      pairs.emplace(picture.pixel(x, y), picture.pixel(x + step.x(), y + step.y()));
}

class SampleJoinsTest : public ::testing::TestWithParam<SampleBlock> {
 protected:
  // Converts the sample's block with its Tiled tileset, paints with it the most varied of a
  // few random fields, given every shape the set has, and keeps the block as drawn.
  void SetUp() override {
    const SampleBlock& b = GetParam();
    const QImage sample = ReadBack(SamplePath());
    ASSERT_FALSE(sample.isNull()) << SamplePath();
    const PixelSize size = SelectionBlockSize(b.format);
    block_ = sample.copy(b.column * 32, b.row * 32, size.width, size.height);
    const std::string cell = std::to_string(b.column) + "," + std::to_string(b.row);
    const ProgramRun run =
        RunConverter({"--format", std::string(LayoutFormatName(b.format)), "--cell", cell,
                      "--tileset", "tiled", SamplePath(), dir_.file("sheet.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(ExportTilesetAsJson(dir_.file("sheet.tsx"), dir_.file("sheet.json")).exitCode, 0);
    const std::optional<TiledJsonTileset> tileset = ReadTiledJson(dir_.file("sheet.json"));
    ASSERT_TRUE(tileset.has_value());
    const std::map<std::uint8_t, int> tiles = TilesByNeighbours(*tileset);
    std::set<std::uint8_t> available;
    for (const auto& [bits, tile] : tiles) available.insert(bits);
    field_ = WithEveryShape(MostVariedField(28, available, 40), available);
    painted_ = PaintWithTiled(dir_.path().string(), "sheet.tsx", field_, tiles);
    ASSERT_FALSE(painted_.picture.isNull()) << painted_.problem;
    EXPECT_EQ(painted_.tilesUsed.size(), tiles.size()) << "the field leaves tiles unused";
  }

  ScratchDir dir_;
  QImage block_;
  TerrainField field_;
  PaintedMap painted_;
};

TEST_P(SampleJoinsTest, TiledRendersTheFieldAsTheBlocksQuartersPutTogether) {
  std::string first;
  EXPECT_EQ(DifferingPixels(painted_.picture,
                            DrawFieldFromBlock(field_, block_, GetParam().geometry), first),
            0)
      << "first difference at " << first;
}

TEST_P(SampleJoinsTest, WhereQuartersMeetThePixelsLieSideBySideInTheBlock) {
  // The block's pairs within its patch and within its inner-corner piece: a join anywhere
  // in a painted field must look like one of them.
  const BlockGeometry g = GetParam().geometry;
  const QRect patch(g.patchColumn * 16, g.patchRow * 16, g.patchQuarters * 16,
                    g.patchQuarters * 16);
  const QRect piece(g.innerColumn * 16, g.innerRow * 16, 32, 32);
  PixelPairs across, down;
  for (const QRect& area : {patch, piece}) {
    AddPairs(block_, area, {1, 0}, across);
    AddPairs(block_, area, {0, 1}, down);
  }
  const QImage& map = painted_.picture;
  auto terrain = [this](int x, int y) { return field_.at(x / 32, y / 32); };
  int seams = 0, joins = 0;
  for (int y = 0; y < map.height(); ++y)
    for (int x = 15; x + 1 < map.width(); x += 16) {
      if (!terrain(x, y) || !terrain(x + 1, y)) continue;
      ++joins;
      seams += across.count({map.pixel(x, y), map.pixel(x + 1, y)}) == 0;
    }
  for (int y = 15; y + 1 < map.height(); y += 16)
    for (int x = 0; x < map.width(); ++x) {
      if (!terrain(x, y) || !terrain(x, y + 1)) continue;
      ++joins;
      seams += down.count({map.pixel(x, y), map.pixel(x, y + 1)}) == 0;
    }
  EXPECT_GT(joins, 0);
  EXPECT_EQ(seams, 0) << "of " << joins << " pixel pairs where quarters meet";
}

INSTANTIATE_TEST_SUITE_P(SampleBlocks, SampleJoinsTest, ::testing::ValuesIn(kSampleBlocks),
                         [](const auto& info) {
                           return std::string(LayoutFormatName(info.param.format));
                         });

}  // namespace
