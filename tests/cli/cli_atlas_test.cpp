// korvanth-convert --all --atlas, one run per behaviour: the atlas with both tilesets,
// --names, an empty block skipped, and whole or nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/test_files.h"


namespace fs = std::filesystem;

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class ConvertAtlasTest : public ::testing::Test {
 protected:
  // A picture of 3 x 1 terrain1 blocks at 16 pixels (32 x 48 each); block 1 shows nothing
  // when `emptyMiddle`.
  void Picture(bool emptyMiddle) {
    QImage image = PatternImage(96, 48, true);
    if (emptyMiddle)
      for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 64; ++x) image.setPixel(x, y, 0);
    input_ = dir_.file("tiles.png");
    ASSERT_TRUE(image.save(QString::fromStdString(input_), "PNG"));
  }
  ProgramRun Atlas(std::vector<std::string> more) {
    std::vector<std::string> arguments = {"--all", "--atlas", "--tile-size", "16"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    arguments.insert(arguments.end(), {input_, dir_.file("atlas.png")});
    return RunConverter(arguments);
  }
  ScratchDir dir_;
  std::string input_;
};

TEST_F(ConvertAtlasTest, WritesTheAtlasWithBothTilesets) {
  Picture(false);
  const ProgramRun run = Atlas({"--tileset", "both", "--jobs", "2"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "korvanth-convert: 3 blocks into " + dir_.file("atlas.png") +
                         ", 0 empty blocks skipped\n");
  EXPECT_EQ(FileNamesIn(dir_.path()),
            (std::set<std::string>{"tiles.png", "atlas.png", "atlas.tsx", "atlas.tres"}));
  EXPECT_EQ(ReadBack(dir_.file("atlas.png")).size(), QSize(3 * 64, 160));
  const std::string tsx = ReadBytes(dir_.file("atlas.tsx"));
  EXPECT_EQ(Count(tsx, "<wangset "), 3u);
  EXPECT_NE(tsx.find("<wangset name=\"tiles_2_0\""), std::string::npos);
  const std::string tres = ReadBytes(dir_.file("atlas.tres"));
  EXPECT_EQ(Count(tres, "/name = "), 3u);
  EXPECT_NE(tres.find("terrain_set_0/terrain_2/name = \"tiles_2_0\""), std::string::npos);
}

TEST_F(ConvertAtlasTest, NamesFromAFileAndADuplicateRefused) {
  Picture(false);
  WriteBytes(dir_.file("names.txt"), "grass\n\ngrass\n");
  const ProgramRun twice = Atlas({"--tileset", "tiled", "--names", dir_.file("names.txt")});
  EXPECT_EQ(twice.exitCode, 2);
  EXPECT_NE(twice.err.find("the name 'grass' is given to two blocks (lines 1 and 3)"),
            std::string::npos)
      << twice.err;
  EXPECT_EQ(FileNamesIn(dir_.path()), (std::set<std::string>{"tiles.png", "names.txt"}));

  WriteBytes(dir_.file("names.txt"), "grass\n\nsand\n");
  ASSERT_EQ(Atlas({"--tileset", "tiled", "--names", dir_.file("names.txt")}).exitCode, 0);
  const std::string tsx = ReadBytes(dir_.file("atlas.tsx"));
  for (const char* name : {"grass", "tiles_1_0", "sand"})
    EXPECT_NE(tsx.find(std::string("<wangset name=\"") + name + "\""), std::string::npos) << name;
}

TEST_F(ConvertAtlasTest, AnEmptyBlockIsSkippedAndCounted) {
  Picture(true);
  const ProgramRun run = Atlas({"--tileset", "tiled"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("2 blocks into"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("1 empty blocks skipped"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBack(dir_.file("atlas.png")).size(), QSize(2 * 64, 160));
  const std::string tsx = ReadBytes(dir_.file("atlas.tsx"));
  EXPECT_EQ(tsx.find("tiles_1_0"), std::string::npos);
  EXPECT_NE(tsx.find("tiles_2_0"), std::string::npos);
}

TEST_F(ConvertAtlasTest, ATilesetThatCannotBeWrittenLeavesTheOldAtlas) {
  Picture(false);
  WriteBytes(dir_.file("atlas.png"), "old atlas");
  fs::create_directory(dir_.path() / "atlas.tres");  // in the Godot tileset's way
  const ProgramRun run = Atlas({"--tileset", "both"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("atlas.tres: cannot write: it is a folder"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBytes(dir_.file("atlas.png")), "old atlas");
  EXPECT_EQ(FileNamesIn(dir_.path()),
            (std::set<std::string>{"tiles.png", "atlas.png", "atlas.tres"}));
}

TEST_F(ConvertAtlasTest, ARowOfThreeFramesIsOneAnimatedTerrain) {
  Picture(false);
  const ProgramRun run = Atlas({"--frames", "3", "--frame-ms", "100", "--tileset", "both"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "korvanth-convert: 3 blocks (1 animations of 3 frames) into " +
                         dir_.file("atlas.png") + ", 0 empty blocks skipped\n");
  EXPECT_EQ(Count(ReadBytes(dir_.file("atlas.tsx")), "<animation>"), 40u);
  EXPECT_EQ(Count(ReadBytes(dir_.file("atlas.tres")), "/animation_frames_count = 3\n"), 40u);
  // Two frames a run leave the row's third block alone.
  const ProgramRun uneven = Atlas({"--frames", "2"});
  EXPECT_EQ(uneven.exitCode, 2);
  EXPECT_NE(uneven.err.find(": block row 0 holds 3 blocks"), std::string::npos) << uneven.err;
}

}  // namespace
