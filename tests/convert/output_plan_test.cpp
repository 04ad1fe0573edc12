// Every refusal of an output plan, one row each: what is asked, and the one file refused
// with its reason, worded as the messages users see in either language.
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
    std::string japanese;  // the reason as the window says it in Japanese
    bool isPicture = false;
    std::string picture = "source.png";
    UiText word = {"シート", "sheet"};
    bool hasPicture = true;
  };
  const std::string never = "; it is never written over";
  const std::string neverJa = "です。上書きはしません";
  const UiText atlas = {"アトラス", "atlas"};
  const Case cases[] = {
      {"s.png", kAllTilesets, "", "", ""},
      {"tiles.old/sheet", kAllTilesets, "", "", ""},  // a '.' in a folder: the fallback type
      {"s.png",
       kNoTilesets,
       "s.png",
       "no picture is open",
       "ピクチャが開かれていません",
       false,
       "",
       {"シート", "sheet"},
       false},
      {"x\xFF.png", kNoTilesets, "x\xFF.png", "the name is not valid UTF-8",
       "名前が正しいUTF-8ではありません"},
      {"\xC3.png", kNoTilesets, "\xC3.png", "the name is not valid UTF-8",
       "名前が正しいUTF-8ではありません"},
      {"a\xED\xA0\x80.bmp", kNoTilesets, "a\xED\xA0\x80.bmp", "the name is not valid UTF-8",
       "名前が正しいUTF-8ではありません"},
      {"noext", kNoTilesets, "noext", "the name has no extension (.png, .bmp, .gif, .jpg, .tif)",
       "名前に拡張子がありません（.png、.bmp、.gif、.jpg、.tif）"},
      {"source.png", kNoTilesets, "source.png", "it is the open picture" + never,
       "開いているピクチャ" + neverJa, true},
      {"names.txt", kNoTilesets, "names.txt", "it is the names file" + never,
       "名前ファイル" + neverJa},
      {"art.png", kGodotTileset, "art.tres", "it is the open picture" + never,
       "開いているピクチャ" + neverJa, true, "art.tres"},
      {"n.png", kTiledTileset, "n.tsx", "it is the names file" + never, "名前ファイル" + neverJa},
      {"s.gif", kAllTilesets, "s.tres",
       "Godot 4 cannot import gif pictures; save the sheet as .png (or .bmp, .jpg)",
       "Godot 4はgifの画像を読み込めません。シートは.png（または.bmp、.jpg）で保存してください"},
      {"x.TSX", kTiledTileset, "x.tsx", "it is the sheet itself", "シートそのものです"},
      {"x.tres", kGodotTileset, "x.tres", "it is the atlas itself", "アトラスそのものです", false,
       "", atlas},
      {"a\nb.png", kTiledTileset, "a\nb.tsx",
       "the sheet's name holds characters a tileset cannot carry",
       "シートの名前に、タイルセットに書けない文字があります"},
      {"a\x7f.png", kGodotTileset, "a\x7f.tres",
       "the atlas's name holds characters a tileset cannot carry",
       "アトラスの名前に、タイルセットに書けない文字があります", false, "", atlas},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    const OutputPlan plan =
        PlanOutput({c.hasPicture,
                    dir.file(c.output),
                    c.tilesets,
                    c.picture.empty() ? "" : dir.file(c.picture),
                    {{dir.file("names.txt"), {"名前ファイル", "the names file"}},
                     {dir.file("n.tsx"), {"名前ファイル", "the names file"}}},
                    c.word});
    const std::vector<FileProblem> refused = PlanRefusals(plan);
    if (c.refused.empty()) {
      EXPECT_TRUE(refused.empty());
      continue;
    }
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].path, dir.file(c.refused));
    EXPECT_EQ(refused[0].reason.english, c.reason);
    EXPECT_EQ(refused[0].reason.japanese, c.japanese);
    EXPECT_EQ(refused[0].isPicture, c.isPicture);
  }
}

}  // namespace
