// Argument parsing and the cell placement rule of korvanth-convert.
#include <gtest/gtest.h>

#include "cli/convert_jobs.h"
#include "cli/options.h"

using namespace korvanth;

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

// Corners at the edge of 32-bit positions: accepted exactly when the block's last pixel
// still has one (x + width - 1 <= 2147483647), for whichever format comes last. A number
// out of its range is refused in words that name the range; so are the tile size and the
// terrain name.
TEST(ConvertOptionsTest, OriginsThatCannotNameABlockAreUsageErrors) {
  const std::string origin =
      "--origin takes X,Y, two whole numbers from -2147483648 to 2147483647, e.g. --origin 64,32";
  const std::string cell = "--cell takes COL,ROW, two whole numbers from 0 to 2147483647";
  const std::string size = "--tile-size takes an even number from 8 to 128, e.g. --tile-size 16";
  const std::string name = "--name takes a terrain name of UTF-8 text without control characters";
  struct Case {
    std::vector<std::string> arguments;
    bool accepted;
    std::string error = "";  // the refusal's words, where they are checked
  };
  const Case cases[] = {
      {{"--origin", "2147483647,0"}, false},
      {{"--origin", "0,2147483647"}, false},
      {{"--origin", "2147483584,0"}, true},  // terrain1: 64 wide
      {{"--origin", "2147483585,0"}, false},
      {{"--origin", "0,2147483552"}, true},  // terrain1: 96 high
      {{"--origin", "0,2147483553"}, false},
      {{"--origin", "2147483584,0", "--format", "terrain2"}, false},  // 96 wide
      {{"--format", "terrain2", "--origin", "2147483552,2147483520"}, true},
      {{"--format", "roof", "--origin", "2147483584,2147483584"}, true},
      {{"--format", "roof", "--origin", "2147483584,2147483585"}, false},
      {{"--origin", "-2147483648,-2147483648"}, true},
      {{"--origin", "-2147483649,0"}, false, origin},
      {{"--origin", "2147483648,0"}, false, origin},
      {{"--origin", "0,-2147483649"}, false, origin},
      {{"--origin", "1.5,0"}, false, origin},
      {{"--cell", "67108863,0"}, true},
      {{"--cell", "2147483647,2147483647"}, true},
      {{"--cell", "2147483648,0"}, false, cell},
      {{"--cell", "0,-1"}, false, cell},
      {{"--cell", "9223372036854775807,0"}, false, cell},
      // Tile sizes: even, 8 to 128; the block scales with them (terrain1 at 128: 256 wide).
      {{"--tile-size", "8"}, true},
      {{"--tile-size", "128", "--complete"}, true},
      {{"--tile-size", "7"}, false, size},
      {{"--tile-size", "130"}, false, size},
      {{"--tile-size", "6"}, false, size},
      {{"--tile-size", "33"}, false, size},
      {{"--tile-size", "x"}, false, size},
      {{"--tile-size", "128", "--origin", "2147483392,0"}, true},
      {{"--tile-size", "128", "--origin", "2147483393,0"}, false},
      {{"--complete", "--complete"}, false, "--complete is given more than once"},
      // A terrain name goes into the tilesets, so it needs one and must be text they carry.
      {{"--name", "草原", "--tileset", "tiled"}, true},
      {{"--name", "草原"}, false, "--name names the tilesets' terrain; it goes with --tileset"},
      {{"--name", "a\nb", "--tileset", "tiled"}, false, name},
      {{"--name", "", "--tileset", "tiled"}, false, name},
      // --watch goes with a conversion of either mode, once, and never with what only prints.
      {{"--watch"}, true},
      {{"--all", "--watch"}, true},
      {{"--watch", "--watch"}, false, "--watch is given more than once"},
      {{"--watch", "--help"}, false, "--watch converts again and again; it takes no --help"},
      {{"--version", "--watch"}, false, "--watch converts again and again; it takes no --version"},
      {{"-h", "--", "--watch"}, true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"in.png", "out.png"});
    const ParseResult r = ParseArguments(arguments);
    EXPECT_EQ(r.options.has_value(), c.accepted)
        << arguments[0] << " " << arguments[1] << ": " << r.error;
    if (!c.error.empty()) {
      EXPECT_EQ(r.error, c.error) << arguments[1];
    }
  }
}

TEST(ConvertOptionsTest, HelpListsEveryFormat) {
  const std::string help = UsageText();
  for (const char* line :
       {"[--format terrain1|terrain2|roof] [--origin X,Y | --cell COL,ROW]",
        "terrain1  64 x 96 block   -> 128 x 320 sheet, 40 tiles",
        "terrain2  96 x 128 block  -> 128 x 384 sheet, 48 tiles",
        "roof      64 x 64 block   -> 96 x 128 sheet, 12 tiles", "(default terrain1)"}) {
    EXPECT_NE(help.find(line), std::string::npos) << line;
  }
  const ParseResult r = ParseArguments({"--format", "hex", "a", "b"});
  EXPECT_EQ(r.error, "unknown format 'hex' (terrain1, terrain2, roof)");
}

}  // namespace
