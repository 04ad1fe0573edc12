// The region a block needs, decoded on its own, against the slow path: the whole picture
// decoded, then cut. Every variant of every format read, blocks inside, across each edge
// and outside the picture.
#include <gtest/gtest.h>

#include <QRect>

#include <filesystem>

#include "imaging/imaging_helpers.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

std::vector<std::string> SeedFiles() {
  std::vector<std::string> files;
  const std::string seeds = std::string(KORVANTH_SOURCE_DIR) + "/tests/fuzz/seeds";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(seeds))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::u16string Wide(const std::string& path) {
  return QString::fromStdString(path).toStdU16String();
}

TEST(PictureRegion, MatchesTheWholePictureCut) {
  int compared = 0;
  for (const std::string& path : SeedFiles()) {
    ImageHandle whole = Load(path);
    if (whole.lastStatus() != Ok) continue;  // seeds the loader refuses whole
    const QImage all = PixelsOf(whole);
    const int w = all.width(), h = all.height();
    // Blocks as (x, y, width, height): inside, across each edge and corner, over all of it,
    // across a row of 16-pixel blocks, and missing it on every side.
    const QRect blocks[] = {{0, 0, 5, 7},           {w / 3, h / 2, 6, 3},  {w - 3, h - 4, 8, 9},
                            {-2, -3, 6, 7},         {-4, h / 2, 9, 2},     {w / 2, -5, 3, 9},
                            {-1, -1, w + 2, h + 2}, {w + 5, 2, 4, 4},      {2, h, 4, 4},
                            {-20, -20, 5, 5},       {w / 2 - 3, 13, 5, 6}, {w / 2, h - 1, 1, 1}};
    for (const QRect& block : blocks) {
      SCOPED_TRACE(path + " block " + std::to_string(block.x()) + "," + std::to_string(block.y()) +
                   " " + std::to_string(block.width()) + "x" + std::to_string(block.height()));
      imaging::LoadedRegion loaded;
      const std::u16string name = Wide(path);
      ImageHandle region = ImageHandle::FromPictureRegion(name.c_str(), block.x(), block.y(),
                                                          block.width(), block.height(), loaded);
      ASSERT_EQ(region.lastStatus(), Ok);
      EXPECT_EQ(loaded.pictureWidth, w);
      EXPECT_EQ(loaded.pictureHeight, h);
      const QRect area(static_cast<int>(loaded.region.left), static_cast<int>(loaded.region.top),
                       static_cast<int>(loaded.region.width),
                       static_cast<int>(loaded.region.height));
      const QRect needed = block & all.rect();
      EXPECT_TRUE(all.rect().contains(area));
      if (needed.isEmpty())  // some picture pixels all the same, which the block misses
        EXPECT_TRUE(!area.isEmpty() && !area.intersects(block));
      else
        EXPECT_EQ(area, needed);
      EXPECT_EQ(FirstDifference(all.copy(area), PixelsOf(region)), "");
      ++compared;
    }
  }
  EXPECT_GT(compared, 300);  // every seed format took part
}

TEST(PictureRegion, RefusesWhatTheWholeLoadRefuses) {
  ScratchDir dir;
  // A BMP declaring 40000 x 40000 at 32 bits, text, and a name that is no file.
  WriteBytes(dir.file("huge.bmp"), "BM" + Le32(70) + Le32(0) + Le32(54) + Le32(40) + Le32(40000) +
                                       Le32(40000) + Le16(1) + Le16(32) + std::string(40, '\0'));
  WriteBytes(dir.file("text.png"), "this is not a picture at all");
  for (const char* name : {"huge.bmp", "text.png", "missing.png"}) {
    const std::u16string path = Wide(dir.file(name));
    imaging::LoadedRegion loaded;
    ImageHandle region = ImageHandle::FromPictureRegion(path.c_str(), 0, 0, 64, 64, loaded);
    EXPECT_EQ(region.lastStatus(), Load(dir.file(name)).lastStatus()) << name;
    EXPECT_NE(region.lastStatus(), Ok) << name;
  }
}

}  // namespace
