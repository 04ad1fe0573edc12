// korvanth-convert --tileset: the three kinds it parses (its runs are rows of
// converter_cases.tsv).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"

using namespace korvanth;

namespace {

TEST(ConvertTilesetOptionTest, ParsesTheThreeKinds) {
  struct Case {
    const char* value;
    korvanth::TilesetKinds kinds;
  };
  for (const Case& c :
       {Case{"tiled", korvanth::kTiledTileset}, Case{"godot", korvanth::kGodotTileset},
        Case{"both", korvanth::kAllTilesets}}) {
    const ParseResult parsed = ParseArguments({"--tileset", c.value, "in.png", "out.png"});
    ASSERT_TRUE(parsed.options.has_value()) << parsed.error;
    EXPECT_EQ(parsed.options->tilesets, c.kinds);
    const ParseResult joined =
        ParseArguments({"--all", std::string("--tileset=") + c.value, "in.png", "out"});
    ASSERT_TRUE(joined.options.has_value()) << joined.error;
    EXPECT_EQ(joined.options->tilesets, c.kinds);
  }
  EXPECT_EQ(ParseArguments({"in.png", "out.png"}).options->tilesets, korvanth::kNoTilesets);
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--tileset", "Tiled", "in.png", "out.png"},
        std::vector<std::string>{"--tileset=", "in.png", "out.png"},
        std::vector<std::string>{"in.png", "out.png", "--tileset"}}) {
    EXPECT_FALSE(ParseArguments(bad).options.has_value()) << bad[0];
  }
  EXPECT_NE(UsageText().find("--tileset tiled|godot|both"), std::string::npos);
  EXPECT_NE(UsageText().find("Godot 4"), std::string::npos);
}

}  // namespace
