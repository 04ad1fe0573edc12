// Whether an atlas fits its bounds, judged from the picture's size alone. Expected figures
// are worked out by hand from the rule in atlas_budget.h: the picture's and the atlas's
// 32-bit bytes, the encoder's bytes a pixel, 24 bytes a tile and 128 a terrain for the
// tilesets' description, within 2.5 times the picture and the atlas plus 28 MiB and within
// 1.5 GiB less 64 MiB.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "convert/atlas_budget.h"
#include "convert/block_map.h"

using namespace korvanth;

namespace {

constexpr std::int64_t kMiB = std::int64_t{1} << 20;

TEST(AtlasBudgetTest, TheLargestAtlasOfThePictureMustFit) {
  // The sample's map: 4 terrain1 sheets in a row (512 x 320), 2 terrain2 (256 x 384) and 2
  // roofs (192 x 128) under them: 512 x 832, whatever the picture's size.
  const BlockMap sample = *ParseBlockMap(
                               "0,0 terrain1 a\n2,0 terrain1 b\n4,0 terrain1 c\n6,0 terrain1 d\n"
                               "0,3 terrain2 e\n3,3 terrain2 f\n6,3 roof g\n6,5 roof h\n")
                               .map;
  // 40 tiles in 3 terrain1 frames (384 x 320), the roof beside nothing: 384 x 448.
  const BlockMap frames = *ParseBlockMap("0,0 terrain1 a 3\n0,3 roof b\n").map;
  const FileType* png = FileTypeForExtension("png");
  const FileType* bmp = FileTypeForExtension("bmp");
  struct Case {
    const char* what;
    AtlasRequest request;
    std::int64_t atlasBytes;
    std::int64_t workBytes;  // 0: not checked
    std::string refusal;     // empty: it fits
  };
  const Case cases[] = {
      // 256 x 170 terrain1 blocks; their 43520 sheets of 128 x 320, 32 a row: 4096 x 435200.
      {"16384 x 16384",
       {{16384, 16384}, LayoutFormat::Terrain1, 1, png, kNoTilesets},
       std::int64_t{4096} * 435200 * 4,
       0,
       "the atlas would be too large: 6800 MiB of pixels, more than the 1024 MiB"},
      // Tile size 8, complete: 256 x 170 blocks of 16 x 24; sheets of 32 x 96 (47 tiles in
      // 4 columns), 128 a row: 4096 x 32640. PNG: 5 bytes a pixel beside it; the
      // description 43520 x (47 x 24 + 128) bytes.
      {"4096 x 4096 at 8, complete, Tiled",
       {{4096, 4096}, {LayoutFormat::Terrain1, 8, true}, 1, png, kTiledTileset},
       std::int64_t{4096} * 32640 * 4,
       64 * kMiB + std::int64_t{4096} * 32640 * 9 + std::int64_t{43520} * (47 * 24 + 128),
       ""},
      // Godot imports no picture over 16384 pixels a side: 32640 is too tall for it.
      {"4096 x 4096 at 8, complete, both tilesets",
       {{4096, 4096}, {LayoutFormat::Terrain1, 8, true}, 1, png, kAllTilesets},
       std::int64_t{4096} * 32640 * 4,
       0,
       "4096 x 32640 pixels, and Godot 4 imports no picture over 16384 pixels a side"},
      // 4096 x 2016 at 8: 256 x 84 blocks, 168 rows of 96: 4096 x 16128, within Godot's side.
      {"4096 x 2016 at 8, complete, Godot",
       {{4096, 2016}, {LayoutFormat::Terrain1, 8, true}, 1, png, kGodotTileset},
       std::int64_t{4096} * 16128 * 4,
       0,
       ""},
      // 64 x 70 blocks: 4480 sheets, 140 rows: 4096 x 44800, 700 MiB of pixels, 105 MiB of
      // picture and 875 MiB of PNG: 1680 MiB, past 1472 MiB though the pixels fit.
      {"4096 x 6720 as PNG",
       {{4096, 6720}, LayoutFormat::Terrain1, 1, png, kNoTilesets},
       700 * kMiB,
       1680 * kMiB,
       "making it would take 1680 MiB of memory, more than the 1472 MiB allowed"},
      // As BMP: 105 + 700 + 700 MiB.
      {"4096 x 6720 as BMP",
       {{4096, 6720}, LayoutFormat::Terrain1, 1, bmp, kNoTilesets},
       700 * kMiB,
       1505 * kMiB,
       "1505 MiB of memory"},
      // 4096 x 3360: half of it, 350 MiB of pixels: 52.5 + 350 + 437.5 MiB.
      {"4096 x 3360 as PNG",
       {{4096, 3360}, LayoutFormat::Terrain1, 1, png, kNoTilesets},
       350 * kMiB,
       840 * kMiB,
       ""},
      // Frames: 4 blocks a run; a row of 5 blocks makes one whole run, so 4 rows make 4 runs
      // of 512 x 320 side by side: 2048 x 320.
      {"frames",
       {{320, 384}, LayoutFormat::Terrain1, 4, png, kTiledTileset},
       std::int64_t{2048} * 320 * 4,
       0,
       ""},
      // A map: its own blocks; the description holds 4 x 40 + 2 x 48 + 2 x 12 tiles and 6
      // terrains, beside 5 bytes a pixel of PNG.
      {"the sample's map",
       {{256, 224}, LayoutFormat::Roof, 1, png, kTiledTileset, &sample},
       std::int64_t{512} * 832 * 4,
       256 * 224 * 4 + std::int64_t{512} * 832 * 9 + 280 * 24 + 6 * 128,
       ""},
      {"a map's frames",
       {{256, 224}, LayoutFormat::Terrain1, 1, png, kNoTilesets, &frames},
       std::int64_t{384} * 448 * 4,
       0,
       ""},
      // No whole block: nothing to hold but the picture.
      {"no block", {{63, 4096}, LayoutFormat::Terrain1, 1, png, kNoTilesets}, 0, 63 * 4096 * 4, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const AtlasNeeds needs = AtlasNeedsFor(c.request);
    EXPECT_EQ(needs.pictureBytes,
              std::int64_t{c.request.picture.width} * c.request.picture.height * 4);
    EXPECT_EQ(needs.atlasBytes, c.atlasBytes);
    if (c.workBytes != 0) {
      EXPECT_EQ(needs.workBytes, c.workBytes);
    }
    const Phrase phrase = AtlasSizeRefusal(c.request);
    const std::string& refusal = phrase.english;
    if (c.refusal.empty()) {
      EXPECT_TRUE(phrase.empty());
    } else {
      EXPECT_NE(refusal.find("too large"), std::string::npos) << refusal;
      EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
      EXPECT_EQ(phrase.japanese.rfind("アトラスが大きすぎます：", 0), 0u) << phrase.japanese;
    }
  }
}

}  // namespace
