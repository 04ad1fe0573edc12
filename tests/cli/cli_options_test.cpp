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
// out of its range is refused in words that name the range.
TEST(ConvertOptionsTest, OriginsThatCannotNameABlockAreUsageErrors) {
  const std::string origin =
      "--origin takes X,Y, two whole numbers from -2147483648 to 2147483647, e.g. --origin 64,32";
  const std::string cell = "--cell takes COL,ROW, two whole numbers from 0 to 2147483647";
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
