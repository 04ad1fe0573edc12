// Every whole block of a picture, or every block a block map names, into one atlas and one
// tileset of each chosen kind: the blocks' sheets side by side in one picture
// (atlas_layout.h), one terrain per terrain block, or per run of blocks that are the frames
// of one animated terrain; roof blocks bring their tiles without a terrain. Blocks that
// show nothing are skipped. The atlas and its tilesets are written together or not at
// all; the files they replace stay until all are complete.
#pragma once

#include <string>
#include <vector>

#include "convert/animation_runs.h"
#include "convert/block_map.h"
#include "convert/layout_format.h"
#include "convert/picture_lock.h"
#include "convert/same_file.h"
#include "convert/sheet_conversion.h"
#include "convert/output_plan.h"
#include "imaging/handles.h"

namespace korvanth {

struct AtlasJob {
  ImageHandle* picture = nullptr;
  SheetLayout layout;
  std::string output;  // the atlas's UTF-8 name; its extension picks the file type
  TilesetKinds tilesets = kNoTilesets;
  std::string pictureFile;             // the picture's own file, never written over
  std::vector<ReadFile> otherInputs;   // further files the run reads, never written over
  PictureLock* pictureLock = nullptr;  // held while the picture's pixels are read
  std::vector<std::string> names;      // the terrain of each whole block, row-major
  int workers = 1;                     // threads placing the sheets and deflating the atlas
  // Runs of `frames` blocks along each row are animated terrains (animation_runs.h),
  // each frame shown for frameMs; 1: no animation.
  int frames = 1;
  int frameMs = kDefaultFrameMs;
  // With a block map: its blocks instead of every whole block, each at its own format
  // (layout gives the tile size and completeness), named and animated as the map says;
  // names and frames above are unused. Its sheets are grouped by format and frame count,
  // one grid under another in the order the map first names them. A map block that does
  // not fit the picture refuses the atlas, its problem's path being mapFile.
  const BlockMap* map = nullptr;
  std::string mapFile;
};

struct AtlasResult {
  int blocks = 0;      // whole blocks in the picture, or the map's blocks (every frame counts)
  int placed = 0;      // blocks whose sheets are in the atlas (every frame counts)
  int skipped = 0;     // blocks that show nothing
  int runs = 0;        // placed: one a block, or one an animation of its frames' blocks
  int animations = 0;  // the runs of more than one frame
  // Set when a block row makes no whole runs of frames: nothing was written.
  int unevenRow = -1;
  int unevenRowBlocks = 0;
  // Why nothing was written: the files that could not be, or one entry for the atlas.
  std::vector<FileProblem> problems;
  bool partlyWritten = false;  // a file could not be moved into place after others were
  bool ok() const { return problems.empty() && unevenRow < 0; }
};

// Runs `job`; the fallback warning reaches `warn` (may be empty) before anything is
// written.
AtlasResult RunAtlas(const AtlasJob& job, const WarningSink& warn);

}  // namespace korvanth
