// A map's blocks against the picture, the atlas width and each other's sheet files, one case
// a row: the problem the first line meets, in both languages, or none.
#include <gtest/gtest.h>

#include <string>

#include "convert/map_blocks.h"

using namespace korvanth;

namespace {

struct Case {
  const char* map;
  PixelSize picture;
  SheetLayout layout;
  bool inAtlas;
  const char* english;  // empty: every block fits and every sheet has its own file
  const char* japanese;
};

const Case kCases[] = {
    {"0,0 roof a", {128, 64}, {LayoutFormat::Roof, 32}, false, "", ""},
    {"0,0 roof a",
     {96, 48},
     {LayoutFormat::Roof, 32},
     false,
     "line 1: the roof block 'a' at cell 0,0 takes 64 x 64 pixels from 0,0, past the 96 x 48 "
     "picture",
     "1行目：セル0,0のroofブロック「a」は0,0から64 x 64ピクセルを占め、96 x 48のピクチャからはみ出"
     "します"},
    // 129 terrain1 frames of 32-pixel sheets at tile size 8 fit the picture, not the atlas.
    {"tile-size 8\n0,0 terrain1 a 129",
     {2064, 24},
     {LayoutFormat::Terrain1, 8},
     true,
     "line 2: 129 frames of 32-pixel sheets pass the atlas's 4096 pixels side by side",
     "2行目：32ピクセルのシート129フレームを横に並べると、アトラスの幅4096ピクセルを超えます"},
    {"tile-size 8\n0,0 terrain1 a 129", {2064, 24}, {LayoutFormat::Terrain1, 8}, false, "", ""},
    // Names that differ in case only share a file where file names ignore case.
    {"0,0 roof grass\n2,0 roof Grass",
     {128, 64},
     {LayoutFormat::Roof, 32},
     false,
     "line 2: the sheet 'Grass' would share its file with 'grass' of line 1",
     "2行目：シート「Grass」は1行目の「grass」とファイルを共有してしまいます"},
};

TEST(MapBlocksTest, NamesTheFirstLineWhoseBlocksDoNotFitInBothLanguages) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.map);
    const BlockMap map = ParseBlockMap(c.map).map.value();
    Phrase problem = FirstMapBlockProblem(map, c.picture, c.layout, c.inAtlas);
    if (problem.empty()) problem = SharedSheetFileProblem(map, MapSheets(map));
    EXPECT_EQ(problem.english, c.english);
    EXPECT_EQ(problem.japanese, c.japanese);
  }
}

TEST(MapBlocksTest, ABlockMadeOtherwiseIsNamedWithoutALine) {
  BlockMap map;
  map.blocks.push_back({0, 0, LayoutFormat::Roof, "a", 1, 0});
  const Phrase problem = FirstMapBlockProblem(map, {32, 32}, {LayoutFormat::Roof, 32}, false);
  EXPECT_EQ(problem.english,
            "the roof block 'a' at cell 0,0 takes 64 x 64 pixels from 0,0, past the 32 x 32 "
            "picture");
  EXPECT_EQ(problem.japanese,
            "セル0,0のroofブロック「a」は0,0から64 x 64ピクセルを占め、32 x 32のピクチャからはみ出"
            "します");
}

}  // namespace
