// Argument parsing of korvanth-convert, and its --help.
#include <gtest/gtest.h>

#include "cli/options.h"

using namespace korvanth;

namespace {

// Every option's values and what it goes with: corners at the edge of 32-bit positions are
// accepted exactly when the block's last pixel still has one (x + width - 1 <= 2147483647),
// for whichever format comes last. What cannot be meant is refused in words that name what
// the option takes.
TEST(ConvertOptionsTest, ArgumentsAreTakenOrRefusedInWords) {
  const std::string origin =
      "--origin takes X,Y, two whole numbers from -2147483648 to 2147483647, e.g. --origin 64,32";
  const std::string cell = "--cell takes COL,ROW, two whole numbers from 0 to 2147483647";
  const std::string size = "--tile-size takes an even number from 8 to 128, e.g. --tile-size 16";
  const std::string name = "--name takes a terrain name of UTF-8 text without control characters";
  const std::string jobs = "--jobs takes a whole number from 1 to 2147483647, e.g. --jobs 2";
  const std::string beyond = "--origin puts the block beyond the largest pixel position";
  using O = ConvertOptions;
  struct Case {
    std::vector<std::string> arguments;
    std::string error = "";                                  // words of the refusal; "": taken
    bool (*holds)(const O&) = nullptr;                       // what a taken row gives
    std::vector<std::string> files = {"in.png", "out.png"};  // after the arguments
  };
  const Case cases[] = {
      {{},
       "",
       [](const O& o) {
         return o.mode == O::Mode::Single && o.format == LayoutFormat::Terrain1 && !o.origin &&
                !o.cell && o.tilesets == kNoTilesets;
       }},
      {{"--format", "roof", "--origin=-16,32"},
       "",
       [](const O& o) {
         return o.format == LayoutFormat::Roof && o.origin->x == -16 && o.origin->y == 32;
       }},
      {{"--all", "--type", "tif", "--format=terrain2"},
       "",
       [](const O& o) { return o.mode == O::Mode::Batch && o.batchType == "tif"; }},
      {{"--", "-odd.png"}, "", [](const O& o) { return o.input == "-odd.png"; }, {"o.png"}},
      {{"--origin", "2147483647,0"}, beyond},
      {{"--origin", "0,2147483647"}, beyond},
      {{"--origin", "2147483584,0"}},  // terrain1: 64 wide
      {{"--origin", "2147483585,0"}, beyond},
      {{"--origin", "0,2147483552"}},  // terrain1: 96 high
      {{"--origin", "0,2147483553"}, beyond},
      {{"--origin", "2147483584,0", "--format", "terrain2"}, beyond},  // 96 wide
      {{"--format", "terrain2", "--origin", "2147483552,2147483520"}},
      {{"--format", "roof", "--origin", "2147483584,2147483584"}},
      {{"--format", "roof", "--origin", "2147483584,2147483585"}, beyond},
      {{"--origin", "-2147483648,-2147483648"}},
      {{"--origin", "-2147483649,0"}, origin},
      {{"--origin", "2147483648,0"}, origin},
      {{"--origin", "0,-2147483649"}, origin},
      {{"--origin", "1.5,0"}, origin},
      {{"--cell", "67108863,0"}},
      {{"--cell", "2147483647,2147483647"}},
      {{"--cell", "2147483648,0"}, cell},
      {{"--cell", "0,-1"}, cell},
      {{"--cell", "9223372036854775807,0"}, cell},
      {{"--cell", "3"}, cell},
      {{"--origin", "1,2,3"}, origin},
      {{"--format", "hex"}, "unknown format 'hex' (terrain1, terrain2, roof)"},
      {{"--format="}, "unknown format '' (terrain1, terrain2, roof)"},
      // An option without a value takes no "="; one with a value takes it either way.
      {{"--all=1"}, "unknown option --all=1"},
      {{"--help=1"}, "unknown option --help=1"},
      {{"--jobs=2", "--all"}},
      {{"--jobs", "2"}, "--jobs goes with --all"},
      {{"--all", "--jobs", "0"}, jobs},
      {{"--all", "--jobs", "two"}, jobs},
      {{"--all", "--jobs", "2147483648"}, jobs},
      // Each option once, however it is written: a second value would silently win.
      {{"--format", "roof", "--format", "terrain2"}, "--format is given more than once"},
      {{"--origin", "0,0", "--origin=1,1"}, "--origin is given more than once"},
      {{}, "INPUT and OUTPUT are needed", nullptr, {"in.png"}},
      {{}, "too many arguments", nullptr, {"a", "b", "c"}},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--origin", "0,0", "--cell", "0,0"}, "--origin and --cell exclude each other"},
      {{"--all", "--origin", "0,0"}, "--all converts every block; it takes no --origin or --cell"},
      {{"--type", "png"}, "--type goes with --all"},
      {{"--all", "--type", "webp"}, "unknown type 'webp' (png, bmp, gif, jpg, tif)"},
      // Tile sizes: even, 8 to 128; the block scales with them (terrain1 at 128: 256 wide).
      {{"--tile-size", "8"}},
      {{"--tile-size", "128", "--complete"}},
      {{"--tile-size", "7"}, size},
      {{"--tile-size", "130"}, size},
      {{"--tile-size", "6"}, size},
      {{"--tile-size", "33"}, size},
      {{"--tile-size", "x"}, size},
      {{"--tile-size", "128", "--origin", "2147483392,0"}},
      {{"--tile-size", "128", "--origin", "2147483393,0"}, beyond},
      {{"--complete", "--complete"}, "--complete is given more than once"},
      // A terrain name goes into the tilesets, so it needs one and must be text they carry.
      {{"--name", "草原", "--tileset", "tiled"}},
      {{"--name", "草原"}, "--name names the tilesets' terrain; it goes with --tileset"},
      {{"--name", "a\nb", "--tileset", "tiled"}, name},
      {{"--name", "", "--tileset", "tiled"}, name},
      // --watch goes with a conversion of either mode, once, and never with what only prints.
      {{"--watch"}},
      {{"--all", "--watch"}},
      {{"--watch", "--watch"}, "--watch is given more than once"},
      {{"--watch", "--help"}, "--watch converts again and again; it takes no --help"},
      {{"--version", "--watch"}, "--watch converts again and again; it takes no --version"},
      {{"-h", "--", "--watch"}},
      // --tileset: each target, or both; with a value of any other spelling refused.
      {{"--tileset", "tiled"}, "", [](const O& o) { return o.tilesets == kTiledTileset; }},
      {{"--tileset", "godot"}, "", [](const O& o) { return o.tilesets == kGodotTileset; }},
      {{"--all", "--tileset=both"}, "", [](const O& o) { return o.tilesets == kAllTilesets; }},
      {{"--tileset", "Tiled"}, "unknown tileset 'Tiled' (tiled, godot, both)"},
      {{"in.png", "out.png", "--tileset"}, "--tileset needs a value", nullptr, {}},
      // --atlas and what goes with it.
      {{"--all", "--atlas", "--names", "n.txt"},
       "",
       [](const O& o) { return o.atlas && o.namesFile == "n.txt"; }},
      {{"--atlas"}, "--atlas goes with --all"},
      {{"--all", "--atlas", "--type", "gif"}, "not --type"},
      {{"--all", "--atlas", "--tileset", "tiled", "--name", "x"}, "--names"},
      {{"--all", "--names", "n.txt"}, "--names goes with --atlas"},
      {{"--all", "--atlas", "--atlas"}, "given more than once"},
      {{"--all", "--atlas", "--tileset", "godot"},
       "Godot 4 cannot import gif",
       nullptr,
       {"in.png", "a.gif"}},
      {{"--all", "--atlas", "--frames", "4", "--frame-ms", "60000"}},
      {{"--all", "--frames", "4"}, "--frames goes with --atlas"},
      // An atlas's block map may animate its blocks: that is known once it is read.
      {{"--all", "--atlas", "--frame-ms", "100"}},
      {{"--all", "--frame-ms", "100"}, "--frame-ms goes with --frames"},
      {{"--all", "--atlas", "--frames", "2", "--frame-ms", "60001"}, "60000"},
      // 32 terrain1 sheets of 128 pixels fill 4096 pixels; 33 pass them.
      {{"--all", "--atlas", "--frames", "33"}, "at most 32 frames"},
      // --blocks: a map for --all; what names or animates the blocks without one is refused.
      {{"--all", "--blocks", "m.txt"}, "", [](const O& o) { return o.blocksFile == "m.txt"; }},
      {{"--blocks", "m.txt"}, "--blocks goes with --all"},
      {{"--all", "--blocks", ""}, "--blocks takes a block map file"},
      {{"--all", "--atlas", "--blocks", "m", "--names", "n"},
       "--names names the blocks of a picture without a block map; the map names its own (m)"},
      {{"--all", "--atlas", "--blocks", "m", "--frames", "2"},
       "--frames animates a picture without a block map"},
      {{"--all", "--blocks", "m", "--tileset", "tiled", "--name", "x"},
       "--name names one terrain; the block map names each block (m)"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), c.files.begin(), c.files.end());
    std::string row;
    for (const std::string& argument : arguments) row += argument + " ";
    const ParseResult r = ParseArguments(arguments);
    EXPECT_EQ(r.options.has_value(), c.error.empty()) << row << ": " << r.error;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << row << ": " << r.error;
    EXPECT_TRUE(c.holds == nullptr || !r.options || c.holds(*r.options)) << row;
  }
}

