// korvanth-convert --all --atlas: the options it goes with (its runs are rows of
// converter_cases.tsv).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"

using namespace korvanth;

namespace {

TEST(AtlasOptionsTest, AtlasAndNamesGoWithTheBatch) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;  // empty: accepted
  };
  const Case cases[] = {
      {{"--all", "--atlas", "--names", "n.txt", "in.png", "a.png"}, ""},
      {{"--atlas", "in.png", "a.png"}, "--atlas goes with --all"},
      {{"--all", "--atlas", "--type", "gif", "in.png", "a.png"}, "not --type"},
      {{"--all", "--atlas", "--tileset", "tiled", "--name", "x", "in.png", "a.png"}, "--names"},
      {{"--all", "--names", "n.txt", "in.png", "out"}, "--names goes with --atlas"},
      {{"--all", "--atlas", "--atlas", "in.png", "a.png"}, "given more than once"},
      {{"--all", "--atlas", "--tileset", "godot", "in.png", "a.gif"}, "Godot 4 cannot import gif"},
      {{"--all", "--atlas", "--frames", "4", "--frame-ms", "60000", "in.png", "a.png"}, ""},
      {{"--all", "--frames", "4", "in.png", "out"}, "--frames goes with --atlas"},
      {{"--all", "--atlas", "--frame-ms", "100", "in.png", "a.png"}, "goes with --frames"},
      {{"--all", "--atlas", "--frames", "2", "--frame-ms", "60001", "in.png", "a.png"}, "60000"},
      // 32 terrain1 sheets of 128 pixels fill 4096 pixels; 33 pass them.
      {{"--all", "--atlas", "--frames", "33", "in.png", "a.png"}, "at most 32 frames"},
  };
  for (const Case& c : cases) {
    const ParseResult parsed = ParseArguments(c.arguments);
    EXPECT_EQ(parsed.options.has_value(), c.error.empty()) << c.arguments[1];
    EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
  }
  const ParseResult parsed = ParseArguments(cases[0].arguments);
  EXPECT_TRUE(parsed.options->atlas);
  EXPECT_EQ(parsed.options->namesFile, "n.txt");
}

}  // namespace
