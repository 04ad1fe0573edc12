// An atlas in memory and on disk: each block's sheet lands bit for bit in its cell (held
// against the independent per-quarter computation), blocks that show nothing are skipped
// and counted, and the blocks may be built in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "convert/atlas_job.h"
#include "convert/block_map.h"
#include "convert/picture_file.h"
#include "support/format_names.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

TEST(AtlasJobTest, EachKeptBlocksSheetLandsInItsCell) {
  for (const LayoutFormat format : kAllLayoutFormats) {
    SCOPED_TRACE(std::string(LayoutFormatName(format)));
    ScratchDir dir;
    const PixelSize block = SelectionBlockSize(format);
    // 3 x 2 blocks and a strip too narrow for a block; block (1, 0) shows nothing.
    QImage source = PatternImage(3 * block.width + 5, 2 * block.height, true);
    for (int y = 0; y < block.height; ++y)
      for (int x = block.width; x < 2 * block.width; ++x) source.setPixel(x, y, 0x00FFFFFFu);
    ASSERT_TRUE(source.save(QString::fromStdString(dir.file("in.png")), "PNG"));
    ImageHandle picture;
    ASSERT_EQ(LoadPictureFile(dir.file("in.png"), picture).problem, LoadProblem::None);

    AtlasJob job;
    job.picture = &picture;
    job.layout = format;
    job.output = dir.file("atlas.png");
    job.pictureFile = dir.file("in.png");
    job.workers = 3;  // the sheets placed in any order give the same atlas
    const AtlasResult result = RunAtlas(job, {});
    ASSERT_TRUE(result.ok()) << result.problems.front().reason.english;
    EXPECT_EQ(result.blocks, 6);
    EXPECT_EQ(result.placed, 5);
    EXPECT_EQ(result.skipped, 1);

    // Five sheets fit one row of 4096 pixels.
    const QImage atlas = ReadBack(dir.file("atlas.png"));
    const PixelSize sheet = SheetSize(format);
    ASSERT_EQ(atlas.width(), 5 * sheet.width);
    ASSERT_EQ(atlas.height(), sheet.height);
    const int kept[][2] = {{0, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    for (int cell = 0; cell < 5; ++cell) {
      const QImage expected =
          ExpectedSheet(source, format, kept[cell][0] * block.width, kept[cell][1] * block.height);
      const QImage placed = atlas.copy(cell * sheet.width, 0, sheet.width, sheet.height);
      EXPECT_EQ(placed, expected) << "cell " << cell;
    }
  }
}

// A block map's blocks, each at its own format: sheets of one format and frame count share a
// grid, the grids one under another in the order the map first names them (worked out by
// hand below), an empty block is skipped, and only terrain blocks bring a terrain.
TEST(AtlasJobTest, AMapsBlocksLandInTheGridOfTheirFormat) {
  ScratchDir dir;
  QImage source = PatternImage(256, 224, true);
  for (int y = 96; y < 192; ++y)
    for (int x = 96; x < 160; ++x) source.setPixel(x, y, 0x00FFFFFFu);  // block 'none'
  ASSERT_TRUE(source.save(QString::fromStdString(dir.file("in.png")), "PNG"));
  ImageHandle picture;
  ASSERT_EQ(LoadPictureFile(dir.file("in.png"), picture).problem, LoadProblem::None);
  const BlockMapParse map = ParseBlockMap(
      "0,0 terrain1 grass\n2,0 terrain1 sand 2\n6,0 roof red\n0,3 terrain2 dirt\n"
      "3,3 terrain1 none\n6,3 roof slate\n");
  ASSERT_TRUE(map.ok()) << map.problem.english;

  AtlasJob job;
  job.picture = &picture;
  job.output = dir.file("atlas.png");
  job.pictureFile = dir.file("in.png");
  job.tilesets = kTiledTileset;
  job.map = &*map.map;
  job.workers = 3;
  const AtlasResult result = RunAtlas(job, {});
  ASSERT_TRUE(result.ok()) << result.problems.front().reason.english;
  EXPECT_EQ(result.blocks, 7);
  EXPECT_EQ(result.placed, 6);
  EXPECT_EQ(result.skipped, 1);
  EXPECT_EQ(result.runs, 5);
  EXPECT_EQ(result.animations, 1);

  // Grids: terrain1 (128 x 320), terrain1 in 2 frames (256 x 320), 2 roofs (96 x 128 each),
  // terrain2 (128 x 384): 256 wide, 320 + 320 + 128 + 384 high.
  const QImage atlas = ReadBack(dir.file("atlas.png"));
  ASSERT_EQ(atlas.size(), QSize(256, 1152));
  struct Placed {
    LayoutFormat format;
    int blockX, blockY, atlasX, atlasY;
  };
  for (const Placed p :
       {Placed{LayoutFormat::Terrain1, 0, 0, 0, 0}, Placed{LayoutFormat::Terrain1, 64, 0, 0, 320},
        Placed{LayoutFormat::Terrain1, 128, 0, 128, 320},
        Placed{LayoutFormat::Roof, 192, 0, 0, 640}, Placed{LayoutFormat::Roof, 192, 96, 96, 640},
        Placed{LayoutFormat::Terrain2, 0, 96, 0, 768}}) {
    const PixelSize sheet = SheetSize(p.format);
    EXPECT_EQ(atlas.copy(p.atlasX, p.atlasY, sheet.width, sheet.height),
              ExpectedSheet(source, p.format, p.blockX, p.blockY))
        << p.atlasX << "," << p.atlasY;
  }
  const std::string tileset = ReadBytes(dir.file("atlas.tsx"));
  const auto count = [&](const std::string& text) {
    std::size_t n = 0;
    for (auto at = tileset.find(text); at != std::string::npos; at = tileset.find(text, at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count("<wangset "), 3u);
  EXPECT_LT(tileset.find("<wangset name=\"grass\""), tileset.find("<wangset name=\"sand\""));
  EXPECT_LT(tileset.find("<wangset name=\"sand\""), tileset.find("<wangset name=\"dirt\""));
  EXPECT_EQ(count("<animation>"), 40u);  // every tile of sand's first frame
  // Sand's first tile (atlas tile 0,10 of 8 a row) shows its second frame 4 tiles on.
  EXPECT_NE(tileset.find("<tile id=\"80\">\n  <animation>\n   <frame tileid=\"80\" "
                         "duration=\"250\"/>\n   <frame tileid=\"84\""),
            std::string::npos);
}

// A 4096 x 6720 picture makes an atlas of 700 MiB of pixels, which fits the largest
// picture, but written as PNG it would take 1680 MiB with the picture (atlas_budget_test):
// refused from the picture's size, before a pixel is read (every block is empty here,
// which would have been the refusal had the pixels been read).
TEST(AtlasJobTest, AnAtlasPastItsMemoryBoundIsRefusedBeforeAPixelIsRead) {
  ScratchDir dir;
  ImageHandle picture = ImageHandle::FromScan0(4096, 6720, PixelFormat32bppARGB);
  ASSERT_FALSE(picture.empty());
  AtlasJob job;
  job.picture = &picture;
  job.output = dir.file("atlas.png");
  job.tilesets = kAllTilesets;
  const AtlasResult result = RunAtlas(job, {});
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].path, job.output);
  EXPECT_NE(result.problems[0].reason.english.find("the atlas would be too large"),
            std::string::npos)
      << result.problems[0].reason.english;
  EXPECT_EQ(result.placed, 0);
  EXPECT_TRUE(FileNamesIn(dir.path()).empty());
}

}  // namespace
