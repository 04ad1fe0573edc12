// The atlas's rules as pure functions: where each sheet and tile goes, which blocks make
// the runs of an animated terrain, and how the blocks are named. Expected figures are
// worked out by hand from the documented rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/animation_runs.h"
#include "convert/atlas_layout.h"
#include "convert/block_names.h"

using namespace korvanth;

namespace {

constexpr std::int64_t kPlenty = std::int64_t{1} << 40;

TEST(AtlasPlacementTest, SheetsFillRowsOfAtMost4096Pixels) {
  struct Case {
    PixelSize sheet;
    int count;
    std::int64_t maxBytes;
    std::optional<PixelSize> atlas;  // none: refused
    int columns;
  };
  const Case cases[] = {
      {{128, 320}, 32, kPlenty, PixelSize{4096, 320}, 32},   // terrain1 at 32: one full row
      {{128, 320}, 33, kPlenty, PixelSize{4096, 640}, 32},   // the 33rd wraps
      {{128, 320}, 5, kPlenty, PixelSize{640, 320}, 5},      // fewer sheets, fewer columns
      {{384, 512}, 25, kPlenty, PixelSize{3840, 1536}, 10},  // roof at 128: 10 fit, 3 rows
      {{4096, 8}, 2, kPlenty, PixelSize{4096, 16}, 1},       // exactly the width: one a row
      {{4097, 8}, 1, kPlenty, std::nullopt, 0},              // wider than any atlas
      {{128, 320}, 0, kPlenty, std::nullopt, 0},             // nothing to place
      {{128, 320}, 1, 128 * 320 * 4, PixelSize{128, 320}, 1},
      {{128, 320}, 1, 128 * 320 * 4 - 1, std::nullopt, 0},  // one byte over the bound
      {{4096, 1 << 30}, 3, INT64_MAX, std::nullopt, 0},     // taller than 32-bit positions
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sheet.width) + "x" + std::to_string(c.sheet.height) + " x" +
                 std::to_string(c.count));
    const std::optional<AtlasGrid> grid = PlanAtlas(c.sheet, c.count, c.maxBytes);
    ASSERT_EQ(grid.has_value(), c.atlas.has_value());
    if (!grid) continue;
    EXPECT_EQ(grid->size, *c.atlas);
    EXPECT_EQ(grid->columns, c.columns);
  }
}

TEST(AtlasPlacementTest, TilesKeepTheirPlaceInsideTheirSheet) {
  // Terrain1 sheets at 32 (4 tiles a row), 33 of them: 32 a row, the atlas 128 tiles wide.
  const AtlasGrid grid = *PlanAtlas({128, 320}, 33, kPlenty);
  struct Case {
    int sheet, tile, id;
  };
  for (const Case c : {Case{0, 0, 0}, Case{0, 5, 129}, Case{1, 0, 4}, Case{1, 5, 133},
                       Case{31, 3, 127}, Case{32, 0, 10 * 128}, Case{32, 6, 11 * 128 + 2}}) {
    EXPECT_EQ(TileIdAt(CellOrigin(grid, c.sheet), grid.size.width, 32, 4, c.tile), c.id)
        << c.sheet << "/" << c.tile;
    EXPECT_EQ(CellOrigin(grid, c.sheet).x, c.sheet % 32 * 128);
    EXPECT_EQ(CellOrigin(grid, c.sheet).y, c.sheet / 32 * 320);
  }
}

TEST(AnimationRunsTest, RowsAreCutIntoRunsOfFramesFromTheLeft) {
  struct Case {
    std::vector<std::string> rows;  // a character a block: 'x' shows something, '.' is empty
    int frames;
    std::vector<int> firsts;
    int skipped, unevenRow, unevenRowBlocks;
  };
  const Case cases[] = {
      {{"xxxxxx", "xxx..."}, 3, {0, 3, 6}, 3, -1, 0},    // empty blocks after the last count not
      {{"x.xxxx"}, 3, {0, 3}, 0, -1, 0},                 // an empty frame stays in its run
      {{"...xxx", "......"}, 3, {3}, 9, -1, 0},          // a run of empty frames is skipped
      {{"xxxxxx", "xxxxx.", "x....."}, 3, {}, 0, 1, 5},  // the first row of no whole runs
      {{"x.x", ".x."}, 1, {0, 2, 4}, 3, -1, 0},          // one frame: every block that shows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    std::vector<char> empty;
    for (const std::string& row : c.rows)
      for (const char block : row) empty.push_back(block == '.');
    const BlockRuns runs = GroupBlockRuns(empty, static_cast<int>(c.rows[0].size()), c.frames);
    EXPECT_EQ(runs.firsts, c.firsts);
    EXPECT_EQ(runs.unevenRow, c.unevenRow);
    EXPECT_EQ(runs.unevenRowBlocks, c.unevenRowBlocks);
    EXPECT_EQ(runs.skipped, c.skipped);
  }
}

TEST(BlockNamesTest, LinesNameTheBlocksInRowMajorOrder) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> names;  // empty: refused
    std::string errorPart;
  };
  const std::vector<std::string> defaults = {"t_0_0", "t_1_0", "t_0_1", "t_1_1"};
  const Case cases[] = {
      {"no file", "", defaults, ""},
      {"empty lines keep defaults", "a\n\nb\n", {"a", "t_1_0", "b", "t_1_1"}, ""},
      {"CR LF ends and no last end", "a\r\nb", {"a", "b", "t_0_1", "t_1_1"}, ""},
      {"UTF-8 with spaces", "草 原\n", {"草 原", "t_1_0", "t_0_1", "t_1_1"}, ""},
      {"empty lines beyond", "a\nb\nc\nd\n\n\n", {"a", "b", "c", "d"}, ""},
      {"a name beyond", "a\nb\nc\nd\ne\n", {}, "line 5"},
      {"twice", "a\na\n", {}, "'a' is given to two blocks (lines 1 and 2)"},
      {"a default taken", "t_1_0\n", {}, "'t_1_0' is given to two blocks (lines 1 and 2)"},
      {"control character", "a\tb\n", {}, "line 1"},
      {"not UTF-8", "ok\n\xff\n", {}, "line 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const BlockNaming naming = NameBlocks("t", 2, 2, c.text);
    EXPECT_EQ(naming.names, c.names);
    EXPECT_EQ(naming.ok(), c.errorPart.empty());
    EXPECT_NE(naming.error.find(c.errorPart), std::string::npos) << naming.error;
  }
}

TEST(BlockNamesTest, OnlyARunsFirstBlockNamesItsAnimatedTerrain) {
  // 4 x 2 blocks in runs of 2: blocks 0, 2, 4 and 6 start a run.
  const std::pair<std::string, std::string> cases[] = {
      {"water\n\nlava\n\n\n\nmud\n", ""},
      {"a\nb\n",
       "line 2 names block 1,0, frame 2 of the animated terrain at block 0,0; only "
       "a terrain's first frame takes a name (line 1)"},
      {"\n\n\n\n\n\n\nz\n", "line 8 names block 3,1, frame 2"},
  };
  for (const auto& [text, problem] : cases) {
    const std::string error = NamedFrameProblem(NameBlocks("t", 4, 2, text).names, "t", 4, 2);
    EXPECT_EQ(error.empty(), problem.empty()) << error;
    EXPECT_NE(error.find(problem), std::string::npos) << error;
  }
}

}  // namespace
