// The block map's text, one case a row: what a text reads as (the blocks and the lines they
// came from) or the first line's problem, and that what parses is written back unchanged.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "convert/block_map.h"

using namespace korvanth;

namespace {

constexpr LayoutFormat T1 = LayoutFormat::Terrain1;
constexpr LayoutFormat T2 = LayoutFormat::Terrain2;
constexpr LayoutFormat Roof = LayoutFormat::Roof;

struct Case {
  std::string text;
  std::optional<int> tileSize;
  std::vector<MappedBlock> blocks;  // {column, row, format, name, frames, line}
  std::string problem;              // empty: the text reads as tileSize and blocks
  std::string japanese = {};        // the problem in Japanese, checked where given
};

const Case kCases[] = {
    {"", {}, {}, ""},
    {"# only a comment\n\n   \n", {}, {}, ""},
    {"0,0 terrain1 grass", {}, {{0, 0, T1, "grass", 1, 1}}, ""},
    // A byte-order mark, "\r\n", runs of spaces, comments after a block, no final line end.
    {"\xEF\xBB\xBF# sample\r\ntile-size 16\r\n\r\n  2,0   terrain2  sand#dry\r\n6,3 roof r 3",
     16,
     {{2, 0, T2, "sand", 1, 4}, {6, 3, Roof, "r", 3, 5}},
     ""},
    // Blocks that touch without overlapping: terrain1 is 2 x 3 cells, terrain2 3 x 4, roof 2 x 2.
    {"0,0 terrain1 a\n2,0 terrain1 b\n0,3 terrain2 c\n3,3 roof d\n3,5 roof e\n5,0 terrain1 f 2",
     {},
     {{0, 0, T1, "a", 1, 1},
      {2, 0, T1, "b", 1, 2},
      {0, 3, T2, "c", 1, 3},
      {3, 3, Roof, "d", 1, 4},
      {3, 5, Roof, "e", 1, 5},
      {5, 0, T1, "f", 2, 6}},
     ""},
    {"2147483647,2147483647 terrain2 far 2147483647",
     {},
     {{2147483647, 2147483647, T2, "far", 2147483647, 1}},
     ""},
    {"0,0 terrain1 草原", {}, {{0, 0, T1, "草原", 1, 1}}, ""},

    // The first line with a problem is named, whatever follows.
    {"0,0 terrain1 a\n\n0,0 terrain3 b\n0,0 terrain1 a",
     {},
     {},
     "line 3: unknown format 'terrain3' (terrain1, terrain2, roof)",
     "3行目：「terrain3」という形式はありません（terrain1, terrain2, roof）"},
    {"0,0 Terrain1 a", {}, {}, "line 1: unknown format 'Terrain1' (terrain1, terrain2, roof)"},
    {"0,0 terrain1 a\n4,0 terrain1\tb",
     {},
     {},
     "line 2 is not UTF-8 text without control characters",
     "2行目は、制御文字を含まないUTF-8のテキストではありません"},
    {"0,0 terrain1 \xFF", {}, {}, "line 1 is not UTF-8 text without control characters"},
    {"0,0 terrain1",
     {},
     {},
     "line 1: a block is COL,ROW FORMAT NAME [FRAMES], e.g. 0,0 terrain1 grass",
     "1行目：ブロックは COL,ROW FORMAT NAME [FRAMES] と書きます（例：0,0 terrain1 grass）"},
    {"0,0 terrain1 a 2 x",
     {},
     {},
     "line 1: a block is COL,ROW FORMAT NAME [FRAMES], e.g. 0,0 terrain1 grass"},
    {"0;0 roof a",
     {},
     {},
     "line 1: the cell '0;0' is not COL,ROW, two whole numbers from 0 to 2147483647"},
    {"-1,0 roof a",
     {},
     {},
     "line 1: the cell '-1,0' is not COL,ROW, two whole numbers from 0 to 2147483647",
     "1行目：セル「-1,0」は COL,ROW（0から2147483647までの整数2つ）ではありません"},
    {"0,2147483648 roof a",
     {},
     {},
     "line 1: the cell '0,2147483648' is not COL,ROW, two whole numbers from 0 to 2147483647"},
    {"0,0, roof a",
     {},
     {},
     "line 1: the cell '0,0,' is not COL,ROW, two whole numbers from 0 to 2147483647"},
    {"0,0 roof a/b",
     {},
     {},
     "line 1: the name 'a/b' holds one of / \\ : * ? \" < > |, which a sheet's file name cannot "
     "hold",
     "1行目：名前「a/b」に、シートのファイル名に使えない文字（/ \\ : * ? \" < > |）のどれかが"
     "入っています"},
    // Windows' device names, in any case and with any extension, name no sheet file.
    {"0,0 roof nul",
     {},
     {},
     "line 1: the name 'nul' is a Windows device's (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to "
     "LPT9), which a sheet's file name cannot be",
     "1行目：名前「nul」はWindowsの装置の名前（CON、PRN、AUX、NUL、COM1～COM9、LPT1～LPT9）なので、"
     "シートのファイル名にできません"},
    {"0,0 roof Com3.top",
     {},
     {},
     "line 1: the name 'Com3.top' is a Windows device's (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 "
     "to LPT9), which a sheet's file name cannot be"},
    {"0,0 roof com10\n2,0 roof lpt0\n4,0 roof nullish\n6,0 roof CON_0_0",
     {},
     {{0, 0, Roof, "com10", 1, 1},
      {2, 0, Roof, "lpt0", 1, 2},
      {4, 0, Roof, "nullish", 1, 3},
      {6, 0, Roof, "CON_0_0", 1, 4}},
     ""},
    {"0,0 roof a?",
     {},
     {},
     "line 1: the name 'a?' holds one of / \\ : * ? \" < > |, which a sheet's file name cannot "
     "hold"},
    {"0,0 roof a\n4,0 terrain1 a",
     {},
     {},
     "line 2: the name 'a' is given on line 1 too",
     "2行目：名前「a」は1行目にもあります"},
    {"0,0 roof a 1",
     {},
     {},
     "line 1: the frame count '1' is not a whole number from 2 to 2147483647"},
    {"0,0 roof a x2",
     {},
     {},
     "line 1: the frame count 'x2' is not a whole number from 2 to 2147483647",
     "1行目：フレーム数「x2」は2から2147483647までの整数ではありません"},
    // Overlaps: a corner cell shared, a block inside a run of frames, the earliest block named.
    {"0,0 terrain2 a\n2,3 roof b", {}, {}, "line 2: the block overlaps 'a' of line 1"},
    {"0,0 terrain1 a 3\n5,2 roof b", {}, {}, "line 2: the block overlaps 'a' of line 1"},
    {"2,0 roof a\n0,3 roof b\n0,0 terrain2 c",
     {},
     {},
     "line 3: the block overlaps 'a' of line 1",
     "3行目：このブロックは1行目の「a」と重なります"},
    {"1,1 roof a\n0,0 terrain2 b", {}, {}, "line 2: the block overlaps 'a' of line 1"},
    // The tile size: first, once, an even number from 8 to 128.
    {"tile-size 8\n0,0 roof a", 8, {{0, 0, Roof, "a", 1, 2}}, ""},
    {"0,0 roof a\ntile-size 16",
     {},
     {},
     "line 2: tile-size comes before the blocks",
     "2行目：tile-sizeはブロックより前に書きます"},
    {"tile-size 16\ntile-size 16",
     {},
     {},
     "line 2: tile-size is given twice (first on line 1)",
     "2行目：tile-sizeが2回書かれています（最初は1行目）"},
    {"tile-size 15",
     {},
     {},
     "line 1: tile-size takes an even number from 8 to 128, e.g. tile-size 16",
     "1行目：tile-sizeには8から128までの偶数を書きます（例：tile-size 16）"},
    {"tile-size 130",
     {},
     {},
     "line 1: tile-size takes an even number from 8 to 128, e.g. tile-size 16"},
    {"tile-size",
     {},
     {},
     "line 1: tile-size takes an even number from 8 to 128, e.g. tile-size 16"},
};

TEST(BlockMapTest, ReadsEachTextAsItsMapOrItsFirstProblem) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    const BlockMapParse parsed = ParseBlockMap(c.text);
    EXPECT_EQ(parsed.problem.english, c.problem);
    if (!c.japanese.empty()) {
      EXPECT_EQ(parsed.problem.japanese, c.japanese);
    }
    if (!c.problem.empty()) {
      EXPECT_FALSE(parsed.ok());
      const std::string named = "line " + std::to_string(parsed.problemLine);
      EXPECT_EQ(c.problem.substr(0, named.size() + 1).substr(0, named.size()), named);
      EXPECT_TRUE(c.problem[named.size()] == ':' || c.problem[named.size()] == ' ');
      continue;
    }
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.map->tileSize, c.tileSize);
    EXPECT_EQ(parsed.map->blocks, c.blocks);
    for (std::size_t i = 0; i < c.blocks.size() && i < parsed.map->blocks.size(); ++i)
      EXPECT_EQ(parsed.map->blocks[i].line, c.blocks[i].line) << i;
    // The writer's text reads back as the same map.
    const BlockMapParse again = ParseBlockMap(BlockMapText(*parsed.map));
    ASSERT_TRUE(again.ok()) << again.problem.english;
    EXPECT_EQ(*again.map, *parsed.map);
  }
}

}  // namespace
