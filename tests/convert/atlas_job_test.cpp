// An atlas in memory and on disk: each block's sheet lands bit for bit in its cell (held
// against the independent per-quarter computation), blocks that show nothing are skipped
// and counted, the blocks may be built in any order, and an animated terrain's frames lie
// side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "convert/atlas_job.h"
#include "convert/picture_file.h"
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
    job.forEach = [](int count, const std::function<void(int)>& work) {
      for (int i = count - 1; i >= 0; --i) work(i);  // any order gives the same atlas
    };
    const AtlasResult result = RunAtlas(job, {});
    ASSERT_TRUE(result.ok()) << result.problems.front().reason;
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

// 3 x 2 terrain1 blocks in runs of 3: each run's frames side by side in one cell, an
// empty frame kept as a transparent sheet; a row that makes no whole runs writes nothing.
TEST(AtlasJobTest, AnimatedTerrainsFramesLieSideBySide) {
  ScratchDir dir;
  QImage source = PatternImage(3 * 64, 2 * 96, true);
  const auto clearBlock = [&source](int column, int row) {
    for (int y = row * 96; y < (row + 1) * 96; ++y)
      for (int x = column * 64; x < (column + 1) * 64; ++x) source.setPixel(x, y, 0);
  };
  clearBlock(1, 1);
  ASSERT_TRUE(source.save(QString::fromStdString(dir.file("in.png")), "PNG"));
  ImageHandle picture;
  ASSERT_EQ(LoadPictureFile(dir.file("in.png"), picture).problem, LoadProblem::None);
  AtlasJob job;
  job.picture = &picture;
  job.layout = LayoutFormat::Terrain1;
  job.output = dir.file("atlas.png");
  job.tilesets = kTiledTileset;
  job.frames = 3;
  job.frameMs = 100;
  const AtlasResult result = RunAtlas(job, {});
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.placed, 6);
  EXPECT_EQ(result.skipped, 0);
  EXPECT_EQ(result.terrains, 2);
  const QImage atlas = ReadBack(dir.file("atlas.png"));
  ASSERT_EQ(atlas.size(), QSize(2 * 3 * 128, 320));
  for (int run = 0; run < 2; ++run)
    for (int frame = 0; frame < 3; ++frame)
      EXPECT_EQ(atlas.copy((run * 3 + frame) * 128, 0, 128, 320),
                ExpectedSheet(source, LayoutFormat::Terrain1, frame * 64, run * 96))
          << run << "/" << frame;
  const std::string tsx = ReadBytes(dir.file("atlas.tsx"));
  std::size_t animations = 0;
  for (auto at = tsx.find("<animation>"); at != std::string::npos;
       at = tsx.find("<animation>", at + 1))
    ++animations;
  EXPECT_EQ(animations, 2u * 40u);  // every tile of each run's first frame

  clearBlock(2, 1);  // row 1 now ends after 1 block: no whole run of 3
  ASSERT_TRUE(source.save(QString::fromStdString(dir.file("in.png")), "PNG"));
  ASSERT_EQ(LoadPictureFile(dir.file("in.png"), picture).problem, LoadProblem::None);
  job.output = dir.file("other.png");
  const AtlasResult uneven = RunAtlas(job, {});
  EXPECT_FALSE(uneven.ok());
  EXPECT_EQ(uneven.unevenRow, 1);
  EXPECT_EQ(uneven.unevenRowBlocks, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.file("other.png")));
}

}  // namespace
