// Sheets built from a picture whose every pixel names its quarter and its place in it,
// compared pixel for pixel with golden sheets kept under tests/golden/ (converted once
// and checked by decoding every quarter against the tables as written by hand). A wrong
// table entry fails here even though the expected sheets of other tests follow the table.
#include <gtest/gtest.h>

#include <string>

#include "convert/format_registry.h"
#include "convert/conversion_job.h"
#include "support/expected_sheet.h"
#include "support/test_files.h"

using namespace korvanth;

namespace {

std::string Golden(const std::string& name) {
  return std::string(KORVANTH_SOURCE_DIR) + "/tests/golden/" + name;
}

TEST(GoldenSheetsTest, EveryFormatMatchesItsGoldenSheet) {
  ImageHandle block = ImageHandle::FromFile(
      reinterpret_cast<const WCHAR*>(Wide(Golden("quarter_block.png")).c_str()));
  ASSERT_EQ(block.lastStatus(), Ok);
  ASSERT_EQ(block.Width(), 96u);
  ScratchDir dir;
  for (const korvanth::FormatEntry& entry : korvanth::FormatRegistry()) {
    const std::string name = std::string(entry.cliName) + ".png";
    const std::string out = dir.file(name);
    const korvanth::ConversionJob job{&block, entry.format, {0, 0}, out, korvanth::kNoTilesets, {}};
    ASSERT_TRUE(korvanth::RunConversion(job, {}).ok()) << name;
    const QImage golden = ReadBack(Golden(name));
    ASSERT_FALSE(golden.isNull()) << name;
    const QImage got = ReadBack(out);
    EXPECT_EQ(FirstDifference(golden, got), "") << name;
    // Every byte of the pixel data, alpha included.
    ASSERT_EQ(got.sizeInBytes(), golden.sizeInBytes()) << name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(got.constBits()), got.sizeInBytes()),
              std::string(reinterpret_cast<const char*>(golden.constBits()), golden.sizeInBytes()))
        << name;
  }
}

// The golden picture decodes as described: quarter (c, r), pixel (u, v) holds red
// 20 + 40c, green 15 + 30r, blue 16v + u. Spot checks of single tiles, worked out by hand
// from the tables, read back from the golden sheets.
TEST(GoldenSheetsTest, HandCheckedTilesOfTheGoldenSheets) {
  struct Spot {
    const char* sheet;
    int tile, columns;
    int quarters[4][2];  // TL, TR, BL, BR source quarters
  };
  const Spot spots[] = {
      {"terrain1.png", 14, 4, {{2, 4}, {1, 4}, {2, 3}, {1, 3}}},
      {"terrain1.png", 2, 4, {{2, 2}, {1, 2}, {2, 3}, {1, 3}}},
      {"terrain1.png", 39, 4, {{1, 2}, {2, 2}, {2, 1}, {1, 3}}},
      {"terrain2.png", 11, 4, {{2, 0}, {3, 0}, {2, 1}, {3, 1}}},
      {"terrain2.png", 47, 4, {{2, 4}, {5, 0}, {4, 1}, {5, 1}}},
      {"roof.png", 4, 3, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
      {"roof.png", 10, 3, {{1, 0}, {2, 0}, {1, 3}, {2, 3}}},
  };
  for (const Spot& s : spots) {
    const QImage sheet = ReadBack(Golden(s.sheet));
    const int x0 = 32 * (s.tile % s.columns), y0 = 32 * (s.tile / s.columns);
    for (int q = 0; q < 4; ++q)
      for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 16; ++u) {
          const QRgb p = sheet.pixel(x0 + 16 * (q % 2) + u, y0 + 16 * (q / 2) + v);
          ASSERT_EQ(p,
                    qRgba(20 + 40 * s.quarters[q][0], 15 + 30 * s.quarters[q][1], 16 * v + u, 255))
              << s.sheet << " tile " << s.tile << " quarter " << q;
        }
  }
}

}  // namespace
