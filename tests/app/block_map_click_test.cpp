// The block-map mode's click as one case table: the map before (as its file's text), the
// click, and what it gives, the map after as the text its file should then hold; and the
// names new blocks get.
#include <gtest/gtest.h>

#include <string>

#include "app/block_map_click.h"

using namespace korvanth;

namespace {

struct ClickCase {
  const char* before;  // the map's text
  MapCell pointer;
  LayoutFormat format;
  MapClickResult result;
  const char* name;   // the block added, removed or overlapped
  const char* after;  // the map's text after the click (nullptr: the same as before)
  int tileSize = 32;
  PixelSize picture{256, 224};  // the sample's size: 8 x 7 cells of 32 pixels
};

using enum LayoutFormat;
using enum MapClickResult;

// The picture's stem is "t".
const ClickCase kClicks[] = {
    // A block on an empty map, at the window's tile size.
    {"", {3, 2}, Terrain1, Added, "t_3_2", "tile-size 32\n3,2 terrain1 t_3_2"},
    // At the corner the block is pulled back by whole cells (2 x 3 of 8 x 7).
    {"", {7, 6}, Terrain1, Added, "t_6_4", "tile-size 32\n6,4 terrain1 t_6_4"},
    // A picture of 2 x 3 cells and 31 pixels holds one block; one narrower holds none.
    {"", {1, 1}, Terrain1, Added, "t_0_0", "tile-size 32\n0,0 terrain1 t_0_0", 32, {95, 127}},
    {"", {0, 0}, Terrain2, NoRoom, "", nullptr, 32, {95, 400}},
    // A click in a block's last cell, or on an animation's last frame, takes its line out.
    {"2,0 terrain2 a\n6,3 roof b", {4, 3}, Roof, Removed, "a", "tile-size 32\n6,3 roof b"},
    {"0,0 roof w 4", {7, 1}, Terrain1, Removed, "w", "tile-size 32"},
    // A block that would overlap another adds nothing; one beside it goes in.
    {"3,0 roof r", {2, 0}, Terrain1, Overlaps, "r", nullptr},
    {"3,0 roof r", {1, 0}, Roof, Added, "t_1_0", "tile-size 32\n3,0 roof r\n1,0 roof t_1_0"},
    // Blocks counted at 16 take none at 32, but are taken out (pixel 32 is cell 2 at 16).
    {"tile-size 16\n0,0 roof r", {3, 3}, Roof, OtherTileSize, "", nullptr},
    {"tile-size 16\n1,1 roof r", {1, 1}, Roof, Removed, "r", "tile-size 16"},
    // An empty map at 16 takes a block at 32; a map without a size counts at the window's.
    {"tile-size 16", {0, 0}, Roof, Added, "t_0_0", "tile-size 32\n0,0 roof t_0_0"},
    {"0,0 roof r", {4, 0}, Roof, Added, "t_4_0", "tile-size 16\n0,0 roof r\n4,0 roof t_4_0", 16},
};

// The name a block at cell (1, 0) gets.
struct NameCase {
  const char* stem;
  const char* map;
  const char* name;
};

const NameCase kNames[] = {
    {"tiles", "", "tiles_1_0"},
    {"tiles", "5,5 roof tiles_1_0\n7,0 roof tiles_1_0_2", "tiles_1_0_3"},  // the next free _N
    {"my tiles#1", "", "my_tiles_1_1_0"},
    {"\xff", "", "block_1_0"},  // no UTF-8 text
    {"草原", "", "草原_1_0"},
};

BlockMap MapOf(const char* text) {
  const BlockMapParse parse = ParseBlockMap(text);
  EXPECT_TRUE(parse.ok()) << text << ": " << parse.problem.english;
  return parse.map.value_or(BlockMap{});
}

TEST(BlockMapClickTest, CaseTable) {
  for (const ClickCase& c : kClicks) {
    SCOPED_TRACE(std::string(c.before) + " at " + std::to_string(c.pointer.column) + "," +
                 std::to_string(c.pointer.row));
    const BlockMap before = MapOf(c.before);
    const MapChange change =
        ClickBlockMap(before, {c.pointer, c.format, c.tileSize, c.picture, "t"});
    EXPECT_EQ(change.result, c.result);
    EXPECT_EQ(change.name, c.name);
    EXPECT_EQ(change.map, c.after ? MapOf(c.after) : before);
  }
}

TEST(BlockMapClickTest, NewBlockNames) {
  for (const NameCase& c : kNames)
    EXPECT_EQ(NewBlockName(MapOf(c.map), c.stem, {1, 0}), c.name) << c.stem;
}

}  // namespace
