// The bundled sample's terrain blocks join: a field painted in Tiled with a block's sheet
// renders as the same field put together from the block's own quarters, and wherever two
// quarters meet in it the pixels on either side lie side by side in the block itself.
#include <gtest/gtest.h>

#include <QImage>

#include <ostream>
#include <random>
#include <set>
#include <tuple>
#include <utility>

#include "convert/layout_format.h"
#include "support/pixel_difference.h"
#include "support/test_files.h"
#include "tilesets/peer_programs.h"
#include "tilesets/terrain_painting.h"

using namespace korvanth;

namespace {

struct SampleBlock {
  LayoutFormat format;
  int column, row;  // the block's cell in the sample, counted in tiles
  BlockGeometry geometry;
};

const SampleBlock kSampleBlocks[] = {
    {LayoutFormat::Terrain1, 0, 0, kTerrain1Geometry},
    {LayoutFormat::Terrain2, 0, 3, kTerrain2Geometry},
};

void PrintTo(const SampleBlock& block, std::ostream* out) {
  *out << LayoutFormatName(block.format) << " at cell " << block.column << "," << block.row;
}

// The sample as drawn for tiles of `tileSize` pixels: each pixel taken from the one it
// stands for at 32, so every quarter comes from one quarter of the original.
QImage SampleAt(int tileSize) {
  const QImage sample = ReadBack(std::string(KORVANTH_SOURCE_DIR) + "/samples/sample-tiles.png");
  if (sample.isNull()) return sample;
  QImage scaled(sample.width() * tileSize / 32, sample.height() * tileSize / 32,
                QImage::Format_ARGB32);
  for (int y = 0; y < scaled.height(); ++y)
    for (int x = 0; x < scaled.width(); ++x)
      scaled.setPixel(x, y, sample.pixel(x * 32 / tileSize, y * 32 / tileSize));
  return scaled;
}

// Pixel pairs lying side by side (the second `step` after the first) within `area`.
using PixelPairs = std::set<std::pair<QRgb, QRgb>>;
void AddPairs(const QImage& picture, QRect area, QPoint step, PixelPairs& pairs) {
  for (int y = area.top(); y + step.y() <= area.bottom(); ++y)
    for (int x = area.left(); x + step.x() <= area.right(); ++x)
      pairs.emplace(picture.pixel(x, y), picture.pixel(x + step.x(), y + step.y()));
}

class SampleJoinsTest : public ::testing::TestWithParam<std::tuple<SampleBlock, int>> {
 protected:
  // Converts the sample's block into its complete set with a Tiled tileset, paints with it
  // the most varied of a few random fields, given every shape the set has, and keeps the
  // block as drawn.
  void SetUp() override {
    const auto& [b, tileSize] = GetParam();
    QImage sample = SampleAt(tileSize);
    ASSERT_FALSE(sample.isNull());
    // Terrain1's top-left tile is never read: noise there would show if it were.
    std::mt19937 noise(7);
    for (int i = 0; b.format == LayoutFormat::Terrain1 && i < tileSize * tileSize; ++i)
      sample.setPixel(b.column * tileSize + i % tileSize, b.row * tileSize + i / tileSize,
                      0xFF000000u | (noise() & 0xFFFFFFu));
    ASSERT_TRUE(sample.save(QString::fromStdString(dir_.file("sample.png")), "PNG"));
    const PixelSize size = SelectionBlockSize(b.format);
    block_ = sample.copy(b.column * tileSize, b.row * tileSize, size.width * tileSize / 32,
                         size.height * tileSize / 32);
    const std::string cell = std::to_string(b.column) + "," + std::to_string(b.row);
    const ProgramRun run =
        RunConverter({"--format", std::string(LayoutFormatName(b.format)), "--tile-size",
                      std::to_string(tileSize), "--complete", "--cell", cell, "--tileset", "tiled",
                      dir_.file("sample.png"), dir_.file("sheet.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(ExportTilesetAsJson(dir_.file("sheet.tsx"), dir_.file("sheet.json")).exitCode, 0);
    const std::optional<TiledJsonTileset> tileset = ReadTiledJson(dir_.file("sheet.json"));
    ASSERT_TRUE(tileset.has_value());
    const std::map<std::uint8_t, int> tiles = TilesByNeighbours(*tileset);
    // Every shape but the lone tile's, which Tiled cannot hold.
    ASSERT_EQ(tiles.size(), 46u);
    std::set<std::uint8_t> available;
    for (const auto& [bits, tile] : tiles) available.insert(bits);
    field_ = MostVariedField(28, available, 40);
    ASSERT_GE(CountBlobs(field_), 3);
    ASSERT_GE(CountHoles(field_), 2);
    field_ = WithEveryShape(field_, available);
    painted_ = PaintWithTiled(dir_.path().string(), "sheet.tsx", field_, tiles, tileSize);
    ASSERT_FALSE(painted_.picture.isNull()) << painted_.problem;
    EXPECT_EQ(painted_.tilesUsed.size(), tiles.size()) << "the field leaves tiles unused";
  }

  ScratchDir dir_;
  QImage block_;
  TerrainField field_;
  PaintedMap painted_;
};

TEST_P(SampleJoinsTest, TiledRendersTheFieldAsTheBlocksQuartersPutTogether) {
  const auto& [block, tileSize] = GetParam();
  EXPECT_EQ(FirstDifference(DrawFieldFromBlock(field_, block_, block.geometry, tileSize),
                            painted_.picture),
            "");
}

TEST_P(SampleJoinsTest, WhereQuartersMeetThePixelsLieSideBySideInTheBlock) {
  // The block's pairs within its patch and within its inner-corner piece: a join anywhere
  // in a painted field must look like one of them.
  const BlockGeometry g = std::get<0>(GetParam()).geometry;
  const int tile = std::get<1>(GetParam()), half = tile / 2;
  const QRect patch(g.patchColumn * half, g.patchRow * half, g.patchQuarters * half,
                    g.patchQuarters * half);
  const QRect piece(g.innerColumn * half, g.innerRow * half, tile, tile);
  PixelPairs across, down;
  for (const QRect& area : {patch, piece}) {
    AddPairs(block_, area, {1, 0}, across);
    AddPairs(block_, area, {0, 1}, down);
  }
  const QImage& map = painted_.picture;
  auto terrain = [this, tile](int x, int y) { return field_.at(x / tile, y / tile); };
  int seams = 0, joins = 0;
  for (int y = 0; y < map.height(); ++y)
    for (int x = half - 1; x + 1 < map.width(); x += half) {
      if (!terrain(x, y) || !terrain(x + 1, y)) continue;
      ++joins;
      seams += across.count({map.pixel(x, y), map.pixel(x + 1, y)}) == 0;
    }
  for (int y = half - 1; y + 1 < map.height(); y += half)
    for (int x = 0; x < map.width(); ++x) {
      if (!terrain(x, y) || !terrain(x, y + 1)) continue;
      ++joins;
      seams += down.count({map.pixel(x, y), map.pixel(x, y + 1)}) == 0;
    }
  EXPECT_GT(joins, 0);
  EXPECT_EQ(seams, 0) << "of " << joins << " pixel pairs where quarters meet";
}

INSTANTIATE_TEST_SUITE_P(SampleBlocks, SampleJoinsTest,
                         ::testing::Combine(::testing::ValuesIn(kSampleBlocks),
                                            ::testing::Values(16, 32, 48)),
                         [](const auto& info) {
                           return std::string(LayoutFormatName(std::get<0>(info.param).format)) +
                                  "_" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
