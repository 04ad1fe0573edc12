// Command-line arguments of korvanth-convert.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "convert/picture_file.h"
#include "convert/layout_format.h"
#include "convert/sheet_tilesets.h"
#include "imaging/file_types.h"

namespace korvanth {

struct CellPosition {
  int column = 0;
  int row = 0;
};

struct ConvertOptions {
  enum class Mode { Single, Batch, Help, Version } mode = Mode::Single;
  LayoutFormat format = LayoutFormat::Terrain1;
  int tileSize = kTileSize;                                  // --tile-size
  bool tileSizeGiven = false;                                // --tile-size was given
  bool complete = false;                                     // --complete
  std::string terrainName;                                   // --name; empty: the sheet's stem
  std::optional<SelectionPoint> origin;                      // --origin X,Y
  std::optional<CellPosition> cell;                          // --cell COL,ROW
  std::string batchType{FileTypes().front().extensions[0]};  // --type, batch only
  TilesetKinds tilesets = kNoTilesets;                       // --tileset
  std::optional<int> jobs;  // --jobs, batch only; the number of cores when empty
  bool atlas = false;       // --atlas: the batch into one atlas file (OUTPUT) and its tilesets
  std::string namesFile;    // --names, with --atlas: the blocks' terrain names; empty: none
  std::string blocksFile;   // --blocks, with --all: the block map; empty: INPUT.blocks if any
  bool watch = false;       // --watch: convert again whenever INPUT changes
  std::string input;
  std::string output;  // OUTPUT file, or OUTDIR in batch mode

  // --frames, with --atlas: the blocks of a run that is one animated terrain; 1: none.
  int frames = 1;
  std::optional<int> frameMs;  // --frame-ms, with --frames: each frame's milliseconds

  SheetLayout layout() const { return {format, tileSize, complete}; }
};

struct ParseResult {
  std::optional<ConvertOptions> options;
  std::string error;  // set when options is empty
};

ParseResult ParseArguments(const std::vector<std::string>& arguments);

// The --help text: the usage lines, then every option of the option table.
std::string UsageText();

}  // namespace korvanth
