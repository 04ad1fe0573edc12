// Every refusal of an output plan, one row each: what is asked, and the one file refused
// with its reason, worded as the messages users see.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/output_plan.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

TEST(OutputPlanTest, EachRefusalNamesItsFileAndCause) {
  ScratchDir dir;
  for (const char* name : {"source.png", "art.tres", "names.txt", "n.tsx"})
    WriteBytes(dir.file(name), "read");
  struct Case {
    std::string output;
    TilesetKinds tilesets;
    std::string refused;  // the file refused; empty: nothing is
    std::string reason;
    bool isPicture = false;
    std::string picture = "source.png";
    std::string_view word = "sheet";
    bool hasPicture = true;
  };
  const std::string never = "; it is never written over";
  const Case cases[] = {
      {"s.png", kAllTilesets, "", ""},
      {"tiles.old/sheet", kAllTilesets, "", ""},  // a '.' in a folder: the fallback type
      {"s.png", kNoTilesets, "s.png", "no picture is open", false, "", "sheet", false},
      {"x\xFF.png", kNoTilesets, "x\xFF.png", "the name is not valid UTF-8"},
      {"\xC3.png", kNoTilesets, "\xC3.png", "the name is not valid UTF-8"},
      {"a\xED\xA0\x80.bmp", kNoTilesets, "a\xED\xA0\x80.bmp", "the name is not valid UTF-8"},
      {"noext", kNoTilesets, "noext", "the name has no extension (.png, .bmp, .gif, .jpg, .tif)"},
      {"source.png", kNoTilesets, "source.png", "it is the open picture" + never, true},
      {"names.txt", kNoTilesets, "names.txt", "it is the names file" + never},
      {"art.png", kGodotTileset, "art.tres", "it is the open picture" + never, true, "art.tres"},
      {"n.png", kTiledTileset, "n.tsx", "it is the names file" + never},
      {"s.gif", kAllTilesets, "s.tres",
       "Godot 4 cannot import gif pictures; save the sheet as .png (or .bmp, .jpg)"},
      {"x.TSX", kTiledTileset, "x.tsx", "it is the sheet itself"},
      {"x.tres", kGodotTileset, "x.tres", "it is the atlas itself", false, "", "atlas"},
      {"a\nb.png", kTiledTileset, "a\nb.tsx",
       "the sheet's name holds characters a tileset cannot carry"},
      {"a\x7f.png", kGodotTileset, "a\x7f.tres",
       "the atlas's name holds characters a tileset cannot carry", false, "", "atlas"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    const OutputPlan plan = PlanOutput(
        {c.hasPicture,
         dir.file(c.output),
         c.tilesets,
         c.picture.empty() ? "" : dir.file(c.picture),
         {{dir.file("names.txt"), "the names file"}, {dir.file("n.tsx"), "the names file"}},
         c.word});
    const std::vector<FileProblem> refused = PlanRefusals(plan);
    if (c.refused.empty()) {
      EXPECT_TRUE(refused.empty());
      continue;
    }
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].path, dir.file(c.refused));
    EXPECT_EQ(refused[0].reason, c.reason);
    EXPECT_EQ(refused[0].isPicture, c.isPicture);
  }
}

}  // namespace
