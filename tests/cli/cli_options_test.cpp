// Argument parsing and the cell placement rule of korvanth-convert.
#include <gtest/gtest.h>

#include "cli/convert_jobs.h"
#include "cli/options.h"

namespace {

TEST(ConvertOptionsTest, DefaultsAndValues) {
  ParseResult r = ParseArguments({"in.png", "out.png"});
  ASSERT_TRUE(r.options);
  EXPECT_EQ(r.options->mode, ConvertOptions::Mode::Single);
  EXPECT_EQ(r.options->format, LayoutFormat::Terrain1);
  EXPECT_FALSE(r.options->origin);
  EXPECT_FALSE(r.options->cell);

  r = ParseArguments({"--format", "roof", "--origin=-16,32", "a", "b"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->format, LayoutFormat::Roof);
  EXPECT_EQ(r.options->origin->x, -16);
  EXPECT_EQ(r.options->origin->y, 32);

  r = ParseArguments({"--all", "--type", "tif", "--format=terrain2", "a", "dir"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->mode, ConvertOptions::Mode::Batch);
  EXPECT_EQ(r.options->batchType, "tif");

  r = ParseArguments({"--", "-odd-name.png", "out.png"});
  ASSERT_TRUE(r.options) << r.error;
  EXPECT_EQ(r.options->input, "-odd-name.png");
}

TEST(ConvertOptionsTest, RejectsWhatCannotBeMeant) {
  EXPECT_FALSE(ParseArguments({"--cell", "99999999999,0", "a", "b"}).options);
  EXPECT_FALSE(ParseArguments({"--cell", "3", "a", "b"}).options);
  EXPECT_FALSE(ParseArguments({"--origin", "1,2,3", "a", "b"}).options);
  EXPECT_FALSE(ParseArguments({"--format", "", "a", "b"}).options);
}

TEST(CellPlacementTest, PulledBackLikeTheWindowPlacesTheBlock) {
  const PixelSize terrain2 = SelectionBlockSize(LayoutFormat::Terrain2);
  SelectionPoint p = OriginForCell({7, 1}, terrain2, 256, 1024);
  EXPECT_EQ(p.x, 160);
  EXPECT_EQ(p.y, 32);
  p = OriginForCell({0, 0}, SelectionBlockSize(LayoutFormat::Terrain1), 32, 32);
  EXPECT_EQ(p.x, -32);
  EXPECT_EQ(p.y, -64);
  p = OriginForCell({2, 3}, SelectionBlockSize(LayoutFormat::Roof), 128, 160);
  EXPECT_EQ(p.x, 64);
  EXPECT_EQ(p.y, 96);
}

}  // namespace
