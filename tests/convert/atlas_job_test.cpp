// An atlas in memory and on disk: each block's sheet lands bit for bit in its cell (held
// against the independent per-quarter computation), blocks that show nothing are skipped
// and counted, and the blocks may be built in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "convert/atlas_job.h"
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
