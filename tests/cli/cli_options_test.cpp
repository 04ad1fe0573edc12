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

// Each option's values: corners at the edge of 32-bit positions are accepted exactly when
// the block's last pixel still has one (x + width - 1 <= 2147483647), for whichever format
// comes last. A value that cannot be meant is refused in words that name what it takes.
TEST(ConvertOptionsTest, ValuesThatCannotBeMeantAreUsageErrors) {
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
      {{"--cell", "99999999999,0"}, false, cell},
      {{"--cell", "3"}, false, cell},
      {{"--origin", "1,2,3"}, false, origin},
      {{"--format", "hex"}, false, "unknown format 'hex' (terrain1, terrain2, roof)"},
      {{"--format="}, false, "unknown format '' (terrain1, terrain2, roof)"},
      // An option without a value takes no "="; one with a value takes it either way.
      {{"--all=1"}, false, "unknown option --all=1"},
      {{"--help=1"}, false, "unknown option --help=1"},
      {{"--jobs=2", "--all"}, true},
      {{"--jobs", "2"}, false, "--jobs goes with --all"},
      {{"--tile-size=16", "--tile-size", "16"}, false, "--tile-size is given more than once"},
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

// The whole --help, as it was written by hand before the option table made it.
TEST(ConvertOptionsTest, HelpIsTheOneWrittenByHand) {
  EXPECT_EQ(UsageText(), R"(Usage:
  korvanth-convert [--format terrain1|terrain2|roof] [--origin X,Y | --cell COL,ROW]
                   [--tile-size N] [--complete] [--tileset tiled|godot|both] [--name NAME]
                   [--watch] INPUT OUTPUT
  korvanth-convert [--format terrain1|terrain2|roof] --all [--type png|bmp|gif|jpg|tif]
                   [--tile-size N] [--complete] [--tileset tiled|godot|both] [--name NAME]
                   [--jobs N] [--watch] INPUT OUTDIR
  korvanth-convert [--format terrain1|terrain2|roof] --all --atlas [--names FILE]
                   [--frames N [--frame-ms MS]] [--tile-size N] [--complete]
                   [--tileset tiled|godot|both] [--jobs N] [--watch] INPUT OUTPUT
  korvanth-convert -h | --help | --version

Cuts one block of a tile picture into 16 x 16 quarters and re-assembles them into a
sheet of 32 x 32 tiles of the chosen layout format (other sizes: --tile-size).

  --format NAME    layout format (default terrain1):
                     terrain1  64 x 96 block   -> 128 x 320 sheet, 40 tiles
                     terrain2  96 x 128 block  -> 128 x 384 sheet, 48 tiles
                     roof      64 x 64 block   -> 96 x 128 sheet, 12 tiles
  --origin X,Y     the block's top-left corner in picture pixels (default 0,0)
  --cell COL,ROW   the block on a cell of the tile size, pulled back inside the picture
  --tile-size N    tiles of N x N pixels, quarters of N/2: any even N from 8 to 128
                   (default 32); the block and the sheet scale by N/32
  --complete       for terrain1 and terrain2, append the tiles of every terrain shape
                   the layout lacks (47 shapes in all), built from the block's own
                   quarters, after the layout's tiles
  --all            one sheet for every whole block, named STEM_COLUMN_ROW.TYPE
  --type TYPE      file type of the sheets of --all (default png)
  --jobs N         sheets of --all written at once (default: the number of cores)
  --atlas          with --all: every block's sheet into the one picture OUTPUT, its
                   tilesets beside it with one terrain a block; blocks that show
                   nothing are skipped. Sheets go left to right, as many to a row as
                   fit in 4096 pixels, rows top to bottom, in row-major block order
  --names FILE     with --atlas: the terrains' names, one a line in row-major block
                   order (every block counts, skipped ones too); an empty line keeps
                   STEM_COLUMN_ROW. A name given twice is an error
  --frames N       with --atlas: each N blocks along a row, from its left, are the
                   frames of one animated terrain, named by its first block; a
                   row's blocks up to its last one that is not empty make whole runs
  --frame-ms MS    how long each frame shows, 1 to 60000 milliseconds (default 250)
  --watch          after converting, keep running and convert again whenever INPUT
                   is saved, with one line for each; Ctrl+C ends
  --tileset KIND   also write a map editor's tileset beside every sheet, named after
                   the sheet: tiled (NAME.tsx), godot (NAME.tres) or both; for
                   terrain1 and terrain2 every tile carries its terrain neighbours
  --name NAME      the tilesets' terrain name (default: the sheet's name); its colour
                   is the mean colour of the full terrain tile

OUTPUT's extension selects the file type: bmp, gif, jpg/jpeg, png, tif/tiff; any other
extension writes BMP content under the given name, with a warning.
Names must be valid UTF-8. A write failure names its cause.
Exit status: 0 all written, 1 an input unreadable or an output not written, 2 usage.

Tilesets (keep each beside its sheet):
  Tiled: add NAME.tsx to the map (Map > Add External Tileset). The terrain formats
    come with a terrain set named NAME: pick it in the Terrain Sets view and paint
    with the terrain brush; the neighbouring tiles follow.
  Godot 4: put NAME.png and NAME.tres in the project and use NAME.tres as the
    TileSet of a TileMapLayer. In the TileMap panel's Terrains tab pick terrain set 0,
    terrain NAME, and paint. Godot imports png, jpg and bmp sheets, not gif or tif.
)");
}

}  // namespace
