// korvanth-convert --all --atlas within its bounds: the peak resident size of a run, held
// against 2.5 times the picture's and the atlas's 32-bit pixels plus 64 MiB (and never
// 1.5 GiB); the Godot tileset growing with its tiles by a small constant; and a picture
// whose atlas could never fit (or never be imported) refused from its header, before it is
// decoded.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/child_run.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;
constexpr std::int64_t kMaxRunBytes = 3 * (std::int64_t{1} << 29);  // 1.5 GiB

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Saved as PNG without compression: quick to write, and the picture the run decodes is the
// same 32-bit pixels whatever the file.
std::string SavedPattern(const ScratchDir& dir, int width, int height) {
  const std::string path = dir.file("tiles.png");
  EXPECT_TRUE(PatternImage(width, height).save(QString::fromStdString(path), "PNG", 100));
  return path;
}

TEST(AtlasBoundsTest, ARunPeaksWithinItsBound) {
  if (!kMemoryMeasurable) GTEST_SKIP() << "the sanitizer's shadow memory counts too";
  struct Case {
    const char* what;
    int width, height;
    std::vector<std::string> options;
    std::string atlas;
    std::int64_t atlasBytes;  // worked out by hand
    std::vector<std::string> files;
  };
  const Case cases[] = {
      // 256 x 170 blocks of 16 x 24; complete sheets of 32 x 96 (47 tiles, 4 a row), 128 of
      // them a row of the atlas: 4096 x 32640.
      {"4096 x 4096 at tile size 8, complete, Tiled",
       4096,
       4096,
       {"--tile-size", "8", "--complete", "--tileset", "tiled"},
       "atlas.png",
       std::int64_t{4096} * 32640 * 4,
       {"atlas.png", "atlas.tsx"}},
      // 16 x 10 blocks; their 160 sheets of 128 x 320 in 5 rows: 4096 x 1600. More than 256
      // colours: the GIF's palette is cut.
      {"1024 x 1024 as GIF",
       1024,
       1024,
       {},
       "atlas.gif",
       std::int64_t{4096} * 1600 * 4,
       {"atlas.gif"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    const std::string input = SavedPattern(dir, c.width, c.height);
    std::vector<std::string> arguments = {"--all", "--atlas"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.insert(arguments.end(), {input, dir.file(c.atlas)});
    const ChildRun run = RunChild(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::set<std::string> expected(c.files.begin(), c.files.end());
    expected.insert("tiles.png");
    EXPECT_EQ(FileNamesIn(dir.path()), expected);
    const std::int64_t pictureBytes = std::int64_t{c.width} * c.height * 4;
    const std::int64_t bound =
        std::min((pictureBytes + c.atlasBytes) / 2 * 5 + 64 * kMiB, kMaxRunBytes);
    EXPECT_LE(run.peakKiB * kKiB, bound) << run.peakKiB / 1024 << " MiB";
    std::printf("%s: peak %ld MiB (bound %lld MiB), %.2f s\n", c.what, run.peakKiB / 1024,
                static_cast<long long>(bound / kMiB), run.seconds);
  }
}

// Each tile of a complete terrain set costs the .tres a few lines: its own, its terrain set
// and terrain, and one for each matching neighbour (4 a tile on average over the 47
// shapes), each under 60 bytes at these sizes.
TEST(AtlasBoundsTest, TheGodotTilesetGrowsWithItsTilesByASmallConstant) {
  struct Case {
    int width, height;  // in blocks of 16 x 24
  };
  for (const Case& c : {Case{2, 1}, Case{8, 4}, Case{64, 32}}) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    ScratchDir dir;
    const std::string input = SavedPattern(dir, c.width * 16, c.height * 24);
    const ChildRun run = RunChild({"--all", "--atlas", "--tile-size", "8", "--complete",
                                   "--tileset", "godot", input, dir.file("atlas.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string tres = ReadBytes(dir.file("atlas.tres"));
    const std::size_t tiles = static_cast<std::size_t>(c.width) * c.height * 47;
    EXPECT_EQ(Count(tres, "/0 = 0\n"), tiles);
    EXPECT_EQ(Count(tres, " = -1\n"), 0u);  // the engine's default goes unsaid
    EXPECT_LE(tres.size(), 1024 + 300 * tiles) << tres.size() / tiles << " bytes a tile";
  }
}

// An 8-bit run-length encoded BMP (BITMAPINFOHEADER, BI_RLE8, 256 colours) that declares
// `width` x `height` but holds a run of 255 pixels on every third row and ends every row at
// once: a few tens of KiB for a picture of any size.
std::string SmallRle8Bmp(int width, int height) {
  std::string data;
  for (int y = 0; y < height; ++y) {
    if (y % 3 == 0) data += {'\xFF', static_cast<char>(y / 3 % 256)};
    data += {'\0', '\0'};  // end of the row
  }
  data += {'\0', '\1'};  // end of the picture
  std::string palette;
  for (int i = 0; i < 256; ++i)
    palette += {static_cast<char>(i), static_cast<char>(255 - i), static_cast<char>(i * 7), '\0'};
  const auto le = [](std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
    return out;
  };
  const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size());
  return "BM" + le(offset + static_cast<std::uint32_t>(data.size()), 4) + le(0, 4) + le(offset, 4) +
         le(40, 4) + le(static_cast<std::uint32_t>(width), 4) +
         le(static_cast<std::uint32_t>(height), 4) + le(1, 2) + le(8, 2) + le(1, 4) +
         le(static_cast<std::uint32_t>(data.size()), 4) + le(2835, 4) + le(2835, 4) + le(256, 4) +
         le(0, 4) + palette + data;
}

// Refused before the picture is decoded, so the run stays small: 16384 x 16384 makes 256 x
// 170 blocks, an atlas of 4096 x 435200 pixels (6800 MiB); 4096 x 4096 at tile size 8,
// complete, an atlas of 4096 x 32640, taller than Godot imports.
TEST(AtlasBoundsTest, AnAtlasPastItsBoundsIsRefusedFromThePicturesHeader) {
  struct Case {
    int side;
    std::vector<std::string> options;
    std::string said;
  };
  const Case cases[] = {
      {16384, {}, "atlas.png: the atlas would be too large: 6800 MiB of pixels"},
      {4096,
       {"--tile-size", "8", "--complete"},
       "atlas.png: the atlas would be too large: 4096 x 32640 pixels, and Godot 4 imports no "
       "picture over 16384 pixels a side"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string input = dir.file("declares.bmp");
    WriteBytes(input, SmallRle8Bmp(c.side, c.side));
    ASSERT_LT(fs::file_size(input), 48 * kKiB);
    std::vector<std::string> arguments = {"--all", "--atlas", "--tileset", "both"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.insert(arguments.end(), {input, dir.file("atlas.png")});
    const ChildRun run = RunChild(arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Count(run.err, "\n"), 1u) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_EQ(FileNamesIn(dir.path()), std::set<std::string>{"declares.bmp"});
    if (kMemoryMeasurable) {
      EXPECT_LT(run.peakKiB * kKiB, 64 * kMiB);
    }
    std::printf("refused after %.3f s, peak %ld KiB\n", run.seconds, run.peakKiB);
  }
}

}  // namespace
