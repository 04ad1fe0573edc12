// The converter's block load: the region converted at the adjusted origin gives the
// sheet of the whole picture at the asked origin.
#include <gtest/gtest.h>

#include "convert/picture_block_load.h"
#include "convert/conversion_job.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

TEST(PictureBlockLoadTest, TheRegionConvertsToTheWholePicturesSheet) {
  ScratchDir dir;
  const std::string sample = std::string(KORVANTH_SOURCE_DIR) + "/samples/sample-tiles.png";
  const QImage picture = ReadBack(sample);
  // Across the picture's right edge.
  const int x = picture.width() - 40, y = 32;
  PictureBlock block = LoadPictureBlock(sample, LayoutFormat::Terrain2, x, y);
  ASSERT_EQ(block.outcome.problem, LoadProblem::None);
  EXPECT_EQ(block.pictureWidth, picture.width());
  EXPECT_EQ(block.pictureHeight, picture.height());
  ASSERT_TRUE(RunConversion({&block.region,
                             LayoutFormat::Terrain2,
                             block.origin,
                             dir.file("sheet.png"),
                             kNoTilesets,
                             {}},
                            {})
                  .ok());
  EXPECT_EQ(FirstDifference(ExpectedSheet(picture, LayoutFormat::Terrain2, x, y),
                            ReadBack(dir.file("sheet.png"))),
            "");
  // A refused file is reported as a whole load reports it.
  WriteBytes(dir.file("text.png"), "not a picture");
  ImageHandle whole;
  EXPECT_EQ(LoadPictureBlock(dir.file("text.png"), LayoutFormat::Roof, 0, 0).outcome.problem,
            LoadPictureFile(dir.file("text.png"), whole).problem);
}

}  // namespace
