// korvanth-convert --tileset: the files beside each sheet, their names, the usage errors
// and the exit codes when a tileset cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

class ConvertTilesetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = dir_.file("tiles.png");
    ASSERT_TRUE(PatternImage(200, 200, true).save(QString::fromStdString(input_), "PNG"));
  }
  ScratchDir dir_;
  std::string input_;
};

TEST_F(ConvertTilesetTest, TilesetsTakeTheSheetsName) {
  EXPECT_EQ(RunConverter({"--tileset", "tiled", input_, dir_.file("a.png")}).exitCode, 0);
  EXPECT_EQ(RunConverter({"--tileset", "godot", "--format", "roof", input_, dir_.file("b.v1.jpg")})
                .exitCode,
            0);
  EXPECT_EQ(RunConverter({"--tileset", "both", input_, dir_.file("c.bmp")}).exitCode, 0);
  EXPECT_EQ(RunConverter({input_, dir_.file("d.png")}).exitCode, 0);
  EXPECT_EQ(FileNamesIn(dir_.path()),
            (std::set<std::string>{"tiles.png", "a.png", "a.tsx", "b.v1.jpg", "b.v1.tres", "c.bmp",
                                   "c.tsx", "c.tres", "d.png"}));
  EXPECT_NE(ReadBytes(dir_.file("a.tsx")).find("<image source=\"a.png\""), std::string::npos);
  EXPECT_NE(ReadBytes(dir_.file("b.v1.tres")).find("path=\"b.v1.jpg\""), std::string::npos);
  // An existing tileset is replaced whole.
  WriteBytes(dir_.file("a.tsx"), std::string(100000, 'x'));
  EXPECT_EQ(RunConverter({"--tileset", "tiled", input_, dir_.file("a.png")}).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir_.file("a.tsx")).rfind("<?xml", 0), 0u);
  EXPECT_LT(ReadBytes(dir_.file("a.tsx")).size(), 100000u);
}

// Godot cannot import every type a sheet can be: such a tileset is refused before anything
// is written, for one sheet and for a batch.
TEST_F(ConvertTilesetTest, GodotTilesetsNeedASheetGodotImports) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--tileset", "both", input_, dir_.file("s.gif")},
        std::vector<std::string>{"--tileset", "godot", input_, dir_.file("s.TIFF")},
        std::vector<std::string>{"--all", "--type", "tif", "--tileset", "godot", input_,
                                 dir_.file("out")}}) {
    const ProgramRun run = RunConverter(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("Godot 4 cannot import"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("save the sheet as .png"), std::string::npos) << run.err;
  }
  EXPECT_EQ(FileNamesIn(dir_.path()), std::set<std::string>{"tiles.png"});
  EXPECT_EQ(RunConverter({"--tileset", "tiled", input_, dir_.file("s.gif")}).exitCode, 0);
}

// The sheet's options reach the sheet and its tileset: cells of the tile size, the added
// shapes and the terrain's name.
TEST_F(ConvertTilesetTest, TileSizeCompleteAndNameReachTheFiles) {
  const ProgramRun run =
      RunConverter({"--tile-size", "16", "--cell", "3,2", "--complete", "--tileset", "tiled",
                    "--name", "砂 <1>", input_, dir_.file("c.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(RunConverter({"--tile-size", "16", "--origin", "48,32", "--complete", input_,
                          dir_.file("o.png")})
                .exitCode,
            0);
  EXPECT_EQ(ReadBack(dir_.file("c.png")).size(), QSize(64, 192));
  EXPECT_EQ(ReadBack(dir_.file("c.png")), ReadBack(dir_.file("o.png")));
  const std::string tsx = ReadBytes(dir_.file("c.tsx"));
  EXPECT_NE(tsx.find("tilewidth=\"16\" tileheight=\"16\" tilecount=\"48\""), std::string::npos)
      << tsx;
  EXPECT_NE(tsx.find("<wangset name=\"砂 &lt;1&gt;\""), std::string::npos) << tsx;
}

TEST_F(ConvertTilesetTest, EverySheetOfABatchGetsItsTilesets) {
  const ProgramRun run = RunConverter({"--all", "--tileset", "both", input_, dir_.file("out")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // 200 x 200 holds 3 x 2 whole Terrain1 blocks of 64 x 96.
  std::set<std::string> expected;
  for (int column = 0; column < 3; ++column)
    for (int row = 0; row < 2; ++row)
      for (const char* extension : {".png", ".tsx", ".tres"})
        expected.insert("tiles_" + std::to_string(column) + "_" + std::to_string(row) + extension);
  EXPECT_EQ(FileNamesIn(dir_.path() / "out"), expected);
}

TEST_F(ConvertTilesetTest, ATilesetThatCannotBeWrittenFailsTheRun) {
  fs::create_directory(dir_.path() / "blocked.tsx");
  const ProgramRun run = RunConverter({"--tileset", "both", input_, dir_.file("blocked.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(dir_.file("blocked.tsx") + ": cannot write the tileset: it is a folder"),
            std::string::npos)
      << run.err;
  // The sheet and the other tileset are written; nothing else is left behind.
  EXPECT_EQ(FileNamesIn(dir_.path()),
            (std::set<std::string>{"tiles.png", "blocked.png", "blocked.tsx", "blocked.tres"}));

  // A sheet named like its own tileset is never replaced by it.
  const ProgramRun same = RunConverter({"--tileset", "tiled", input_, dir_.file("sheet.tsx")});
  EXPECT_EQ(same.exitCode, 1);
  EXPECT_NE(same.err.find("it is the sheet itself"), std::string::npos) << same.err;
  EXPECT_EQ(ReadBytes(dir_.file("sheet.tsx")).substr(0, 2), "BM");

  // Nor is the input picture.
  const std::string picture = dir_.file("art.tres");
  ASSERT_TRUE(PatternImage(64, 96, true).save(QString::fromStdString(picture), "PNG"));
  const std::string before = ReadBytes(picture);
  const ProgramRun input = RunConverter({"--tileset", "godot", picture, dir_.file("art.png")});
  EXPECT_EQ(input.exitCode, 1);
  EXPECT_NE(input.err.find("is the input picture"), std::string::npos) << input.err;
  EXPECT_EQ(ReadBytes(picture), before);
}

TEST_F(ConvertTilesetTest, ANameATilesetCannotCarryFailsOnlyTheTileset) {
  const std::string output = dir_.file("bad\x01name.png");
  const ProgramRun run = RunConverter({"--tileset", "tiled", input_, output});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("characters a tileset cannot carry"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(output));
  EXPECT_FALSE(fs::exists(dir_.file("bad\x01name.tsx")));
}

}  // namespace