// The whole --help, as it was written by hand before the option table made it.
TEST(ConvertOptionsTest, HelpIsTheOneWrittenByHand) {
  EXPECT_EQ(UsageText(), R"(Usage:
  korvanth-convert [--format terrain1|terrain2|roof] [--origin X,Y | --cell COL,ROW]
                   [--tile-size N] [--complete] [--tileset tiled|godot|both] [--name NAME]
                   [--watch] INPUT OUTPUT
  korvanth-convert [--format terrain1|terrain2|roof] --all [--type png|bmp|gif|jpg|tif]
                   [--blocks FILE] [--tile-size N] [--complete] [--name NAME]
                   [--tileset tiled|godot|both] [--jobs N] [--watch] INPUT OUTDIR
  korvanth-convert [--format terrain1|terrain2|roof] --all --atlas [--blocks FILE]
                   [--names FILE] [--frames N [--frame-ms MS]] [--tile-size N]
                   [--complete] [--tileset tiled|godot|both] [--jobs N] [--watch]
                   INPUT OUTPUT
  korvanth-convert -h | --help | --version

Cuts one block of a tile picture into 16 x 16 quarters and re-assembles them into a
sheet of 32 x 32 tiles of the chosen layout format (other sizes: --tile-size).

  --format NAME    layout format (default terrain1; with a block map, each block's
                   own):
                     terrain1  64 x 96 block   -> 128 x 320 sheet, 40 tiles
                     terrain2  96 x 128 block  -> 128 x 384 sheet, 48 tiles
                     roof      64 x 64 block   -> 96 x 128 sheet, 12 tiles
  --origin X,Y     the block's top-left corner in picture pixels (default 0,0)
  --cell COL,ROW   the block on a cell of the tile size, pulled back inside the picture
  --tile-size N    tiles of N x N pixels, quarters of N/2: any even N from 8 to 128
                   (default 32, or a block map's tile-size); the block and the sheet
                   scale by N/32
  --complete       for terrain1 and terrain2, append the tiles of every terrain shape
                   the layout lacks (47 shapes in all), built from the block's own
                   quarters, after the layout's tiles
  --all            one sheet for every whole block, named STEM_COLUMN_ROW.TYPE; with a
                   block map, one for every block of the map, named NAME.TYPE (an
                   animation's frames NAME_0.TYPE, NAME_1.TYPE, ...)
  --blocks FILE    with --all: the block map, INPUT.blocks when not given (used when it
                   is there); a line a block: COL,ROW FORMAT NAME [FRAMES], its top-left
                   cell, its format, its name and, for an animation, its frames
  --type TYPE      file type of the sheets of --all (default png)
  --jobs N         sheets of --all written at once (default: the number of cores)
  --atlas          with --all: every block's sheet into the one picture OUTPUT, its
                   tilesets beside it with one terrain a block; blocks that show
                   nothing are skipped. Sheets go left to right, as many to a row as
                   fit in 4096 pixels, rows top to bottom, in row-major block order;
                   with a block map, in map order, each format and frame count in rows
                   of its own, under those of the formats the map names before it
  --names FILE     with --atlas, without a block map: the terrains' names, one a line
                   in row-major block order (every block counts, skipped ones too); an
                   empty line keeps STEM_COLUMN_ROW. A name given twice is an error
  --frames N       with --atlas, without a block map: each N blocks along a row, from
                   its left, are the frames of one animated terrain, named by its
                   first block; a row's blocks up to its last one that is not empty
                   make whole runs
  --frame-ms MS    how long each frame of --frames or a block map shows, 1 to
                   60000 milliseconds (default 250)
  --watch          after converting, keep running and convert again whenever INPUT
                   (or a file it reads: names, block map) is saved, with one line
                   for each; Ctrl+C ends
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
