// The block-map mode's click as one case table: the map before (as its file's text), the
// click, and what it gives, the map after as the text its file should then hold.
#include <gtest/gtest.h>

#include <string>

#include "app/block_map_click.h"

using namespace korvanth;

namespace {

struct ClickCase {
  const char* what;
  const char* before;  // the map's text
  MapCell pointer;
  LayoutFormat format;
  int tileSize;
  PixelSize picture;
  const char* stem;
  MapClickResult result;
  const char* name;   // the block added, removed or overlapped
  const char* after;  // the map's text after the click (nullptr: the same as before)
};

using enum LayoutFormat;
using enum MapClickResult;

// The sample's size: 8 x 7 cells of 32 pixels.
constexpr PixelSize kSample{256, 224};

const ClickCase kClicks[] = {
    {"a block on an empty map, at the window's tile size",
     "",
     {3, 2},
     Terrain1,
     32,
     kSample,
     "tiles",
     Added,
     "tiles_3_2",
     "tile-size 32\n3,2 terrain1 tiles_3_2"},
    {"at the corner the block is pulled back by whole cells (2 x 3 from 8 x 7)",
     "",
     {7, 6},
     Terrain1,
     32,
     kSample,
     "tiles",
     Added,
     "tiles_6_4",
     "tile-size 32\n6,4 terrain1 tiles_6_4"},
    {"a picture of 2 x 3 cells and 31 pixels holds one block",
     "",
     {1, 1},
     Terrain1,
     32,
     {95, 127},
     "t",
     Added,
     "t_0_0",
     "tile-size 32\n0,0 terrain1 t_0_0"},
    {"a picture narrower than the block holds none",
     "",
     {0, 0},
     Terrain2,
     32,
     {95, 400},
     "t",
     NoRoom,
     "",
     nullptr},
    {"a click in a block's last cell takes it out",
     "2,0 terrain2 a\n6,3 roof b",
     {4, 3},
     Roof,
     32,
     kSample,
     "tiles",
     Removed,
     "a",
     "tile-size 32\n6,3 roof b"},
    {"a click on an animation's last frame takes its line out",
     "0,0 roof w 4",
     {7, 1},
     Terrain1,
     32,
     kSample,
     "tiles",
     Removed,
     "w",
     "tile-size 32"},
    {"a block that would overlap another adds nothing",
     "3,0 roof r",
     {2, 0},
     Terrain1,
     32,
     kSample,
     "tiles",
     Overlaps,
     "r",
     nullptr},
    {"a block beside another goes in",
     "3,0 roof r",
     {1, 0},
     Terrain1,
     32,
     kSample,
     "tiles",
     Added,
     "tiles_1_0",
     "tile-size 32\n3,0 roof r\n1,0 terrain1 tiles_1_0"},
    {"blocks counted at 16 take none at 32",
     "tile-size 16\n0,0 roof r",
     {3, 3},
     Roof,
     32,
     kSample,
     "tiles",
     OtherTileSize,
     "",
     nullptr},
    {"but are taken out at 32 (pixel 32,32 is cell 2,2 at 16)",
     "tile-size 16\n1,1 roof r",
     {1, 1},
     Roof,
     32,
     kSample,
     "tiles",
     Removed,
     "r",
     "tile-size 16"},
    {"an empty map at 16 takes a block at 32",
     "tile-size 16",
     {0, 0},
     Roof,
     32,
     kSample,
     "tiles",
     Added,
     "tiles_0_0",
     "tile-size 32\n0,0 roof tiles_0_0"},
    {"a map without a tile size counts at the window's",
     "0,0 roof r",
     {4, 0},
     Roof,
     16,
     kSample,
     "tiles",
     Added,
     "tiles_4_0",
     "tile-size 16\n0,0 roof r\n4,0 roof tiles_4_0"},
    {"a name taken gets the next free _N",
     "5,5 roof tiles_0_0\n7,0 roof tiles_0_0_2",
     {0, 0},
     Roof,
     16,
     kSample,
     "tiles",
     Added,
     "tiles_0_0_3",
     "tile-size 16\n5,5 roof tiles_0_0\n7,0 roof tiles_0_0_2\n0,0 roof tiles_0_0_3"},
    {"spaces and # in the stem become _",
     "",
     {0, 0},
     Roof,
     32,
     kSample,
     "my tiles#1",
     Added,
     "my_tiles_1_0_0",
     "tile-size 32\n0,0 roof my_tiles_1_0_0"},
    {"a stem that is no UTF-8 text gives block",
     "",
     {0, 0},
     Roof,
     32,
     kSample,
     "\xff",
     Added,
     "block_0_0",
     "tile-size 32\n0,0 roof block_0_0"},
    {"a stem in Japanese stays",
     "",
     {0, 0},
     Roof,
     32,
     kSample,
     "草原",
     Added,
     "草原_0_0",
     "tile-size 32\n0,0 roof 草原_0_0"},
};

BlockMap MapOf(const char* text) {
  const BlockMapParse parse = ParseBlockMap(text);
  EXPECT_TRUE(parse.ok()) << text << ": " << parse.problem;
  return parse.map.value_or(BlockMap{});
}

TEST(BlockMapClickTest, CaseTable) {
  for (const ClickCase& c : kClicks) {
    SCOPED_TRACE(c.what);
    const BlockMap before = MapOf(c.before);
    const MapChange change =
        ClickBlockMap(before, {c.pointer, c.format, c.tileSize, c.picture, c.stem});
    EXPECT_EQ(change.result, c.result);
    EXPECT_EQ(change.name, c.name);
    EXPECT_EQ(change.map, c.after ? MapOf(c.after) : before);
  }
}

}  // namespace
